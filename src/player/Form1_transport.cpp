// The skin buttons and their highlighted twins, the track list's clicks, the labels' actions
// and the title strip.

#include "player/Form1.h"
#include "player/Form10.h"
#include "player/MenuWindow.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace player {

namespace {

using common::MediaAlias;

constexpr int HideZoneStart = 334;   // 5000 twips
constexpr int CloseZoneStart = 347;  // 5200 twips

}  // namespace

void Form1::connectButtons()
{
    auto onHover = [this](PictureButton* normal, PictureButton* twin, std::function<bool()> allowed) {
        connect(normal, &PictureButton::moved, this, [this, normal, twin, allowed] {
            if (allowed && !allowed()) return;
            ResetHoverImages();
            showTwin(normal, twin);
        });
        // After a click the normal picture is back under a pointer that has not moved: a second
        // click lands on it and acts as a click on the twin.
        connect(normal, &PictureButton::clicked, this, [this, normal, twin, allowed] {
            if (allowed && !allowed()) return;
            ResetHoverImages();
            showTwin(normal, twin);
            emit twin->clicked();
        });
    };
    // From the keyboard or a screen reader, either picture of a pair runs the click itself.
    auto onPress = [](PictureButton* normal, PictureButton* twin) {
        normal->SetTwin(twin);
        twin->SetTwin(normal);
        connect(normal, &PictureButton::activated, twin, &PictureButton::clicked);
        connect(twin, &PictureButton::activated, twin, &PictureButton::clicked);
    };
    for (auto [normal, twin] :
         {std::pair{Image7, Image4}, {Image8, Image2}, {Image9, Image5}, {Image10, Image6}, {Image11, Image3}}) {
        onHover(normal, twin, {});
        onPress(normal, twin);
    }
    for (auto [normal, twin] : {std::pair{Image24, Image31}, {Image25, Image30}, {Image26, Image29}, {Image27, Image28}}) {
        onHover(normal, twin, [this] { return !popUpListOpen(); });
        onPress(normal, twin);
    }
    connect(Image14, &PictureButton::moved, this, [this] {
        ResetHoverImages();
        if (!tracks_.isEmpty() && !common::globals().ListShown) showTwin(Image14, Image15);
    });
    connect(Image14, &PictureButton::clicked, this, [this] {
        if (tracks_.isEmpty() || common::globals().ListShown) return;
        showTwin(Image14, Image15);
        emit Image15->clicked();
    });
    Image14->SetTwin(Image15);
    Image15->SetTwin(Image14);
    connect(Image14, &PictureButton::activated, this, [this] {
        if (!tracks_.isEmpty() && !common::globals().ListShown) emit Image15->clicked();
    });
    connect(Image15, &PictureButton::activated, Image15, &PictureButton::clicked);

    connect(Image2, &PictureButton::clicked, this, &Form1::Image2_Click);
    connect(Image3, &PictureButton::clicked, this, &Form1::Image3_Click);
    connect(Image4, &PictureButton::clicked, this, &Form1::Image4_Click);
    connect(Image6, &PictureButton::clicked, this, &Form1::Image6_Click);
    connect(Image5, &PictureButton::clicked, this, &Form1::Image5_Click);
    connect(Image15, &PictureButton::clicked, this, &Form1::Image15_Click);
    connect(Image28, &PictureButton::clicked, this, &Form1::Image28_Click);
    connect(Image29, &PictureButton::clicked, this, &Form1::Image29_Click);
    connect(Image30, &PictureButton::clicked, this, &Form1::Image30_Click);
    connect(Image31, &PictureButton::clicked, this, &Form1::Image31_Click);
    connect(Image16, &PictureButton::pressed, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton) Image16_MouseDown(int(e->position().x()));
    });

    connect(List1, &QListWidget::itemClicked, this, &Form1::List1_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &Form1::List1_DblClick);
    connect(Check1, &QCheckBox::clicked, this, &Form1::Check1_Click);
}

void Form1::watchLabels()
{
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label200), static_cast<QWidget*>(Label201),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label7), static_cast<QWidget*>(Label8),
                       static_cast<QWidget*>(Label9), static_cast<QWidget*>(List1)})
        w->installEventFilter(this);
    for (QLabel* segment : Label5) segment->installEventFilter(this);
    Label2->setMouseTracking(true);
    Label2->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(Check1), static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2)})
        w->installEventFilter(this);
    List1->viewport()->setMouseTracking(true);
    List1->viewport()->installEventFilter(this);
    for (QLabel* caption : {Label7, Label8}) caption->setStyleSheet(QStringLiteral("color: #e0e0e0;"));
}

