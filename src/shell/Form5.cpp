// The menu window: loading, the option toggles, the taskbar entry and unloading.

#include "shell/Form5.h"
#include "platform/ReplayGain.h"
#include "platform/Settings.h"
#include "catalogue/OnlineTitles.h"
#include "player/Form1.h"
#include "shell/Windows.h"
#include "meter/Form8.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>

namespace shell {

Form5::Form5(player::Form1* mainWindow) : QWidget(nullptr, Qt::Window), main_(mainWindow)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Menus"));
    buildMenus();
    connectCommands();
    const bool replayGain = platform::GetSetting(QStringLiteral("Sonorell"), QStringLiteral("REPLAYGAIN"),
                                                 QStringLiteral("True")) != QLatin1String("False");
    item(QStringLiteral("ReplayGain"))->setChecked(replayGain);
    platform::ApplyReplayGain(replayGain);
    if (!common::globals().LanguageGreek) MAKE_english();
    const QString lists = common::ProgramFile(QStringLiteral("Lists"));
    if (!QFileInfo(lists).isDir()) QDir().mkpath(lists);
    setWindowIcon(main_->windowIcon());
    move(-200, -200);  // off the screen
}

Form5::~Form5() { deleteTrayIcon(); }

void Form5::Show_List_Menu_Click()
{
    auto& g = common::globals();
    const bool show = !Show_List_Menu->isChecked();
    g.ListShown = show;
    Show_List_Menu->setChecked(show);
    Show_List_Menu2->setChecked(show);
    main_->SetListPanelShown(show);
}

void Form5::Mixer_Menu_Click()
{
    const bool on = !Mixer_Menu->isChecked();
    Mixer_Menu->setChecked(on);
    Mixer_Menu2->setChecked(on);
    if (!on) {
        if (Meter) Meter->CloseMeter();
        return;
    }
    if (Meter && !Meter->Closing()) return;
    // Checked again while the meter slides back: that one goes at once and a new one comes out,
    // so the mark and the window agree.
    if (Meter) Meter->CloseAtOnce();
    Meter = new meter::Form8(*main_);
    // Without a capture source the mark goes again, so the next start does not fail the same way.
    if (!Meter->Form_Load()) {
        Mixer_Menu->setChecked(false);
        Mixer_Menu2->setChecked(false);
    }
}

void Form5::TrayMenu_Click()
{
    const bool on = !TrayMenu->isChecked();
    TrayMenu->setChecked(on);
    eikoll->setChecked(on);
    if (on)
        AddTrayIcon();
    else
        deleteTrayIcon();
}

void Form5::synexeia_Click()
{
    const bool on = !synexeia->isChecked();
    // Switched off just after an entry's end, the entry heard is the one that plays to its end.
    if (!on) main_->TakeOverEndedEntry();
    synexeia->setChecked(on);
    synexeia2->setChecked(on);
    common::globals().Continuous = on;
    main_->CueNextEntry();
}

void Form5::OnlineTitles_Click()
{
    const bool on = !OnlineTitles->isChecked();
    OnlineTitles->setChecked(on);
    Disk_Volume::SetOnlineTitlesWanted(on);
    if (on && !common::InMediaMode()) main_->FindMissingTitles();
}

void Form5::ShowMinimizedEntry()
{
    move(100, 100);
    showMinimized();
}

// Restoring the taskbar entry brings the main window back and hides the entry again.
void Form5::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isVisible()) return;
    if (!isMinimized()) {
        hide();
        main_->show();
        if (MixerChecked()) DockMeter();
    }
    main_->setEnabled(true);
    setEnabled(true);
}

// Closing the entry ends the program as the main window's close does.
void Form5::closeEvent(QCloseEvent* event)
{
    deleteTrayIcon();
    event->accept();
    exitProgram();
}

void Form5::Unload()
{
    deleteTrayIcon();
    if (Meter) Meter->CloseAtOnce();
    hide();
    deleteLater();
}

void Form5::PopupMenu(int element, QPoint at)
{
    if (element >= 1 && element <= 4) as87[size_t(element)]->exec(at);
}

void Form5::DockMeter()
{
    if (!Meter || common::globals().MeterSliding) return;
    Meter->DockMeter();
    if (main_->isVisible()) Meter->show();
}

void Form5::HideMeter()
{
    if (Meter) Meter->hide();
}

}  // namespace shell
