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
};

// Lets pending window messages run, with the entry points closed meanwhile.
void LetMessagesRun();

}  // namespace player
