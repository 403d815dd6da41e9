// The track list: the two list controls and the list files behind them.

#include "player/Form1.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"
#include "media/CDAudio.h"
#include "catalogue/Disk_Volume.h"
#include "catalogue/FoundTitles.h"
#include "catalogue/OnlineTitles.h"
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
    if (List1->count() == 0) return true;
    if (path.isEmpty()) path = common::ProgramFile(QStringLiteral("Default.list"));
    QStringList paths;
    for (int i = 0; i < List1->count(); ++i) paths << Combo1->itemText(i);
    return Mp3Tag_Functions::WriteListFile(path, paths);
}

void Form1::LoadTrackList(QString& path)
{
    if (path.isEmpty()) path = common::ProgramFile(QStringLiteral("Default.list"));
    List1->clear();
    Combo1->clear();
    const auto entries = Mp3Tag_Functions::ReadListFile(path);
    QStringList lines;
    QStringList paths;
    lines.reserve(entries.size());
    for (const auto& entry : entries) {
        lines << QString::number(lines.size() + 1) + QStringLiteral(". ") + entry.name;
        paths << entry.path;
    }
    List1->addItems(lines);
    Combo1->addItems(paths);
    if (List1->count() == 0) {
        Label1->setText(common::Lang("Μή έγκυρη λίστα τραγούδιων.", "No list"));
        Label2->clear();
    } else {
        Label2->setText(common::Lang("Τραγούδια: ", "Tracks: ") + QString::number(List1->count()));
    }
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
    List1->clear();
    const bool catalogued = Disk_Volume::CatalogueExists();
    bool complete = true;
    const QString word = common::Lang("Τραγούδι ", "Track ");
    const QList<int> audio = AudioTracks();
    QStringList lines;
    for (int t = 1; t <= tracks; ++t) {
        QString value = catalogued ? Disk_Volume::ReadValue(QStringLiteral("Track%1").arg(t)) : Disk_Volume::MissingDefault;
        if (Disk_Volume::IsMissing(value)) {
            complete = complete && !audio.contains(t);  // a data track has no title to miss
            value = word + QString::number(t);
        }
        lines << QString::number(t) + QStringLiteral(". ") + value;
    }
    List1->addItems(lines);
    if (complete) showArtistAndAlbum(Disk_Volume::ReadValue(QStringLiteral("Artist")), Disk_Volume::ReadValue(QStringLiteral("Album")), false);
    else showArtistAndAlbum({}, {}, true);
    QString length = QString::fromLatin1(cd.GetCDLength().c_str());
    const qsizetype colon = length.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) length = length.left(colon);
    Label2->setText(common::Lang(" Διάρκεια CD: ", " CD Time: ") + length);
    ShowCdTrackInfo();
}

QStringList Form1::EntryLines() const
{
    QStringList lines;
    for (int i = 0; i < List1->count(); ++i) lines << List1->item(i)->text();
    return lines;
}

QStringList Form1::EntryPaths() const
{
    QStringList paths;
    for (int i = 0; i < Combo1->count(); ++i) paths << Combo1->itemText(i);
    return paths;
}

int Form1::DisplayedEntry() const { return Label10->text().toInt() - 1; }

void Form1::SetEntryLine(int index, const QString& line)
{
    if (QListWidgetItem* entry = List1->item(index)) entry->setText(line);
}

void Form1::ShowArtistAndAlbum(const QString& artist, const QString& album) { showArtistAndAlbum(artist, album, false); }

void Form1::ShowDisplayedTitle()
{
    Label1->clear();
    const QListWidgetItem* entry = List1->item(DisplayedEntry());
    Label1->setText(entry ? Mp3Tag_Functions::EntryTitle(entry->text()) : QString());
    StartMarqueeIfTooWide(235, false);
}

void Form1::FindMissingTitles()
{
    const int32_t serial = common::globals().DiscSerial;
    const int tracks = common::globals().CdDevice->GetNumTracks();
    const QList<int> audio = AudioTracks();
    // The disc on show must still be the one in the drive: found titles go under its serial.
    if (serial == 0 || tracks < 2 || Disk_Volume::SerialOfDiscInDrive() != serial || Disk_Volume::SectionComplete(serial, audio)) return;
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

} // namespace player

namespace player {

namespace {


QString numberedLine(int number, const QString& path)
{
    return QString::number(number) + QStringLiteral(". ") + Mp3Tag_Functions::TrackNameFromFile(path);
}

constexpr int ProgressAfterMs = 500;
constexpr int TracksPerStep = 200;

} // namespace

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
        QStringList lines;
        for (qsizetype i = done; i < end; ++i) lines << numberedLine(int(List1->count() + lines.size() + 1), paths[i]);
        List1->addItems(lines);
        Combo1->addItems(paths.mid(done, end - done));
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

void Form1::showAddedCount()
{
    Label2->setText(QString::number(List1->count()) + common::Lang(" τραγούδια.", " tracks."));
}

// The entry selected before an addition becomes the current one again, loaded and not playing.
void Form1::reloadPrevious(int previous)
{
    if (previous == -1 && List1->count() > 0) previous = 0;
    if (previous > -1) UpdateMP3(previous, false);
}

// Every file, hidden ones too, in the order the file system gives; no folders, no type filter.
QStringList Form1::folderFiles(const QString& folder) const
{
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names) paths << player::WithTrailingSlash(folder) + name;
    return paths;
}

void Form1::Image30_Click()
{
    if (MessagesRun::Now()) return;
    const int previous = List1->currentRow();
    const QString chosen = player::ChooseFile(QStringLiteral("1"), common::Lang("Επιλογή MP3 αρχείου", "Choose MP3 File"),
                                             QDir::homePath(), this);
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
    const int previous = List1->currentRow();
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
    const QString chosen = player::ChooseFile(QStringLiteral("2"), common::Lang("Αποθήκευση Λίστας Τραγουδιών", "Save List Track"),
                                             common::ProgramFile(QStringLiteral("Lists")), this);
    QString path = chosen.trimmed();
    if (!path.isEmpty()) {
        if (path.size() < 5 || path[path.size() - 5] != QLatin1Char('.')) path += QStringLiteral(".list");
        const platform::SaveFailuresToldHere toldHere;
        if (!SaveTrackList(path))
            platform::ShowMessage({common::Lang(QString::fromUtf8("Δεν ήταν δυνατή η αποθήκευση της λίστας ") + path + QStringLiteral("."),
                                                QStringLiteral("The list could not be saved to ") + path + QStringLiteral(".")),
                                   {}, platform::DialogIcon::Exclamation, platform::DialogButtons::Ok},
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
    if (List1->count() > 0) UpdateMP3(0, false);  // also after a cancel: the first entry is loaded again
    LetMessagesRun();
    ResetHoverImages();
    restorePair(Image26, Image29);
}

} // namespace player
