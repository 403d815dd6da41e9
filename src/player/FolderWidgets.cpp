#include "player/FolderWidgets.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

#include <algorithm>

namespace player {

namespace {

// What a folder shows: no hidden names, in name order whatever the case. The names are the file
// system's bytes (a name from an older system is no UTF-8), so what is chosen is found again.
QStringList shownNames(QStringList names)
{
    names.removeIf([](const QString& name) { return name.startsWith(QLatin1Char('.')); });
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

}  // namespace

QString WithTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

DriveList::DriveList(QWidget* parent) : QComboBox(parent) { addItems(platform::LocalDrives()); }

void DriveList::selectDriveOf(const QString& folder)
{
    QStringList drives;
    for (int i = 0; i < count(); ++i) drives << itemText(i);
    const int index = drives.indexOf(platform::DriveOfFolder(drives, folder));
    if (index < 0) return;
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
}

void DriveList::remember(const QString& folder)
{
    QStringList drives;
    for (int i = 0; i < count(); ++i) drives << itemText(i);
    const QString drive = platform::DriveOfFolder(drives, folder);
    if (!drive.isEmpty()) folders_[drive] = folder;
}

QString DriveList::currentFolderOf(const QString& drive) const { return folders_.value(drive, drive); }

FolderList::FolderList(QWidget* parent) : QListWidget(parent)
{
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, &FolderList::openItem);
}

bool FolderList::setPath(const QString& folder)
{
    if (folder.isEmpty() || !platform::IsFolder(folder)) return false;
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    path_ = path;
    clear();

    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QString ancestor = QStringLiteral("/");
    int depth = 0;
    auto addEntry = [this](const QString& text, const QString& full, const QIcon& icon, int indent) {
        auto* item = new QListWidgetItem(icon, QString(indent * 2, QLatin1Char(' ')) + text, this);
        item->setData(Qt::UserRole, full);
    };
    addEntry(QStringLiteral("/"), ancestor, open, 0);
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        ancestor = WithTrailingSlash(ancestor) + part;
        addEntry(platform::ReadableFileName(part), ancestor, open, ++depth);
    }
    setCurrentRow(count() - 1);
    for (const QString& child : shownNames(platform::SubfolderNames(path)))
        addEntry(platform::ReadableFileName(child), WithTrailingSlash(path) + child, closed, depth + 1);
    emit changed(path_);
    return true;
}

void FolderList::openItem(QListWidgetItem* item)
{
    if (item) setPath(item->data(Qt::UserRole).toString());
}

void FolderList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openItem(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

FileList::FileList(QWidget* parent) : QListWidget(parent) { setUniformItemSizes(true); }

void FileList::setPath(const QString& folder)
{
    path_ = folder;
    refresh();
}

// "*.*" means every file, as it does on the system the patterns come from; patterns separated
// by ";" match any of them; matching ignores case.
void FileList::setPattern(const QString& pattern)
{
    patterns_ = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& one : patterns_) one = one.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : one.trimmed();
    refresh();
}

void FileList::refresh()
{
    clear();
    if (path_.isEmpty()) return;
    QStringList names = platform::FolderFileNames(path_);
    names.removeIf([this](const QString& name) {
        return !patterns_.isEmpty() && !QDir::match(patterns_, platform::ReadableFileName(name));
    });
    addItems(shownNames(names));
}

}  // namespace player