// A click on a label: the left button released over it.
static bool isClick(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = static_cast<QWidget*>(watched);
    return mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint());
}

static bool isLeftPress(QEvent* event)
{
    return event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

// The arrows are the window's (volume and seek) also when a check box or a mode button has the
// focus: they would move the focus instead, or change the mode.
static bool isBareArrow(QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto* press = static_cast<QKeyEvent*>(event);
    const int key = press->key();
    return (press->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
           (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Check1 || watched == Option1 || watched == Option2) && isBareArrow(event)) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (watched == List1->viewport()) {
        if (event->type() == QEvent::MouseMove) common::globals().UserListClick = true;
        return false;
    }
    if (watched == List1) {
        // Enter does on the keyboard what the mouse does: seek in CD mode, play in media mode.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape) return closePopUpList();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (common::InMediaMode())
                    List1_DblClick();
                else
                    List1_Click();
                return true;
            }
        }
        return false;
    }
    if (watched == Label2) {
        if (event->type() == QEvent::MouseMove) ResetHoverImages();
        return false;
    }
    if (watched == Label1 || watched == Label200 || watched == Label201) {
        if (isClick(watched, event)) closePopUpList();
        return false;
    }
    if (watched == Label3) {
        if (isClick(watched, event)) Label3_Click();
        return false;
    }
    if (watched == Label7 && isLeftPress(event)) {
        popUpCaptionMenu(Label7, Label8, common::InMediaMode() ? 3 : 1);
        return true;
    }
    if (watched == Label8 && isLeftPress(event)) {
        popUpCaptionMenu(Label8, Label7, 4);
        return true;
    }
    if (watched == Label9) {
        dragWindow(event);
        return false;
    }
    for (int i = 0; i < 10; ++i)
        if (watched == Label5[i] && isClick(watched, event)) Label5_Click(i);
    return false;
}

bool Form1::popUpListOpen() const { return !common::globals().ListShown && List1->isVisible(); }

void Form1::showTwin(PictureButton* normal, PictureButton* twin)
{
    normal->hide();
    twin->show();
}

void Form1::restorePair(PictureButton* normal, PictureButton* twin)
{
    normal->show();
    twin->hide();
}

void Form1::ResetHoverImages()
{
    auto& g = common::globals();
    g.UserListClick = true;
    if (Image17->x() < 6 || Image17->x() > 238) SetTickInterval(1000);
    if (common::InMediaMode())
        for (auto [normal, twin] : {std::pair{Image24, Image31}, {Image25, Image30}, {Image26, Image29}, {Image27, Image28}})
            restorePair(normal, twin);
    for (auto [normal, twin] : {std::pair{Image10, Image6},
                                {Image8, Image2},
                                {Image11, Image3},
                                {Image7, Image4},
                                {Image9, Image5},
                                {Image14, Image15}})
        restorePair(normal, twin);
    if (!g.ListShown) List1->hide();
}

void Form1::BackgroundMouseMove()
{
    if (List1->isHidden() || common::globals().ListShown) ResetHoverImages();
}

void Form1::mouseMoveEvent(QMouseEvent*) { BackgroundMouseMove(); }

// The pop-up list lies over the status line and its own button, so a click beside it (on the
// background or a label) or Escape closes it, as a pop-up closes.
void Form1::mousePressEvent(QMouseEvent*) { closePopUpList(); }

bool Form1::closePopUpList()
{
    if (common::globals().ListShown || List1->isHidden()) return false;
    List1->hide();
    setFocus();
    return true;
}

// The pointer leaving the window counts as a move over the background, so no twin stays lit.
void Form1::leaveEvent(QEvent*) { BackgroundMouseMove(); }

void Form1::Image2_Click()
{
    if (commandMayStart()) play();
}

void Form1::play()
{
    if (!common::InMediaMode()) {
        common::globals().CdDevice->PlayCD();
    } else {
        std::string from, to;
        int32_t length = 0;
        if (ModuleMCI::GetMediaMode(MediaAlias) == "playing" || ModuleMCI::IsMediaAtEnd(MediaAlias, length))
            ModuleMCI::PlayMedia(MediaAlias, from, to);
        else
            ModuleMCI::ResumeMedia(MediaAlias);
    }
    LetMessagesRun();
    restorePair(Image8, Image2);
    if (common::InMediaMode() && VideoWindow && VideoWindow->isVisible()) VideoWindow->update();
}

void Form1::Image3_Click()
{
    if (commandMayStart()) pause();
}

