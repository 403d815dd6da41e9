// Files, folders and playlists dragged onto the window from a file manager.

#include "player/Form1.h"
#include "platform/FileNames.h"
#include "player/MessagesRun.h"
#include "common/Globals.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "metadata/Playlists.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace player {

namespace {

// The local files and folders a drag carries; remote URLs and text are not ours to add.
QStringList localPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (const QString path = platform::LocalFileOf(url); !path.isEmpty() && platform::PathExists(path)) paths << path;
    return paths;
}

void acceptWhenLocal(QDropEvent* event)
{
    if (!localPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

}  // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) { acceptWhenLocal(event); }

void Form1::dragMoveEvent(QDragMoveEvent* event) { acceptWhenLocal(event); }

void Form1::dropEvent(QDropEvent* event)
{
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty() || MessagesRun::Now()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    DropPaths(paths);
}

void Form1::enterMediaMode()
{
    if (common::InMediaMode()) return;
    Option1->setChecked(true);
    Option1_Click();
}

// The files a path stands for: a folder's files, a playlist's entries that exist, or the file.
QStringList Form1::filesIn(const QString& path) const
{
    if (platform::IsFolder(path)) return folderFiles(path);
    if (!TrackList::IsListFile(path)) return Mp3Tag_Functions::FileExists(path) ? QStringList{path} : QStringList{};
    QStringList files;
    for (const Mp3Tag_Functions::ListEntry& entry : Mp3Tag_Functions::ReadListFile(path))
        if (Mp3Tag_Functions::ListEntryExists(entry.path)) files << entry.path;
    return files;
}

void Form1::OpenAtStart(const QStringList& paths)
{
    for (const QString& path : paths) openAtStart_ << filesIn(path);
}

void Form1::OpenPaths(const QStringList& paths, Opening how)
{
    if (MessagesRun::Now()) return;
    QStringList files;
    for (const QString& path : paths) files << filesIn(path);
    if (files.isEmpty()) return;
    enterMediaMode();
    if (how == Opening::Replace) tracks_.clear();
    addAndPlayFirst(files);
}

// The files follow the list and the first of them plays.
void Form1::addAndPlayFirst(const QStringList& files)
{
    const int first = tracks_.count();
    appendTracks(files);
    showTrackCount();
    if (tracks_.contains(first)) UpdateMP3(first, true);
}

void Form1::DropPaths(const QStringList& paths)
{
    if (MessagesRun::Now() || paths.isEmpty()) return;
    enterMediaMode();
    int previous = SelectedEntry();
    QStringList files;
    bool added = false;
    const auto addFiles = [&] {
        if (files.isEmpty()) return;
        appendTracks(files);
        files.clear();
        added = true;
    };
    for (const QString& path : paths) {
        if (TrackList::IsListFile(path) && paths.size() == 1) {
            // A list dropped alone is opened, as Open List opens it.
            QString list = path;
            LoadTrackList(list);
            previous = 0;
        } else {
            // Among other files a list's entries are added with them, in the order dropped.
            files << filesIn(path);
        }
    }
    addFiles();
    if (added) showAddedCount();
    reloadPrevious(previous);
    LetMessagesRun();
}

}  // namespace player
