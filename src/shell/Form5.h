#pragma once
// The hidden menu window: it owns the menus, the tray icon and the option check marks.

#include "player/MenuWindow.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace player { class Form1; }

namespace shell {

class Form5 : public QWidget, public player::MenuWindow {
    Q_OBJECT
public:
    explicit Form5(player::Form1* mainWindow);

    void Show_List_Menu_Click() override;
    void Mixer_Menu_Click() override;
    void TrayMenu_Click() override;
    void synexeia_Click() override;
    bool TrayChecked() const override { return TrayMenu->isChecked(); }
    bool MixerChecked() const override { return Mixer_Menu->isChecked(); }
    bool ExitWithContinueChecked() const override { return ExitWithContinue->isChecked(); }
    void SetCaption(const QString& caption) override { setWindowTitle(caption); }
    QString Caption() const override { return windowTitle(); }
    void ClearTracksSubmenu() override {}
    void ShowMinimizedEntry() override;
    void Unload() override;
    void PopupMenu(int element, QPoint at) override;
    void DockMeter() override {}
    void HideMeter() override {}

    // The check items and their twins in the second menu.
    QAction* Show_List_Menu;
    QAction* Show_List_Menu2;
    QAction* TrayMenu;
    QAction* eikoll;
    QAction* synexeia;
    QAction* synexeia2;
    QAction* Mixer_Menu;
    QAction* Mixer_Menu2;
    QAction* ExitWithContinue;

protected:
    void changeEvent(QEvent* event) override;

private:
    QAction* checkItem(const char* name, const QString& text);
    void MAKE_english();

    player::Form1* main_;
    QMenu options_;
};

} // namespace shell
