// The track list: the two list controls and the list files behind them.

#include "player/Form1.h"
#include "platform/FileNames.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"
#include "media/CDAudio.h"
#include "media/ModuleMCI.h"
#include "catalogue/Disk_Volume.h"
#include "catalogue/FoundTitles.h"
#include "catalogue/OnlineTitles.h"
#include "metadata/AlbumImage.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "player/Form20.h"
#include "player/Form6.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTimer>

#include <memory>

namespace player {

bool Form1::SaveTrackList(QString& path)
{
    if (tracks_.isEmpty()) return true;
    if (path.isEmpty()) path = common::ProgramFile(QStringLiteral("Default") + TrackList::ListExtension());
    return Mp3Tag_Functions::WriteListFile(path, tracks_.paths());
}

void Form1::LoadTrackList(QString& path)
{
    if (path.isEmpty()) path = common::ProgramFile(QStringLiteral("Default") + TrackList::ListExtension());
    QStringList paths, titles;
    for (const auto& entry : Mp3Tag_Functions::ReadListFile(path)) {
        paths << entry.path;
        titles << entry.name;
    }
    tracks_.setFiles(paths, titles);
    if (tracks_.isEmpty()) {
        Label1->setText(common::Lang("Μή έγκυρη λίστα τραγούδιων.", "No list"));
        Label2->clear();
    } else {
        showTrackCount();
    }
}

void Form1::showTrackCount() { Label2->setText(common::Lang("Τραγούδια: ", "Tracks: ") + QString::number(tracks_.count())); }

// List1 and Combo1 show the track list: its lines and, in media mode, its files.
void Form1::followTrackList()
{
    connect(&tracks_, &TrackList::reset, this, [this] {
        List1->clear();
        Combo1->clear();
        List1->addItems(tracks_.lines());
        Combo1->addItems(tracks_.paths());
    });
    connect(&tracks_, &TrackList::appended, this, [this](int first, int count) {
        QStringList lines, paths;
        for (int i = first; i < first + count; ++i) {
            lines << tracks_.line(i);
            paths << tracks_.path(i);
        }
        List1->addItems(lines);
        Combo1->addItems(paths);
    });
    connect(&tracks_, &TrackList::removed, this, [this](int index) {
        delete List1->takeItem(index);
        Combo1->removeItem(index);
        showListRenumbered();
        // The entry on display moved up a place: its new number.
        if (common::InMediaMode() && index < displayedEntry_)
            showEntryNumber(displayedEntry_ - 1, QString::number(displayedEntry_));
    });
    connect(&tracks_, &TrackList::titleChanged, this, [this](int index) {
        if (QListWidgetItem* entry = List1->item(index)) entry->setText(tracks_.line(index));
    });
    // What follows the current file may have changed.
    connect(&tracks_, &TrackList::reset, this, &Form1::scheduleCue);
    connect(&tracks_, &TrackList::appended, this, &Form1::scheduleCue);
    connect(&tracks_, &TrackList::removed, this, &Form1::scheduleCue);
}

void Form1::showListRenumbered()
{
    for (int k = 0; k < List1->count(); ++k) List1->item(k)->setText(tracks_.line(k));
}

int Form1::SelectedEntry() const { return List1->currentRow(); }

bool Form1::RemoveEntry(int index)
{
    if (!tracks_.contains(index)) return false;
    // The entry the device went on to by itself sounds: it is the one playing that is removed
    // or kept, not the one that ended.
    TakeOverEndedEntry();
    tracks_.remove(index);
    showTrackCount();
    return true;
}

void Form1::dropFailedEntry(int index)
{
    tracks_.dropFailed(index);
    showTrackCount();
}

void Form1::RemoveAllEntries()
{
    tracks_.clear();
    ModuleMCI::CloseMedia(common::MediaAlias);
    Label1->clear();
    Label2->setText(common::Lang("Δέν υπάρχουν τραγούδια.", "No Tracks"));
    showEntryNumber(-1, QString());
}

// The disc's entries, titled from the catalogue where it knows the disc; artist and album only
// when every title is there.
void Form1::LoadCdTitles()
{
    auto& cd = *common::globals().CdDevice;
    Disk_Volume::IdentifyDisc();
    const int tracks = cd.GetNumTracks();
    if (tracks < 2) {
        Image17->setEnabled(false);
        return;
    }
    Image17->setEnabled(true);
    FindMissingTitles();
    const bool catalogued = Disk_Volume::CatalogueExists();
    bool complete = true;
    const QString word = common::Lang("Τραγούδι ", "Track ");
    const QList<int> audio = AudioTracks();
    QStringList titles;
    for (int t = 1; t <= tracks; ++t) {
        QString value = catalogued ? Disk_Volume::ReadValue(QStringLiteral("Track%1").arg(t)) : Disk_Volume::MissingDefault;
        if (Disk_Volume::IsMissing(value)) {
            complete = complete && !audio.contains(t);  // a data track has no title to miss
            value = word + QString::number(t);
        }
        titles << value;
    }
    tracks_.setDiscTitles(titles);
    if (complete)
        showArtistAndAlbum(Disk_Volume::ReadValue(QStringLiteral("Artist")), Disk_Volume::ReadValue(QStringLiteral("Album")),
                           false);
    else
        showArtistAndAlbum({}, {}, true);
    QString length = QString::fromLatin1(cd.GetCDLength().c_str());
    const qsizetype colon = length.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) length = length.left(colon);
    Label2->setText(common::Lang(" Διάρκεια CD: ", " CD Time: ") + length);
    ShowCdTrackInfo();
}

