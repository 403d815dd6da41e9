#pragma once
// What the main window asks of the menu window (Form5), which owns the option check marks.

#include <QPoint>
#include <QString>

namespace player {

class MenuWindow {
public:
    virtual ~MenuWindow() = default;
    virtual void Show_List_Menu_Click() = 0;
    virtual void Mixer_Menu_Click() = 0;
    virtual void TrayMenu_Click() = 0;
    virtual void synexeia_Click() = 0;
    virtual bool TrayChecked() const = 0;
    // The tray icon is there to bring the window back (tray mode on, and a tray to show it in).
    virtual bool TrayIconShown() const = 0;
    virtual bool MixerChecked() const = 0;
    virtual bool ExitWithContinueChecked() const = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual QString Caption() const = 0;
    virtual void ClearTracksSubmenu() = 0;
    // The program's taskbar entry while the main window is hidden.
    virtual void ShowMinimizedEntry() = 0;
    virtual void Unload() = 0;
    // Pops up element 1..4 of the menu array at a screen position; returns when it closes.
    virtual void PopupMenu(int element, QPoint at) = 0;
    // The level meter window: placed beside the main window, or hidden with it.
    virtual void DockMeter() = 0;
    virtual void HideMeter() = 0;
    // The media options' Remove Track, with its question; the help menu's About.
    virtual void RemoveSelectedTrack() = 0;
    virtual void ShowAbout() = 0;

    // What stands for the menu window once it is unloaded: every call does nothing, so an event
    // that arrives after the shutdown reaches no unloaded window.
    static MenuWindow& Unloaded();
};

}  // namespace player
