// Files, folders and playlists dragged onto the window from a file manager.

#include "player/Form1.h"
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
        if (url.isLocalFile() && QFileInfo::exists(url.toLocalFile())) paths << url.toLocalFile();
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

void Form1::DropPaths(const QStringList& paths)
{
    if (MessagesRun::Now() || paths.isEmpty()) return;
    if (!common::InMediaMode()) {
        Option1->setChecked(true);
        Option1_Click();
    }
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
        const QFileInfo info(path);
        if (info.isDir()) {
            files << folderFiles(path);
        } else if (TrackList::IsListFile(path) && paths.size() == 1) {
            // A list dropped alone is opened, as Open List opens it.
            QString list = path;
            LoadTrackList(list);
            previous = 0;
        } else if (TrackList::IsListFile(path)) {
            // Among other files its entries are added with them, in the order dropped.
            for (const Mp3Tag_Functions::ListEntry& entry : Mp3Tag_Functions::ReadListFile(path))
                if (Mp3Tag_Functions::FileExists(entry.path)) files << entry.path;
        } else if (Mp3Tag_Functions::FileExists(path)) {
            files << path;
        }
    }
    addFiles();
    if (added) showAddedCount();
    reloadPrevious(previous);
    LetMessagesRun();
}

}  // namespace player
