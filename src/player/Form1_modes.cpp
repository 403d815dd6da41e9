// Switching between media mode and CD mode.

#include "player/Form1.h"
#include "player/MenuWindow.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "media/CDAudio.h"
#include "metadata/Mp3Tag_ListFiles.h"

#include <utility>

namespace player {

void Form1::Option1_Click()
{
    if (MessagesRun::Now()) return;
    auto& g = common::globals();
    ResetHoverImages();
    menu_->ClearTracksSubmenu();
    g.Mode = common::PlayerMode::Media;
    Label3->setText(QStringLiteral("00:00"));
    if (g.CdDevice) g.CdDevice->StopCD();
    ApplyMediaLook();
    for (QLabel* l : {Label1, Label4}) l->clear();
    showArtistAndAlbum({}, {}, false);
    Label9->setText(QStringLiteral("Sonorell Player v.1"));
    tracks_.clear();
    if (commandLineNamesFile()) {
        tracks_.setSingleFile();
        tracks_.appendFiles({commandLine_});
        Label2->setText(QString::number(tracks_.count()) + QString::fromUtf8(" τραγούδια."));
        UpdateMP3(0, true);
    } else if (!openAtStart_.isEmpty()) {
        // The start's paths stand for the default list, which is then not read at all.
        addAndPlayFirst(std::exchange(openAtStart_, {}));
    } else {
        QString defaultList;
        LoadTrackList(defaultList);
        UpdateMP3(0, false);
    }
    Timer2_Timer();
}

void Form1::Option2_Click()
{
    if (MessagesRun::Now()) return;
    auto& g = common::globals();
    ResetHoverImages();
    menu_->ClearTracksSubmenu();
    if (!tracks_.singleFile()) {
        QString defaultList;
        SaveTrackList(defaultList);
    }
    g.Mode = common::PlayerMode::Cd;
    state_.noDiscShown = false;
    Label9->setText(QStringLiteral("Sonorell Player v.1"));
    ApplyCdLook();
    for (QLabel* l : {Label1, Label4}) l->clear();
    showArtistAndAlbum({}, {}, false);
    Label3->setText(QStringLiteral("00:00"));
    tracks_.clear();
    g.CdDevice->ReadyDevice();
    if (g.CdDevice->GetNumTracks() > 1) LoadCdTitles();
    Timer2_Timer();
}

bool Form1::PlayDiscFromTrackOne()
{
    auto& g = common::globals();
    // Another window has this one (the tags editor works on the list's entries): the list stays.
    if (common::InMediaMode() && g.DialogOpen) return false;
    auto& cd = *g.CdDevice;
    if (cd.GetNumTracks() < 2) return false;
    if (common::InMediaMode()) {
        unloadVideoWindow();  // readying the drive for the disc closes the file, its picture too
        Option2->setChecked(true);
        Option2_Click();
    }
    cd.SeekCDtoX(1);
    Timer2_Timer();
    return true;
}

}  // namespace player
