#pragma once
// The track list: what List1 and Combo1 show. In media mode each entry is a file and its title;
// in CD mode each is a track of the disc, with a title and no file. Everything that changes the
// list goes through here; the window's list controls follow the signals.

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace player {

class TrackList : public QObject {
    Q_OBJECT
public:
    // The line an entry shows: "N. title", N counted from 1.
    static QString LineFor(int number, const QString& title);
    // The extension of the player's own list files, and the patterns of the lists it saves.
    static QString ListExtension() { return QStringLiteral(".list"); }
    static QStringList SavedListPatterns() { return {QLatin1Char('*') + ListExtension(), QStringLiteral("*.m3u8")}; }
    // A list file chosen without a four-letter extension gets ".list".
    static QString WithListExtension(const QString& path);
    static bool IsListFile(const QString& path);  // ".list", a playlist or an album image's cue sheet

    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.isEmpty(); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    QString path(int index) const;   // "" outside the list or for a disc track
    QString title(int index) const;  // "" outside the list
    QString line(int index) const;   // "" outside the list
    QStringList paths() const;       // the files, in order; none in CD mode
    QStringList lines() const;
    QStringList titles() const;

    // The entry loaded in media mode, from 0. Removing entries keeps it on the file loaded; once
    // that file itself is removed (it plays on), current() is where it stood, now the entry that
    // followed it, and that entry comes next.
    int current() const { return current_; }
    bool currentRemoved() const { return currentRemoved_; }
    // The file loaded and its title, also once it has left the list and plays on.
    QString currentPath() const { return currentRemoved_ ? removed_.path : path(current_); }
    QString currentTitle() const { return currentRemoved_ ? removed_.title : title(current_); }
    void setCurrent(int index)
    {
        current_ = index;
        currentRemoved_ = false;
    }

    // The list holds only the file the player was started with: it plays alone and is never
    // saved over the default list.
    bool singleFile() const { return singleFile_; }
    void setSingleFile() { singleFile_ = true; }

    // What follows the current entry when one file plays on into the next: the next one, the
    // first after the last; none in single-file mode or with an empty list.
    std::optional<int> successor() const;
    std::optional<int> next() const;      // without wrapping
    std::optional<int> previous() const;  // without wrapping

    // Files with their titles (read from the tags, else the file name).
    void appendFiles(const QStringList& files);
    // Files with titles already known, replacing the list.
    void setFiles(const QStringList& files, const QStringList& titles);
    // The disc's tracks, replacing the list.
    void setDiscTitles(const QStringList& titles);
    // The entry's line becomes its title under its place's number.
    void setTitle(int index, const QString& title);
    void remove(int index);  // every line is numbered again by its place
    // A file that failed to open leaves the list; the other lines keep their numbers.
    void dropFailed(int index);
    void clear();

signals:
    void reset();  // the whole list is new
    void appended(int first, int count);
    void removed(int index);  // the lines may carry new numbers
    void titleChanged(int index);

private:
    struct Entry {
        QString path;
        QString title;
        int number;  // what the line shows: its place when added or last numbered
    };
    void renewed();
    void followRemoval(int index);
    // What comes after the current entry, counted without wrapping.
    int after() const { return currentRemoved_ ? current_ : current_ + 1; }

    QList<Entry> entries_;
    int current_ = 0;
    bool currentRemoved_ = false;
    Entry removed_;  // the current entry, once removed
    bool singleFile_ = false;
};

}  // namespace player
