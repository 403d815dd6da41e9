#pragma once
// The secondary windows the menus open, one routine each.

#include <QString>
#include <QStringList>

class QWidget;
namespace player {
class Form1;
}  // namespace player

namespace shell {

// The tracks preview (Form7), placed under the main window's top edge.
void OpenTracksPreview(player::Form1& main, const QString& caption);
// The tracks-info window (Form4); false when it was already open.
bool OpenTracksInfo(player::Form1& main, const QString& caption);
// The file-type associations (Form9), modal.
void OpenAssociations(player::Form1& main, const QString& caption);
// The main window comes forward, from the tray or the taskbar too.
void BringForward(player::Form1& main);
// Paths handed over from outside the window (a later start, the desktop's media controls): added
// to the list, the first of them playing, and the window forward; once any message box or chooser
// the window shows is closed. The play switch handed over plays the disc instead, the window left
// as it was; without a disc it only brings the window forward.
void OpenFromOutside(player::Form1& main, const QStringList& arguments);

// The About window (Form3); caption empty keeps its own title; disablesMain as the help item does.
QWidget* OpenAbout(player::Form1& main, const QString& caption);

}  // namespace shell
