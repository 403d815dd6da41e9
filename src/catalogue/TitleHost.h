#pragma once
// What the title editor needs of the window whose disc titles it edits; the main window
// provides it, so the editor never reaches into that window's controls.

#include <QStringList>

class QWidget;

namespace catalogue {

class TitleHost {
public:
    virtual ~TitleHost() = default;
    virtual QWidget& HostWindow() = 0;
    // The entries' titles, without their numbers.
    virtual QStringList EntryTitles() const = 0;
    // The entry on display, from 0; -1 for none.
    virtual int DisplayedEntry() const = 0;
    virtual void SetEntryTitle(int index, const QString& title) = 0;
    virtual void ShowArtistAndAlbum(const QString& artist, const QString& album) = 0;
    // The title line shows the displayed entry's title again, scrolling when too wide.
    virtual void ShowDisplayedTitle() = 0;
};

}  // namespace catalogue
