#include "player/FolderWidgets.h"
#include "platform/Drives.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

namespace player {

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
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
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
        addEntry(part, ancestor, open, ++depth);
    }
    setCurrentRow(count() - 1);
    const QStringList children = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) addEntry(child, WithTrailingSlash(path) + child, closed, depth + 1);
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
    QDir folder(path_);
    folder.setNameFilters(patterns_);
    addItems(folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
}

}  // namespace player
