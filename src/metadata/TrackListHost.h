#pragma once
// What the tracks-info window needs of the window whose track list it shows; the main window
// provides it, so the window never reaches into that window's controls.

#include <QStringList>

class QWidget;

namespace metadata {

class TrackListHost {
public:
    virtual ~TrackListHost() = default;
    virtual QWidget& HostWindow() = 0;
    // The list's lines as shown ("1. Title") and the files behind them, in the same order.
    virtual QStringList EntryLines() const = 0;
    virtual QStringList EntryPaths() const = 0;
    // The entry on display, from 0; -1 for none.
    virtual int DisplayedEntry() const = 0;
    // The entry's title changes; its line shows it under the entry's number.
    virtual void SetEntryTitle(int index, const QString& title) = 0;
};

}  // namespace metadata
