#pragma once
// The three lists the choosers are made of: drives, the folder tree around one folder, and the
// files of a folder matching a pattern.

#include <QComboBox>
#include <QListWidget>
#include <QMap>

namespace player {

// Drive1: the home folder and the mount points; remembers the folder last shown on each.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent);
    QString drive() const { return currentText(); }
    // Selects the drive the folder lies on, without signalling a change.
    void selectDriveOf(const QString& folder);
    void remember(const QString& folder);
    QString currentFolderOf(const QString& drive) const;

private:
    QMap<QString, QString> folders_;
};

// Dir1: the folder's ancestors from "/" down to it, then its subfolders. A double click or
// Enter opens the entry.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent);
    QString path() const { return path_; }
    // False (and nothing changes) when folder is not an existing folder.
    bool setPath(const QString& folder);

signals:
    void changed(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openItem(QListWidgetItem* item);
    QString path_;
};

// File1: the files of one folder that match the pattern, sorted by name.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent);
    QString path() const { return path_; }
    void setPath(const QString& folder);
    void setPattern(const QString& pattern);

private:
    void refresh();
    QString path_;
    QStringList patterns_{QStringLiteral("*")};
};

// The folder with a trailing "/" ("/" stays "/").
QString WithTrailingSlash(const QString& folder);

}  // namespace player
