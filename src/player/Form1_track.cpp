// Making a file the current track, and the track display of both modes.

#include "player/Form1.h"
#include "platform/FileNames.h"
#include "player/Form10.h"
#include "player/Form20.h"
#include "player/MenuWindow.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/TimeText.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "metadata/Mp3Tag_Functions.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "metadata/TrackTags.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

namespace player {

namespace {

using common::MediaAlias;
const std::string MediaType = "MPEGVideo";

std::string localPath(const QString& path) { return platform::EncodeFileName(path).toStdString(); }

void showOpenFailure(const QString& path, QWidget* parent)
{
    const QString cr(QChar(13));
    const QString text = common::Lang(QString::fromUtf8("Ανέκυψε λάθος κατα την εκτέλεση του αρχείου ") + path +
                                          QString::fromUtf8(". Οι αιτίες μπορεί να είναι:") + cr + cr +
                                          QString::fromUtf8("1. Δεν είναι Multimedia αρχείο") + cr +
                                          QString::fromUtf8("2. Δεν υποστηρίζεται απο τό σύστημα.") + cr +
                                          QString::fromUtf8("3. Αύτη τη στιγμή δεν είναι δυνατή ή εκτέλεση του."),
                                      QStringLiteral("There is a error during executing file ") + path + QStringLiteral("."));
    platform::ShowMessage({text, {}, platform::DialogIcon::Critical, platform::DialogButtons::Ok}, parent);
}

}  // namespace

void Form1::unloadVideoWindow()
{
    if (!VideoWindow) return;
    VideoWindow->close();
    VideoWindow->deleteLater();
    VideoWindow = nullptr;
}

// The window takes the picture's size before the picture is drawn into it: a picture drawn at
// the window's first size would stay small and aside until the next frame, for good when paused.
std::string Form1::showVideoWindow(const QString& path)
{
    const int width = ModuleMCI::GetVideoSize(MediaAlias, "cx"), height = ModuleMCI::GetVideoSize(MediaAlias, "cy");
    ModuleMCI::CloseMedia(MediaAlias);
    update();  // the open that found the picture may have drawn it over this window
    VideoWindow->SizeToPicture(width, height);
    uint64_t parent = VideoWindow->windowId();
    const std::string status = ModuleMCI::OpenMedia(parent, MediaAlias, localPath(path), MediaType);
    VideoWindow->setWindowTitle(path);
    VideoWindow->show();
    LetMessagesRun();
    VideoWindow->update();
    LetMessagesRun();
    return status;
}

// A chosen entry that cannot be opened leaves the list after the device was closed for it: the
// entry that was open comes back, rather than its title shown over a closed device.
void Form1::UpdateMP3(int index, bool play)
{
    if (MessagesRun::Now()) return;
    const std::optional<LoadedEntry> before = loadedEntry();
    if (loadEntry(index, play) || !before || ModuleMCI::GetMediaMode(MediaAlias) != "ERROR") return;
    bringBack(*before);
}

std::optional<Form1::LoadedEntry> Form1::loadedEntry() const
{
    const std::string mode = ModuleMCI::GetMediaMode(MediaAlias);
    if (mode == "ERROR") return std::nullopt;
    return LoadedEntry{state_.loadedPath, ModuleMCI::GetMediaPosition(MediaAlias), mode == "playing"};
}

// Open again where the list now has it (the entry on display follows removals), at the moment
// it was heard, and playing on from there if it played.
void Form1::bringBack(const LoadedEntry& entry)
{
    if (tracks_.path(displayedEntry_) != entry.path || !loadEntry(displayedEntry_, false)) return;
    const int32_t at = std::max(entry.positionMs, 0);
    std::string from = std::to_string(at), to;
    if (entry.playing)
        ModuleMCI::PlayMedia(MediaAlias, from, to);
    else
        ModuleMCI::SeekMedia(MediaAlias, at);
    showMediaPosition(at);
    Timer2_Timer();
}

bool Form1::fileThereOrSaySo(const QString& path)
{
    if (path.isEmpty() || Mp3Tag_Functions::ListEntryExists(path)) return true;
    MessagesRun running;  // the message box's own loop
    ShowFileDoesNotExist(path, this);
    return false;
}

bool Form1::loadEntry(int index, bool play)
{
    const QString path = tracks_.path(index);
    if (!fileThereOrSaySo(path)) return false;
    tracks_.setCurrent(index);
    state_.nothingFollows = false;
    ModuleMCI::CloseMedia(MediaAlias);
    uint64_t parent = static_cast<uint64_t>(winId());
    std::string status = ModuleMCI::OpenMedia(parent, MediaAlias, localPath(path), MediaType);
    const bool picture = ModuleMCI::GetVideoSize(MediaAlias, "cx") != -1 || ModuleMCI::GetVideoSize(MediaAlias, "cy") != -1;
    if (!picture) {
        unloadVideoWindow();
    } else {
        if (!VideoWindow) VideoWindow = new Form10(this);
        status = showVideoWindow(path);
    }

    if (!path.isEmpty() && status != "Success") {
        {
            MessagesRun running;
            showOpenFailure(path, this);
        }
        List1->setCurrentRow(index);
        dropFailedEntry(index);
        return false;
    }
    if (path.isEmpty()) return false;  // no entry at index: nothing to load or show

    List1->setCurrentRow(index);
    state_.loadedPath = path;
    state_.mediaLengthMs = ModuleMCI::GetMediaLengthMs(MediaAlias);
    if (play) {
        std::string from, to;
        ModuleMCI::PlayMedia(MediaAlias, from, to);
    }
    Label6->setText(common::Lang("Διάρκεια: ", "Length: ") + common::TimeText(ModuleMCI::GetMediaLengthMs(MediaAlias) / 1000));
    state_.positionScale = state_.mediaLengthMs / 192.0;
    Image17->move(5, Image17->y());
    showMediaTime(0);  // the time of the entry before would stand until this one plays

    const QString facts = Mp3Tag_Functions::FactsLine(path);
    if (!facts.isEmpty()) Label4->setText(facts);
    const Mp3Tag_Functions::TrackTags tags = Mp3Tag_Functions::ReadTrackTags(path);
    showArtistAndAlbum(tags.artist, tags.album, true);

    Label1->setText(tracks_.title(index));
    StartMarqueeIfTooWide(235);
    showEntryNumber(index, QString::number(index + 1));
    setCaptions();
    cuedPath_.reset();  // a new file is open: tell the device again what follows it
    CueNextEntry();
    return true;
}

void Form1::CueNextEntry()
{
    cueScheduled_ = false;
    QString next;
    if (continuousApplies()) next = tracks_.path(*tracks_.successor());
    if (cuedPath_ == next) return;
    const bool taken = ModuleMCI::CueNextMedia(MediaAlias, localPath(next)) == "Success";
    cuedPath_ = taken ? std::optional<QString>(next) : std::nullopt;
}

// Many list changes in a row (a folder added) need one cue, once they are done.
void Form1::scheduleCue()
{
    if (cueScheduled_) return;
    cueScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        if (cueScheduled_) CueNextEntry();
    });
}