QStringList Form1::EntryLines() const { return tracks_.lines(); }

QStringList Form1::EntryTitles() const { return tracks_.titles(); }

QStringList Form1::EntryPaths() const { return tracks_.paths(); }

int Form1::DisplayedEntry() const { return displayedEntry_; }

// Label10 shows the entry on display by its number.
void Form1::showEntryNumber(int index, const QString& shown)
{
    displayedEntry_ = index;
    Label10->setText(shown);
}

void Form1::SetEntryTitle(int index, const QString& title) { tracks_.setTitle(index, title); }

void Form1::ShowArtistAndAlbum(const QString& artist, const QString& album) { showArtistAndAlbum(artist, album, false); }

void Form1::ShowDisplayedTitle()
{
    Label1->clear();
    Label1->setText(tracks_.title(DisplayedEntry()));
    StartMarqueeIfTooWide(235, false);
}

void Form1::FindMissingTitles()
{
    const int32_t serial = common::globals().DiscSerial;
    const int tracks = common::globals().CdDevice->GetNumTracks();
    const QList<int> audio = AudioTracks();
    // The disc on show must still be the one in the drive: found titles go under its serial.
    if (serial == 0 || tracks < 2 || Disk_Volume::SerialOfDiscInDrive() != serial || Disk_Volume::SectionComplete(serial, audio))
        return;
    Disk_Volume::WriteMissing(serial, tracks, Disk_Volume::DiscTextTitles());
    if (!Disk_Volume::SectionComplete(serial, audio) && Disk_Volume::OnlineTitlesWanted()) onlineTitles_->Lookup(serial);
}

QList<int> Form1::AudioTracks()
{
    auto& cd = *common::globals().CdDevice;
    QList<int> audio;
    for (int t = 1, tracks = cd.GetNumTracks(); t <= tracks; ++t)
        if (cd.IsAudioTrack(int16_t(t))) audio << t;
    return audio;
}

// Titles that arrive from the disc database are shown if the disc is still the one on show.
void Form1::showFoundTitles(int32_t serial)
{
    if (MessagesRun::Now()) {
        QTimer::singleShot(200, this, [this, serial] { showFoundTitles(serial); });
        return;
    }
    if (shutDown_ || common::InMediaMode() || common::globals().DiscSerial != serial) return;
    LoadCdTitles();
}

}  // namespace player