void Form1::pause()
{
    if (common::InMediaMode()) ModuleMCI::PauseMedia(MediaAlias);
    common::globals().CdDevice->PausePlay();
    LetMessagesRun();
    restorePair(Image11, Image3);
}

void Form1::Image4_Click()
{
    if (commandMayStart()) playNext();
}

void Form1::playNext()
{
    if (common::InMediaMode()) {
        const std::optional<int> next = tracks_.next();
        if (!next) return;  // the last entry: no wrap, the twin stays
        UpdateMP3(*next, true);
    } else {
        auto& cd = *common::globals().CdDevice;
        int16_t track = cd.GetTmsfPosition().track;
        if (track < cd.GetNumTracks()) ++track;
        cd.SeekCDtoX(track);
    }
    LetMessagesRun();
    restorePair(Image7, Image4);
}

void Form1::Image6_Click()
{
    if (!commandMayStart()) return;
    if (common::InMediaMode()) {
        const std::optional<int> previous = tracks_.previous();
        if (!previous) return;
        UpdateMP3(*previous, true);
    } else {
        auto& cd = *common::globals().CdDevice;
        int16_t track = cd.GetTmsfPosition().track;
        if (track > 1) --track;
        cd.SeekCDtoX(track);
    }
    LetMessagesRun();
    restorePair(Image10, Image6);
}

void Form1::Image5_Click()
{
    if (MessagesRun::Now()) return;
    common::globals().CdDevice->EjectCD();
    LetMessagesRun();
    restorePair(Image9, Image5);
}

void Form1::Image15_Click()
{
    common::globals().UserListClick = false;
    if (List1->isHidden()) {
        if (common::InMediaMode()) List1->setCurrentRow(tracks_.current());
        List1->show();
        List1->raise();
    } else {
        List1->hide();
    }
}

void Form1::List1_Click()
{
    auto& g = common::globals();
    if (common::InMediaMode() || !g.UserListClick || MessagesRun::Now()) return;
    g.CdDevice->SeekCDtoX(int16_t(List1->currentRow() + 1));
    ResetHoverImages();
    g.UserListClick = false;
}

void Form1::List1_DblClick()
{
    if (!common::InMediaMode() || !common::globals().UserListClick || MessagesRun::Now()) return;
    UpdateMP3(List1->currentRow(), true);
    ResetHoverImages();
}

void Form1::Check1_Click()
{
    if (!common::globals().UserListClick) return;
    menu_->Show_List_Menu_Click();
    if (Check1->isChecked())
        List1->setFocus();
    else
        (common::InMediaMode() ? Option1 : Option2)->setFocus();
}

void Form1::Label3_Click()
{
    ShowRemainingTime(!state_.showRemaining);
    Timer2_Timer();
}

void Form1::ShowRemainingTime(bool remaining) { state_.showRemaining = remaining; }

void Form1::popUpCaptionMenu(QLabel* lit, QLabel* dimmed, int element)
{
    dimmed->setStyleSheet(QStringLiteral("color: #e0e0e0;"));
    lit->setStyleSheet(QStringLiteral("color: #c0ffff;"));
    LetMessagesRun();
    menu_->PopupMenu(element, mapToGlobal(lit->pos()));
    lit->setStyleSheet(QStringLiteral("color: #e0e0e0;"));
}

// The title line drags the window: through the window manager where it can, else by hand.
void Form1::dragWindow(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) return;
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton) return;
        draggingByHand_ = !(windowHandle() && windowHandle()->startSystemMove());
        dragOffset_ = mouse->globalPosition().toPoint() - pos();
        return;
    case QEvent::MouseMove:
        if (!draggingByHand_ || !(mouse->buttons() & Qt::LeftButton)) return;
        move(mouse->globalPosition().toPoint() - dragOffset_);
        return;
    case QEvent::MouseButtonRelease: draggingByHand_ = false; return;
    default: return;
    }
}

void Form1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The meter window stays beside the main window, however it was moved.
    if (menu_ && menu_->MixerChecked()) menu_->DockMeter();
}

// Becoming active brings the meter window back beside this one.
void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && menu_ && menu_->MixerChecked()) menu_->DockMeter();
}

void Form1::Image16_MouseDown(int x)
{
    if (x < HideZoneStart) return;
    if (x < CloseZoneStart) {
        hideToEntry();
        return;
    }
    close();
    QCoreApplication::quit();
}

void Form1::hideToEntry()
{
    hide();
    if (menu_->MixerChecked()) menu_->HideMeter();
    if (!menu_->TrayIconShown()) menu_->ShowMinimizedEntry();
}

}  // namespace player
