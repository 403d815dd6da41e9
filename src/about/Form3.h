#pragma once
// The About window: title, version, credit and a mail link; the main window waits while it is open.

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace about {

constexpr int VersionMajor = 1;
constexpr int VersionMinor = 0;
inline const QString MailAddress = QStringLiteral("sonorell@dravenholt.net");

class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* mainWindow);

    void cmdOK_Click() { close(); }
    void Label3_Click();

    QFrame* Shape1;
    QFrame* Frame2;
    QLabel* lblTitle;
    QFrame* Frame1;
    QLabel* Label1;
    QLabel* lblComments;
    QLabel* Label3;
    QPushButton* cmdOK;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* main_;
};

}  // namespace about
