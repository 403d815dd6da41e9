#pragma once
// The tracks preview: every track of the disc for a chosen number of seconds, one after another.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>

namespace player {
class Form1;
}  // namespace player

namespace shell {

class Form7 : public QWidget {
    Q_OBJECT
public:
    explicit Form7(player::Form1& mainWindow);

    void Option1_Click(int index);
    void Command2_Click();  // start
    void Command1_Click();  // cancel and close
    void Timer1_Timer();

    std::array<QRadioButton*, 5> Option1{};
    QLineEdit* Text1;
    QPushButton* Command2;
    QPushButton* Command1;
    QLabel* Label1;
    QLabel* Label2;
    QWidget* picStatusBar;
    QLabel* Label3;
    QTimer* Timer1;

    int16_t CurrentTrack = 0;
    int16_t PreviewSeconds = 0;
    int16_t PreviewTicks = 0;

    // The custom box's text as a 16-bit whole number (fractions rounded), or nothing.
    static std::optional<int16_t> CustomSeconds(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MAKE_english();
    void tick(bool mayRunAgain);
    void complete();
    void setControlsEnabled(bool enabled);
    void paintStatusBar();

    player::Form1& main_;
};

}  // namespace shell