namespace player {

namespace {

constexpr int ProgressAfterMs = 500;
constexpr int TracksPerStep = 200;

}  // namespace

// Adds the files with their numbered lines. Long work shows a progress window with Cancel;
// the files added before a cancel stay.
void Form1::appendTracks(const QStringList& paths)
{
    QElapsedTimer clock;
    clock.start();
    MessagesRun running;  // a modal progress window lets messages run
    std::unique_ptr<QProgressDialog> progress;
    for (qsizetype done = 0; done < paths.size();) {
        const qsizetype end = std::min<qsizetype>(done + TracksPerStep, paths.size());
        tracks_.appendFiles(paths.mid(done, end - done));
        done = end;
        if (!progress && clock.elapsed() > ProgressAfterMs && done < paths.size()) {
            progress = std::make_unique<QProgressDialog>(common::Lang("Πρόσθεση αρχείων…", "Adding files…"),
                                                         common::Lang("Ακύρωση", "Cancel"), 0, int(paths.size()), this);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
        }
        if (progress) {
            progress->setValue(int(done));
            if (progress->wasCanceled()) break;
        }
    }
}

void Form1::showAddedCount() { Label2->setText(QString::number(tracks_.count()) + common::Lang(" τραγούδια.", " tracks.")); }

// The entry selected before an addition becomes the current one again, loaded and not playing.
void Form1::reloadPrevious(int previous)
{
    if (previous == -1 && !tracks_.isEmpty()) previous = 0;
    if (previous > -1) UpdateMP3(previous, false);
}

// Every file, hidden ones too, in the order the file system gives; no folders, no type filter.
// An album image's cue sheet stands for its tracks, and its sound file is not listed again.
QStringList Form1::folderFiles(const QString& folder) const
{
    const QStringList names = platform::FolderFileNames(folder);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names) paths << player::WithTrailingSlash(folder) + name;
    return Mp3Tag_Functions::WithImageTracks(paths);
}

void Form1::Image30_Click()
{
    if (MessagesRun::Now()) return;
    const int previous = SelectedEntry();
    const QString chosen =
        player::ChooseFile(QStringLiteral("1"), common::Lang("Επιλογή MP3 αρχείου", "Choose MP3 File"), QDir::homePath(), this);
    if (!chosen.trimmed().isEmpty() && Mp3Tag_Functions::FileExists(chosen)) {
        appendTracks({chosen});
        showAddedCount();
        reloadPrevious(previous);
    }
    LetMessagesRun();
    ResetHoverImages();
    restorePair(Image25, Image30);
}

void Form1::Image31_Click()
{
    if (MessagesRun::Now()) return;
    const int previous = SelectedEntry();
    player::ChooseFolder(this);
    const QString folder = common::globals().LastFolder.trimmed();
    if (folder.isEmpty()) return;
    appendTracks(folderFiles(folder));
    reloadPrevious(previous);
    showAddedCount();
    LetMessagesRun();
    ResetHoverImages();
    restorePair(Image24, Image31);
}

void Form1::Image28_Click()
{
    if (MessagesRun::Now()) return;
    const QString chosen =
        player::ChooseFile(QStringLiteral("2"), common::Lang("Αποθήκευση Λίστας Τραγουδιών", "Save List Track"),
                           common::ProgramFile(QStringLiteral("Lists")), this);
    QString path = chosen.trimmed();
    if (!path.isEmpty()) {
        path = TrackList::WithListExtension(path);
        const platform::SaveFailuresToldHere toldHere;
        if (!SaveTrackList(path))
            platform::ShowMessage(
                {common::Lang(QString::fromUtf8("Δεν ήταν δυνατή η αποθήκευση της λίστας ") + path + QStringLiteral("."),
                              QStringLiteral("The list could not be saved to ") + path + QStringLiteral(".")),
                 {},
                 platform::DialogIcon::Exclamation,
                 platform::DialogButtons::Ok},
                this);
    }
    LetMessagesRun();
    ResetHoverImages();
    restorePair(Image27, Image28);
}

void Form1::Image29_Click()
{
    if (MessagesRun::Now()) return;
    const QString chosen = player::ChooseFile(QStringLiteral("3"), common::Lang("Άνοιγμα Λίστας Τραγουδιών", "Open Track List"),
                                              common::ProgramFile(QStringLiteral("Lists")), this);
    if (!chosen.trimmed().isEmpty()) {
        QString path = chosen;
        LoadTrackList(path);
    }
    if (!tracks_.isEmpty()) UpdateMP3(0, false);  // also after a cancel: the first entry is loaded again
    LetMessagesRun();
    ResetHoverImages();
    restorePair(Image26, Image29);
}

}  // namespace player
