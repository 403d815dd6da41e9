// The tray icon, restoring the main window, the tray menu's tracks and the saved-lists submenu.

#include "shell/Form5.h"
#include "player/Form1.h"
#include "common/Globals.h"
#include "common/ProgramFolder.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "metadata/Mp3Tag_ListFiles.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace shell {

namespace {

using common::MediaAlias;

// Removes every element of an item array after the first.
void dropExtraElements(QList<QAction*>& elements)
{
    while (elements.size() > 1) delete elements.takeLast();
}

}  // namespace

void Form5::AddTrayIcon()
{
    if (!TrayIcon) {
        TrayIcon = std::make_unique<QSystemTrayIcon>(main_->windowIcon());
        TrayIcon->setToolTip(common::AppTitle());
        TrayIcon->setContextMenu(as87[2]);
        connect(TrayIcon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger) TrayLeftClick();
        });
    }
    TrayIcon->show();
}

void Form5::deleteTrayIcon()
{
    if (TrayIcon) TrayIcon->hide();
}

// Where the desktop has no tray the icon cannot bring the window back; the taskbar entry does.
bool Form5::TrayIconShown() const
{
    return TrayMenu->isChecked() && TrayIcon && TrayIcon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void Form5::restoreMainWindow()
{
    hide();
    main_->show();
    if (MixerChecked()) DockMeter();
    main_->setEnabled(true);
}

void Form5::TrayLeftClick()
{
    if (common::globals().DialogOpen) return;
    setWindowState(Qt::WindowNoState);
    restoreMainWindow();
    main_->raise();
    main_->activateWindow();
}

void Form5::TrayRightClick()
{
    const bool playing = common::globals().CdDevice && common::globals().CdDevice->CheckIfPlaying() != 0;
    play11->setEnabled(!playing);
    diakoph->setEnabled(playing);
}

void Form5::epanafora_Click()
{
    if (common::globals().DialogOpen) return;
    restoreMainWindow();
}

void Form5::as87_Click(int index)
{
    if (index == 2)
        prepareTrayMenu();
    else if (index == 3)
        rebuildSavedLists();
}

void Form5::ClearTracksSubmenu() { dropExtraElements(ww); }

void Form5::prepareTrayMenu()
{
    auto& g = common::globals();
    sxetika->setEnabled(!g.DialogOpen);
    ClearTracksSubmenu();
    auto addTrack = [this](const QString& caption) {
        QAction* a = Tracks->addAction(caption);
        a->setObjectName(QStringLiteral("ww"));
        a->setCheckable(true);
        const int index = int(ww.size());
        connect(a, &QAction::triggered, this, [this, index] { ww_Click(index); });
        ww.append(a);
    };
    const player::TrackList& list = main_->Tracks();
    ww[0]->setCheckable(true);
    ww[0]->setChecked(false);
    const int current = main_->DisplayedEntry();
    if (common::InMediaMode()) {
        ExitWithContinue->setEnabled(false);
        ww[0]->setText(QStringLiteral("1. ") + list.line(0));
        for (int j = 0; j <= list.count() - 2; ++j) addTrack(list.line(j + 1));
        eject22->setEnabled(false);
        if (ModuleMCI::GetMediaMode(MediaAlias) == "playing" && !list.currentRemoved() && current >= 0 && current < ww.size())
            ww[current]->setChecked(true);
        const bool playing = ModuleMCI::GetMediaMode(MediaAlias) == "playing";
        play11->setEnabled(!playing);
        diakoph->setEnabled(playing);
    } else {
        ExitWithContinue->setEnabled(true);
        eject22->setEnabled(true);
        ww[0]->setText(list.line(0));
        const int tracks = g.CdDevice->GetNumTracks();
        for (int j = 1; j <= tracks - 1; ++j) addTrack(list.line(j));
        if (g.CdDevice->CheckIfPlaying() == 1 && current >= 0 && current < ww.size()) ww[current]->setChecked(true);
    }
}

void Form5::ww_Click(int index)
{
    if (!common::InMediaMode())
        common::globals().CdDevice->SeekCDtoX(int16_t(index + 1));
    else
        main_->UpdateMP3(index, true);
}

// The ".list" and ".m3u8" files of the Lists folder, hidden ones too, in the order the file system gives.
void Form5::rebuildSavedLists()
{
    dropExtraElements(ListMenu);
    const QStringList names =
        QDir(common::ProgramFile(QStringLiteral("Lists")))
            .entryList(player::TrackList::SavedListPatterns(), QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    ListMenu[0]->setText(names.isEmpty() ? QStringLiteral("- - - - -") : names.first());
    ListMenu[0]->setEnabled(true);
    for (qsizetype i = 1; i < names.size(); ++i) {
        QAction* a = Listes1->addAction(names[i]);
        a->setObjectName(QStringLiteral("ListMenu"));
        const int index = int(ListMenu.size());
        connect(a, &QAction::triggered, this, [this, index] { ListMenu_Click(index); });
        ListMenu.append(a);
    }
}

void Form5::ListMenu_Click(int index)
{
    if (index < 0 || index >= ListMenu.size()) return;
    QString path = common::ProgramFile(QStringLiteral("Lists/")) + ListMenu[index]->text();
    if (!Mp3Tag_Functions::FileExists(path)) return;
    ModuleMCI::CloseMedia(MediaAlias);
    main_->LoadTrackList(path);
    if (!main_->Tracks().isEmpty()) main_->UpdateMP3(0, false);
}

}  // namespace shell
