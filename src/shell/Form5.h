#pragma once
// The hidden menu window: it owns the four popups, the tray icon and the option check marks,
// and stands for the program on the taskbar while the main window is hidden.

#include "player/MenuWindow.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <array>
#include <memory>

namespace player {
class Form1;
}  // namespace player
namespace meter {
class Form8;
}  // namespace meter
namespace encoder {
class EncoderWindow;
}  // namespace encoder

namespace shell {

class Form5 : public QWidget, public player::MenuWindow {
    Q_OBJECT
public:
    explicit Form5(player::Form1* mainWindow);
    ~Form5() override;

    // MenuWindow
    void Show_List_Menu_Click() override;
    void Mixer_Menu_Click() override;
    void TrayMenu_Click() override;
    void synexeia_Click() override;
    void RemoveSelectedTrack() override { removefile_Click(); }
    void ShowAbout() override { sxetikk_Click(); }
    void OnlineTitles_Click();
    bool TrayChecked() const override { return TrayMenu->isChecked(); }
    bool TrayIconShown() const override;
    bool MixerChecked() const override { return Mixer_Menu->isChecked(); }
    bool ExitWithContinueChecked() const override { return ExitWithContinue->isChecked(); }
    void SetCaption(const QString& caption) override { setWindowTitle(caption); }
    QString Caption() const override { return windowTitle(); }
    void ClearTracksSubmenu() override;
    void ShowMinimizedEntry() override;
    void Unload() override;
    void PopupMenu(int element, QPoint at) override;
    void DockMeter() override;
    void HideMeter() override;

    void MAKE_english();
    void AddTrayIcon();
    void as87_Click(int index);
    void ListMenu_Click(int index);
    void ww_Click(int index);
    void TrayLeftClick();   // the icon's left button
    void TrayRightClick();  // the icon's right button: prepares the tray menu
    void epanafora_Click();
    void exitProgram();  // closes the main window and ends the run

    // Popups 1..4; element 0 unused.
    std::array<QMenu*, 5> as87{};
    // Every item by its name; separators too.
    QAction* item(const QString& name) const;

    // The items other windows and the tests read.
    QAction *Show_List_Menu, *Show_List_Menu2, *TrayMenu, *eikoll, *synexeia, *synexeia2, *Mixer_Menu, *Mixer_Menu2,
        *OnlineTitles;
    QAction *ExitWithContinue, *play11, *diakoph, *eject22, *sxetika, *epanafora;
    QMenu* Tracks;   // the tray's tracks submenu (ww)
    QMenu* Listes1;  // the saved lists (ListMenu)
    QList<QAction*> ww;
    QList<QAction*> ListMenu;
    std::unique_ptr<QSystemTrayIcon> TrayIcon;
    QPointer<meter::Form8> Meter;              // the level meter while it is loaded
    QPointer<encoder::EncoderWindow> Encoder;  // the encoder window while it is open

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void connectCommands();
    void prepareTrayMenu();
    void rebuildSavedLists();
    void deleteTrayIcon();
    void restoreMainWindow();
    // The commands that open other windows.
    void hhhdgf_Click();
    void Dokimh1_Click();
    void Plhr_Mp3_Click();
    void rytmiseis_menu_Click();
    void sxetika_Click();
    void sxetikk_Click();
    void removefile_Click();
    void removeALL_Click();
    void RunDecoder_Click();
    void RipDisc_Click();
    void ReplayGain_Click();
    void showEncoder(encoder::EncoderWindow* window);
    void greek_language_menu_Click();
    void english_language_menu_Click();
    bool discHasTracks(const char* greekMessage);

    player::Form1* main_;
};

}  // namespace shell
