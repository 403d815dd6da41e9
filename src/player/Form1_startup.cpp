// Start-up and shutdown of the main window.

#include "player/DataFile.h"
#include "player/Form1.h"
#include "player/Form10.h"
#include "player/MenuWindow.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "platform/AtomicFile.h"
#include "platform/CdHandOff.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/Settings.h"
#include "platform/cdrom/Disc.h"

#include <QFile>
#include <QPointer>

namespace player {

namespace {

using common::MediaAlias;

bool settingIsTrue(const QString& value) { return value.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0; }

// Left in the program folder by older versions while one file played alone.
QString CantorineMarker() { return common::ProgramFile(QStringLiteral("Cantorine.tmp")); }

}  // namespace

bool Form1::commandLineNamesFile() const
{
    // Asked by the name's bytes: a name that is not UTF-8 is a file too.
    return !commandLine_.trimmed().isEmpty() && platform::IsRegularFile(commandLine_);
}

int32_t Form1::discPositionMs() { return common::globals().CdDevice->ReadMilliseconds().position; }

// A file that could not be saved (a full disk, a folder made read-only) is told once a run: a
// shutdown saving four files to a full disk would otherwise ask four times.
void Form1::tellSaveFailuresOnce()
{
    QPointer<Form1> window(this);
    platform::SetSaveFailureReporter([window, told = false](const QString& path) mutable {
        if (told || !window) return;
        told = true;
        platform::ShowMessage(
            {common::Lang(QString::fromUtf8("Δεν ήταν δυνατή η αποθήκευση του αρχείου ") + path +
                              QString::fromUtf8(". Ο δίσκος μπορεί να είναι γεμάτος."),
                          QStringLiteral("Could not save the file ") + path + QStringLiteral(". The disk may be full.")),
             {},
             platform::DialogIcon::Exclamation,
             platform::DialogButtons::Ok},
            window);
    });
}

bool Form1::IsPlaySwitch(const QString& word)
{
    return word.compare(QStringLiteral("/play"), Qt::CaseInsensitive) == 0 ||
           word.compare(PlaySwitchHandedOver, Qt::CaseInsensitive) == 0;
}

bool Form1::Start()
{
    auto& g = common::globals();
    Layout();
    // Every Linux path holds a "/", so only the switch itself counts, not any text with one.
    const QString word = commandLine_.trimmed();
    const bool playSwitch = IsPlaySwitch(word);
    tracks_.setCurrent(0);
    g.DialogOpen = false;

    g.LanguageGreek =
        settingIsTrue(platform::GetSetting(QStringLiteral("Sonorell"), QStringLiteral("LANGUAGE"), QStringLiteral("False")));
    g.LanguageGreekToSave = g.LanguageGreek;
    if (!g.LanguageGreek) MakeEnglish();
    nameReaderControls();

    menu_ = makeMenu_(this);
    SetTickInterval(1000);
    tellSaveFailuresOnce();

    const SavedOptions saved = ReadDataFile(common::ProgramFile(QStringLiteral("Data.dat")));
    state_.showRemaining = saved.ShowRemaining == 1;
    g.ListShown = saved.ListShown != 0;
    if (g.ListShown) menu_->Show_List_Menu_Click();
    if (saved.Meter == 1) menu_->Mixer_Menu_Click();
    if (saved.Tray == 1) menu_->TrayMenu_Click();
    if (saved.Continue == 1) menu_->synexeia_Click();

    // A disc left playing by the last run plays on here from where it stands.
    const auto handedBack = platform::TakeDiscBack(QString::fromStdString(platform::cdrom::defaultSource()));
    g.CdDevice = std::make_shared<media::CDAudio>();
    g.CdDevice->ReadyDevice();
    if (g.CdDevice->GetNumTracks() >= 2) {
        LoadCdTitles();
        ApplyCdLook();
        Option2->setChecked(true);
        if (playSwitch && !commandLineNamesFile()) {
            state_.showAtStart = false;
            if (!menu_->TrayIconShown()) menu_->ShowMinimizedEntry();
            g.CdDevice->SeekCDtoX(1);
        }
    } else {
        Option1->setChecked(true);
        Option2->setChecked(false);
        Option1_Click();
    }
    // Paths given on the command line are the list: the disc on show gives way to them.
    if (!openAtStart_.isEmpty()) enterMediaMode();
    if (handedBack && state_.showAtStart && !common::InMediaMode()) {
        g.CdDevice->PlayTrackFrom(*handedBack);
        g.CdDevice->PlayCD();
    }
    Label3->setCursor(Qt::PointingHandCursor);
    menu_->SetCaption(windowTitle());
    Timer2_Timer();
    setEnabled(true);
    setFocus();  // the window's own keys first; Tab goes on into the controls
    SetTickEnabled(true);
    return true;
}

void Form1::Shutdown()
{
    if (shutDown_) return;
    shutDown_ = true;
    auto& g = common::globals();
    Timer1->stop();
    SetTickEnabled(false);

    if (g.CdDevice) {
        // Sound stops with the process that plays it, so a disc that is to play on is handed over.
        const bool playOn = menu_->ExitWithContinueChecked() && g.CdDevice->CheckIfPlaying() == 1;
        const int32_t position = playOn ? discPositionMs() : 0;
        g.CdDevice->StopPlay();
        g.CdDevice->UnloadAll();
        if (playOn) platform::HandDiscOver(position);
    }
    if (common::InMediaMode()) {
        if (!tracks_.singleFile()) {
            QString defaultList;
            SaveTrackList(defaultList);
        }
        ModuleMCI::CloseMedia(MediaAlias);
    }
    if (QFile::exists(CantorineMarker())) QFile::remove(CantorineMarker());

    SavedOptions options;
    options.ShowRemaining = state_.showRemaining ? 1 : 0;
    options.Tray = menu_->TrayChecked() ? 1 : 0;
    options.Continue = g.Continuous ? 1 : 0;
    options.Meter = menu_->MixerChecked() ? 1 : 0;
    options.ListShown = g.ListShown ? -1 : 0;
    WriteDataFile(common::ProgramFile(QStringLiteral("Data.dat")), options);

    g.LanguageGreek = g.LanguageGreekToSave;
    platform::SaveSetting(QStringLiteral("Sonorell"), QStringLiteral("LANGUAGE"),
                          g.LanguageGreek ? QStringLiteral("True") : QStringLiteral("False"));
    unloadVideoWindow();
    menu_->Unload();
    menu_ = &MenuWindow::Unloaded();
}

}  // namespace player