void Form1::StartMarqueeIfTooWide(int width, bool resetStep)
{
    state_.marqueeText.clear();
    Timer1->stop();
    test->setText(Label1->text());
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    test->adjustSize();
    if (test->fontMetrics().horizontalAdvance(test->text()) > width) {
        state_.marqueeText = Label1->text() + QString(10, QLatin1Char(' '));
        Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (resetStep) state_.marqueeStep = 0;
        Timer1->start();
    }
}

void Form1::setCaptions()
{
    QString line = Label9->text();
    while (line.startsWith(QLatin1Char(' '))) line.remove(0, 1);
    menu_->SetCaption(line + QStringLiteral(" - ") + Label1->text());
    setWindowTitle(menu_->Caption());
}

void Form1::ShowCdTrackInfo()
{
    auto& cd = *common::globals().CdDevice;
    const int track = cd.GetTmsfPosition().track;
    const bool listed = tracks_.contains(track - 1);
    showEntryNumber(track - 1, QString::number(track));
    Label1->setText(tracks_.title(track - 1));
    setCaptions();

    QString length = QString::fromLatin1(cd.GetTrackLength(int16_t(track)).c_str());
    const qsizetype colon = length.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) length = length.left(colon);
    Label6->setText(common::Lang("Διάρκεια: ", "Length: ") + length);

    // Where the track starts, so seeks within it, the thumb and the time left count from there;
    // the position read now only where the disc cannot tell.
    const media::CDAudio::Milliseconds ms = cd.ReadMilliseconds(int16_t(track), true);
    state_.trackStartMs = ms.trackStart >= 0 ? ms.trackStart : ms.position;
    state_.positionScale = ms.trackLength / 187.0;
    if (isVisible() && listed) List1->setCurrentRow(track - 1);
    StartMarqueeIfTooWide(Label1->width());
}

}  // namespace player
