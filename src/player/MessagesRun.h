#pragma once
// A routine of the main window that lets pending window messages run in the middle of its work
// (a video window shown, a message box, a long list added) must not have a click, a tick, a tray
// item or a desktop media-controls call start a second routine inside it. While such a routine's
// messages run, MessagesRun::Now() holds, and the entry points that would start another routine
// are dropped instead of nested.

namespace player {

class MessagesRun {
public:
    MessagesRun();
    ~MessagesRun();
    MessagesRun(const MessagesRun&) = delete;
    MessagesRun& operator=(const MessagesRun&) = delete;

    // True while some routine lets messages run: an entry point returns at once.
    static bool Now();
    // True when what lets messages run is only a file or folder chooser: the window's state is
    // whole, so the tick may still show the time; only what would change the entry waits.
    static bool OnlyChooserOpen();
};

// A file or folder chooser's own loop runs: the entry points are closed as for MessagesRun.
class ChooserOpen {
public:
    ChooserOpen();
    ~ChooserOpen();
    ChooserOpen(const ChooserOpen&) = delete;
    ChooserOpen& operator=(const ChooserOpen&) = delete;

private:
    MessagesRun running_;
};

// Lets pending window messages run, with the entry points closed meanwhile.
void LetMessagesRun();

}  // namespace player
