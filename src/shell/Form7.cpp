#include "shell/Form7.h"
#include "common/Controls.h"
#include "player/Form1.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "media/CDAudio.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>

#include <cmath>

namespace shell {

using common::control;

namespace {

void background(QWidget* w, const char* colour)
{
    w->setStyleSheet(QStringLiteral("background: %1;").arg(QLatin1String(colour)));
}

int field(const std::string& reply, std::size_t start)
{
    return reply.size() >= start + 2 ? std::atoi(reply.substr(start, 2).c_str()) : 0;
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

Form7::Form7(player::Form1& mainWindow) : QWidget(&mainWindow, Qt::Window | Qt::WindowCloseButtonHint), main_(mainWindow)
{
    setObjectName(QStringLiteral("Form7"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("Δοκιμή Τραγουδιών"));
    setFixedSize(326, 167);
    background(this, "#808080");
    const char* captions[] = {" 15 δευτ/πτα", " 30 δευτ/πτα", " 45 δευτ/πτα", " 60 δευτ/πτα", " Άλλος χρόνος"};
    for (int i = 0; i < 5; ++i) {
        Option1[i] = control<QRadioButton>(this, QStringLiteral("Option1_%1").arg(i).toLatin1().constData(), 8, 8 + 21 * i,
                                           i == 4 ? 103 : 97, 17);
        Option1[i]->setText(QString::fromUtf8(captions[i]));
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    Option1[1]->setChecked(true);
    Text1 = control<QLineEdit>(this, "Text1", 8, 112, 87, 20);
    background(Text1, "#c0c0c0");
    Command2 = control<QPushButton>(this, "Command2", 248, 112, 65, 22);
    Command2->setText(QStringLiteral("OK"));
    Command1 = control<QPushButton>(this, "Command1", 168, 112, 65, 22);
    Command1->setText(QString::fromUtf8("Ακύρωση"));
    for (QPushButton* b : {Command1, Command2}) b->setStyleSheet(QStringLiteral("background: #e0e0e0;"));
    Label1 = control<QLabel>(this, "Label1", 120, 8, 201, 36);
    Label1->setText(QString::fromUtf8("Επιλέξτε τα δευτερόλεπτα της δοκιμής και πατήστε το πλήκτρο  'Έναρξη'."));
    Label1->setWordWrap(true);
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Label2 = control<QLabel>(this, "Label2", 168, 56, 105, 33);
    Label2->setStyleSheet(QStringLiteral("color: #00ffff; background: transparent;"));
    QFont big(QStringLiteral("MS Sans Serif"));
    big.setPointSizeF(13.5);
    big.setBold(true);
    Label2->setFont(big);
    picStatusBar = control<QWidget>(this, "picStatusBar", 1, 144, 324, 25);
    background(picStatusBar, "#c0c0c0");
    picStatusBar->installEventFilter(this);
    Label3 = control<QLabel>(picStatusBar, "Label3", 6, 5, 314, 13);
    Label3->setStyleSheet(QStringLiteral("background: #c0c0c0; color: black;"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1024);
    connect(Timer1, &QTimer::timeout, this, &Form7::Timer1_Timer);
    connect(Command2, &QPushButton::clicked, this, &Form7::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form7::Command1_Click);
    if (!common::globals().LanguageGreek) MAKE_english();
}

void Form7::MAKE_english()
{
    const char* captions[] = {"15 sec.", "30 sec.", "45 sec.", "60 sec.", "Custom Time"};
    for (int i = 0; i < 5; ++i) Option1[i]->setText(QString::fromLatin1(captions[i]));
    Command1->setText(QStringLiteral("Cancel"));
    Label1->setText(QStringLiteral("Choose time for test."));
}

void Form7::Option1_Click(int index)
{
    const bool custom = index == 4;
    Text1->setEnabled(custom);
    background(Text1, custom ? "#ffffff" : "#c0c0c0");
    if (custom) Text1->setFocus();
}

std::optional<int16_t> Form7::CustomSeconds(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);  // halves to the even neighbour
    if (rounded < -32768 || rounded > 32767) return std::nullopt;
    return int16_t(rounded);
}

void Form7::setControlsEnabled(bool enabled)
{
    for (QRadioButton* option : Option1) option->setEnabled(enabled);
    Text1->setEnabled(enabled);
}

void Form7::Command2_Click()
{
    int16_t preset = 0;
    for (int i = 0; i < 4; ++i)
        if (Option1[i]->isChecked()) preset = int16_t((i + 1) * 15);
    setControlsEnabled(false);
    PreviewSeconds = CustomSeconds(Text1->text()).value_or(preset);
    setWindowTitle(common::Lang(
        QString::fromUtf8("Δοκιμή Τραγουδιών  (") + QString::number(PreviewSeconds) + QString::fromUtf8(" δευτ/πτα)"),
        QStringLiteral("Tracks Preview  (") + QString::number(PreviewSeconds) + QStringLiteral(" sec.)")));
    Command2->setEnabled(false);
    player::LetMessagesRun();
    CurrentTrack = 1;
    common::globals().CdDevice->SeekCDtoX(1);
    PreviewTicks = -1;
    // The first track's entry at once, not a blank until the first tick.
    Label3->setText(main_.Tracks().line(0));
    Timer1->start();
}

void Form7::Timer1_Timer() { tick(true); }

// One tick. A track that changes on this tick (the next one started here, or the device moved on)
// is read again at once, so its count starts at 0 on this tick; that second reading is the only
// one, and it does not start another track.
void Form7::tick(bool firstReading)
{
    auto& cd = *common::globals().CdDevice;
    ++PreviewTicks;
    const std::string position = cd.GetCDPosition_FUN();
    const int track = field(position, 0);
    Label2->setText(twoDigits(field(position, 3)) + QStringLiteral(":") + twoDigits(field(position, 6)));
    if (firstReading && PreviewTicks > PreviewSeconds) {
        if (track >= cd.GetNumTracks()) {
            complete();
            return;
        }
        ++CurrentTrack;
        cd.SeekCDtoX(CurrentTrack);
        PreviewTicks = -1;
        tick(false);
        return;
    }
    if (track != CurrentTrack) {
        PreviewTicks = -1;
        CurrentTrack = int16_t(track);
        if (firstReading) tick(false);
        return;
    }
    Label3->setText(main_.Tracks().line(track - 1));
}

void Form7::complete()
{
    common::globals().CdDevice->StopCD();
    Label2->setText(QStringLiteral("00:00"));
    Label3->setText(common::Lang("Ολοκληρώθηκε η δοκιμή των τραγουδιών.", "Completed."));
    setControlsEnabled(true);
    PreviewTicks = 0;
    PreviewSeconds = 0;
    Command2->setEnabled(true);
    Timer1->stop();
}

void Form7::Command1_Click() { close(); }

void Form7::closeEvent(QCloseEvent* event)
{
    Timer1->stop();
    auto& cd = *common::globals().CdDevice;
    cd.StopCD();
    cd.PlayTrackFrom(0);
    main_.SetTickEnabled(true);
    common::globals().DialogOpen = false;
    if (!main_.IsShutDown()) main_.show();
    event->accept();
}

bool Form7::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picStatusBar && event->type() == QEvent::Paint) {
        paintStatusBar();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// A raised bar with Label3 sunk into it.
void Form7::paintStatusBar()
{
    QPainter p(picStatusBar);
    const int w = picStatusBar->width(), h = picStatusBar->height();
    p.fillRect(picStatusBar->rect(), QColor(0xC0, 0xC0, 0xC0));
    p.setPen(Qt::white);
    p.drawLine(0, 0, w, 0);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, h - 2, w, h - 2);
    p.setPen(Qt::black);
    p.drawLine(0, h - 1, w, h - 1);
    Label3->setGeometry(6, 5, w - 10, 13);
    const QRect r = Label3->geometry().adjusted(-1, -1, 0, 0);
    p.setPen(QColor(128, 128, 128));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Qt::white);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace shell
