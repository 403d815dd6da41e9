#pragma once
// The level meter: a narrow window that slides out from behind the main window's left edge and
// shows the input level in two columns of ten segments.

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

namespace meter {

class Form8 : public QWidget {
    Q_OBJECT
public:
    // mainWindow: the window the meter docks to.
    explicit Form8(QWidget& mainWindow);

    // False (with the message shown and the window closing) when no capture source starts.
    bool Form_Load();
    void Timer1_Timer();
    void DockMeter();
    // Closes by sliding back behind the main window; capture stops first.
    void CloseMeter();
    // Sliding back to close.
    bool Closing() const { return closing_; }
    // Capture stopped and the window gone without the slide: the program is ending.
    void CloseAtOnce();
    bool sliding() const;

    QLabel* Label4;
    QLabel* Label1;
    std::array<QLabel*, 10> Label2{};
    std::array<QLabel*, 10> Label3{};
    QTimer* Timer1;

    static constexpr int SlideSteps = 18;
    static constexpr int SlideStepMs = 50;

signals:
    void slidOut();
    void closed();

private:
    bool closing_ = false;
    void showLevel(std::array<QLabel*, 10>& column, int32_t value);
    void slide(int direction, std::function<void()> done);

    QWidget& main_;
    QTimer slideTimer_;
    int slideStep_ = 0;
    int slideStartX_ = 0;
    int slideDirection_ = 0;
    std::function<void()> slideDone_;
};

}  // namespace meter
