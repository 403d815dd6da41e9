#include "meter/Form8.h"
#include "meter/Meter_Sound.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "platform/Dialogs.h"

#include <cmath>

namespace meter {

namespace {

// Segment colours from the top of a column (0) to its bottom (9).
const QColor SegmentColours[10] = {
    {255, 0, 0},   {253, 139, 85},  {255, 164, 255}, {255, 183, 255}, {255, 217, 255},
    {249, 249, 0}, {255, 255, 242}, {53, 210, 100},  {0, 234, 0},     {217, 253, 236},
};

constexpr double TwipsPerPixel = 15.0;

QLabel* label(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(left, top, width, height);
    return l;
}

int px(double twips) { return int(std::lround(twips / TwipsPerPixel)); }

}  // namespace

Form8::Form8(QWidget& mainWindow)
    : QWidget(&mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), main_(mainWindow)
{
    setObjectName(QStringLiteral("Form8"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(px(705), px(2940));
    setStyleSheet(QStringLiteral("#Form8 { background: rgb(64,0,0); }"));
    setAttribute(Qt::WA_StyledBackground);
    const QString legend = QStringLiteral("background: rgb(255,224,192); color: black; font-size: 8pt;");
    Label4 = label(this, QStringLiteral("Label4"), 0, 0, px(700), px(255));
    Label4->setText(QStringLiteral("Mixer"));
    Label4->setStyleSheet(legend);
    Label1 = label(this, QStringLiteral("Label1"), 0, px(2680), px(700), px(255));
    Label1->setText(QStringLiteral(" L      R"));
    Label1->setStyleSheet(legend);
    for (int i = 0; i < 10; ++i) {
        const QString colour = QStringLiteral("background: %1;").arg(SegmentColours[i].name());
        Label2[i] = label(this, QStringLiteral("Label2_%1").arg(i), px(75), px(540 + 180 * i), px(225), px(195) - 1);
        Label3[i] = label(this, QStringLiteral("Label3_%1").arg(i), px(405), px(540 + 180 * i), px(225), px(195) - 1);
        Label2[i]->setStyleSheet(colour);
        Label3[i]->setStyleSheet(colour);
        Label2[i]->hide();
        Label3[i]->hide();
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &Form8::Timer1_Timer);
    slideTimer_.setInterval(SlideStepMs);
    connect(&slideTimer_, &QTimer::timeout, this, [this] {
        ++slideStep_;
        move(slideStartX_ + slideDirection_ * int(std::lround(slideStep_ * 40 / TwipsPerPixel)), y());
        if (slideStep_ < SlideSteps) return;
        slideTimer_.stop();
        common::globals().MeterSliding = false;
        if (slideDone_) slideDone_();
    });
}

// Left of the main window with its right edge against the main window's left edge.
void Form8::DockMeter() { move(main_.x() - int(std::lround(width() / 1.5)) - px(240), main_.y() + px(260)); }

bool Form8::sliding() const { return slideTimer_.isActive(); }

void Form8::slide(int direction, std::function<void()> done)
{
    common::globals().MeterSliding = true;
    slideStep_ = 0;
    slideStartX_ = x();
    slideDirection_ = direction;
    slideDone_ = std::move(done);
    slideTimer_.start();
}

bool Form8::Form_Load()
{
    // Slides out from behind the main window, on a timer: the program stays responsive meanwhile.
    DockMeter();
    move(main_.x(), y());
    show();
    main_.raise();
    slide(-1, [this] {
        DockMeter();
        emit slidOut();
    });
    if (!Meter_Sound::StartInput()) {
        slideTimer_.stop();
        common::globals().MeterSliding = false;
        platform::ShowMessage({common::Lang("Δεν είναι δυνατό το άνοιγμα του Mixer.", "Can't open Mixer."),
                               {},
                               platform::DialogIcon::None,
                               platform::DialogButtons::Ok},
                              this);
        CloseMeter();
        return false;
    }
    Timer1->start();
    return true;
}

void Form8::showLevel(std::array<QLabel*, 10>& column, int32_t value)
{
    const int lit = Meter_Sound::LitSegments(value);
    for (int i = 0; i < 10; ++i) column[i]->setVisible(i >= 10 - lit);
}

void Form8::Timer1_Timer()
{
    showLevel(Label2, Meter_Sound::ControlValue(0));
    showLevel(Label3, Meter_Sound::ControlValue(1));
}

void Form8::CloseAtOnce()
{
    Timer1->stop();
    slideTimer_.stop();
    common::globals().MeterSliding = false;
    Meter_Sound::StopInput();
    close();
}

void Form8::CloseMeter()
{
    closing_ = true;
    Timer1->stop();
    Meter_Sound::StopInput();
    main_.activateWindow();
    slideTimer_.stop();
    slide(+1, [this] {
        emit closed();
        close();
    });
}

}  // namespace meter
