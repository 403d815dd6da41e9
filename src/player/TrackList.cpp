#include "player/TrackList.h"
#include "metadata/AlbumImage.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "metadata/Playlists.h"

namespace player {

QString TrackList::LineFor(int number, const QString& title) { return QString::number(number) + QStringLiteral(". ") + title; }

QString TrackList::WithListExtension(const QString& path)
{
    if (path.size() >= 5 && path[path.size() - 5] == QLatin1Char('.')) return path;
    return path + ListExtension();
}

bool TrackList::IsListFile(const QString& path)
{
    return Mp3Tag_Functions::IsPlaylist(path) || path.endsWith(ListExtension(), Qt::CaseInsensitive) ||
           Mp3Tag_Functions::IsAlbumSheet(path);
}

QString TrackList::path(int index) const { return contains(index) ? entries_[index].path : QString(); }

QString TrackList::title(int index) const { return contains(index) ? entries_[index].title : QString(); }

QString TrackList::line(int index) const
{
    return contains(index) ? LineFor(entries_[index].number, entries_[index].title) : QString();
}

QStringList TrackList::paths() const
{
    QStringList out;
    for (const Entry& e : entries_)
        if (!e.path.isEmpty()) out << e.path;
    return out;
}

QStringList TrackList::lines() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i) out << line(i);
    return out;
}

QStringList TrackList::titles() const
{
    QStringList out;
    for (const Entry& e : entries_) out << e.title;
    return out;
}

std::optional<int> TrackList::successor() const
{
    if (singleFile_ || isEmpty()) return std::nullopt;
    return after() >= count() ? 0 : after();
}

std::optional<int> TrackList::next() const
{
    if (after() >= count()) return std::nullopt;
    return after();
}

std::optional<int> TrackList::previous() const
{
    if (current_ - 1 < 0) return std::nullopt;
    return current_ - 1;
}

void TrackList::appendFiles(const QStringList& files)
{
    if (files.isEmpty()) return;
    const int first = count();
    for (const QString& file : files) entries_.append({file, Mp3Tag_Functions::TrackNameFromFile(file), count() + 1});
    emit appended(first, int(files.size()));
}

void TrackList::setFiles(const QStringList& files, const QStringList& titles)
{
    entries_.clear();
    for (qsizetype i = 0; i < files.size(); ++i) entries_.append({files[i], titles.value(i), count() + 1});
    renewed();
}

void TrackList::setDiscTitles(const QStringList& titles)
{
    entries_.clear();
    for (const QString& title : titles) entries_.append({QString(), title, count() + 1});
    renewed();
}

void TrackList::setTitle(int index, const QString& title)
{
    if (!contains(index)) return;
    entries_[index].title = title;
    entries_[index].number = index + 1;
    emit titleChanged(index);
}

void TrackList::remove(int index)
{
    if (!contains(index)) return;
    followRemoval(index);
    entries_.removeAt(index);
    for (int k = 0; k < count(); ++k) entries_[k].number = k + 1;
    emit removed(index);
}

void TrackList::dropFailed(int index)
{
    if (!contains(index)) return;
    followRemoval(index);
    entries_.removeAt(index);
    emit removed(index);
}

// A whole new list: nothing loaded from it has been removed.
void TrackList::renewed()
{
    currentRemoved_ = false;
    emit reset();
}

// Without this, the entry after a removed one would be skipped: the index would name it. Called
// while the entry is still in the list.
void TrackList::followRemoval(int index)
{
    if (index < current_) {
        --current_;
    } else if (index == current_ && !currentRemoved_) {
        currentRemoved_ = true;
        removed_ = entries_[index];
    }
}

void TrackList::clear()
{
    entries_.clear();
    renewed();
}

}  // namespace player
