#include "shell/Form5.h"
#include "player/Form1.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "common/ProgramFolder.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>

namespace shell {

Form5::Form5(player::Form1* mainWindow) : QWidget(nullptr, Qt::Window), main_(mainWindow)
{
    setObjectName(QStringLiteral("Form5"));
    Show_List_Menu = checkItem("Show_List_Menu", QString::fromUtf8("Λίστα Τραγουδιών"));
    Show_List_Menu2 = checkItem("Show_List_Menu2", QString::fromUtf8("Λίστα Τραγουδιών"));
    TrayMenu = checkItem("TrayMenu", QString::fromUtf8("Στο System Tray"));
    eikoll = checkItem("eikoll", QString::fromUtf8("Στο System Tray"));
    synexeia = checkItem("synexeia", QString::fromUtf8("Συνεχής εκτέλεση"));
    synexeia2 = checkItem("synexeia2", QString::fromUtf8("Συνεχής εκτέλεση"));
    Mixer_Menu = checkItem("Mixer_Menu", QStringLiteral("Mixer"));
    Mixer_Menu2 = checkItem("Mixer_Menu2", QStringLiteral("Mixer"));
    ExitWithContinue = checkItem("ExitWithContinue", QString::fromUtf8("Έξοδος και συνέχεια"));
    if (!common::globals().LanguageGreek) MAKE_english();

    const QString lists = common::ProgramFile(QStringLiteral("Lists"));
    if (!QFileInfo(lists).isDir()) QDir().mkpath(lists);
    setWindowIcon(main_->windowIcon());
    move(-200, -200);  // off the screen
}

QAction* Form5::checkItem(const char* name, const QString& text)
{
    QAction* action = options_.addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    return action;
}

void Form5::MAKE_english()
{
    for (QAction* a : {Show_List_Menu, Show_List_Menu2}) a->setText(QStringLiteral("Track's List"));
    for (QAction* a : {TrayMenu, eikoll}) a->setText(QStringLiteral("In System Tray"));
    for (QAction* a : {synexeia, synexeia2}) a->setText(QStringLiteral("Continuous play"));
    ExitWithContinue->setText(QStringLiteral("Exit and continue"));
}

void Form5::Show_List_Menu_Click()
{
    auto& g = common::globals();
    const bool show = !Show_List_Menu->isChecked();
    g.ListShown = show;
    Show_List_Menu->setChecked(show);
    Show_List_Menu2->setChecked(show);
    main_->SetListPanelShown(show);
    main_->Check1->setToolTip(show ? common::Lang("Απόκρυψη Λίστας Τραγουδιών", "Hide Track's List")
                                   : common::Lang("Εμφάνιση Λίστας Τραγουδιών", "Show Track's List"));
    g.UserListClick = false;
    main_->Check1->setChecked(show);
    main_->Check1->setText(show ? QString::fromUtf8("Λ") : QStringLiteral("V"));
    g.UserListClick = true;
}

// The meter window comes with its own part of the program; the check marks already switch.
void Form5::Mixer_Menu_Click()
{
    const bool on = !Mixer_Menu->isChecked();
    Mixer_Menu->setChecked(on);
    Mixer_Menu2->setChecked(on);
}

void Form5::TrayMenu_Click()
{
    const bool on = !TrayMenu->isChecked();
    TrayMenu->setChecked(on);
    eikoll->setChecked(on);
}

void Form5::synexeia_Click()
{
    const bool on = !synexeia->isChecked();
    synexeia->setChecked(on);
    synexeia2->setChecked(on);
    common::globals().ContinueChecked = on ? 1 : 0;
}

void Form5::ShowMinimizedEntry()
{
    move(100, 100);
    showMinimized();
}

// The options popup of either mode; the help popup comes with the rest of the menu tree.
void Form5::PopupMenu(int element, QPoint at)
{
    if (element == 1 || element == 3) options_.exec(at);
}

// Restoring the taskbar entry brings the main window back and hides the entry again.
void Form5::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isVisible() || isMinimized()) return;
    hide();
    main_->show();
    main_->activateWindow();
}

void Form5::Unload()
{
    hide();
    deleteLater();
}

} // namespace shell
