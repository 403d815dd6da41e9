// Switching between media mode and CD mode.

#include "player/Form1.h"
#include "player/MenuWindow.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "media/CDAudio.h"
#include "metadata/Mp3Tag_ListFiles.h"

namespace player {

QString CantorineMarker();

void Form1::Option1_Click()
{
    if (MessagesRun::Now()) return;
    auto& g = common::globals();
    ResetHoverImages();
    menu_->ClearTracksSubmenu();
    g.PlayerMode = QStringLiteral("mp3");
    Label3->setText(QStringLiteral("00:00"));
    if (g.CdDevice) g.CdDevice->StopCD();
    ApplyMediaLook();
    for (QLabel* l : {Label1, Label4}) l->clear();
    showArtistAndAlbum({}, {}, false);
    Label9->setText(QStringLiteral("Sonorell Player v.1"));
    List1->clear();
    Combo1->clear();
    if (commandLineNamesFile()) {
        List1->addItem(QStringLiteral("1. ") + Mp3Tag_Functions::TrackNameFromFile(commandLine_));
        Combo1->addItem(commandLine_);
        Label2->setText(QString::number(List1->count()) + QString::fromUtf8(" τραγούδια."));
        List1Tag = CantorineMarker();
        SingleFileMode = 10;
        UpdateMP3(0, true);
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
    if (List1Tag != CantorineMarker()) {
        QString defaultList;
        SaveTrackList(defaultList);
    }
    g.PlayerMode = QStringLiteral("cd");
    NoDiscShown = 0;
    Label9->setText(QStringLiteral("Sonorell Player v.1"));
    ApplyCdLook();
    for (QLabel* l : {Label1, Label4}) l->clear();
    showArtistAndAlbum({}, {}, false);
    Label3->setText(QStringLiteral("00:00"));
    List1->clear();
    Combo1->clear();
    g.CdDevice->ReadyDevice();
    if (g.CdDevice->GetNumTracks() > 1) LoadCdTitles();
    Timer2_Timer();
}

} // namespace player
