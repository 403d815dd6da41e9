// The menu tree of the menu window: four popups, their items, and the English captions.

#include "shell/Form5.h"
#include "common/Globals.h"
#include "catalogue/OnlineTitles.h"

namespace shell {

namespace {

enum class Kind { Command, Check, Separator, Submenu, EndSubmenu };

struct Item {
    const char* name;
    const char* greek;
    const char* english;  // nullptr: the Greek caption stays
    Kind kind = Kind::Command;
    bool visible = true;
};

// Popup 1: the options of CD-Player mode.
const Item CdOptions[] = {
    {"hhhdgf", "&Επεξεργασία Λίστας", "&Edit List"},
    {"Dokimh1", "&Δοκιμή Τραγουδιών", "&Tracks Preview"},
    {"RipDisc", "&Αντιγραφή Δίσκου σε Αρχεία…", "&Rip Disc to Files…"},
    {"mnbmbvnm", "-", nullptr, Kind::Separator},
    {"Show_List_Menu", "Δείξε την &Λίστα Τραγουδιών", "Show List Menu", Kind::Check},
    {"TrayMenu", "Εικονίδιο στο &System Tray", "Icon to &System Tray", Kind::Check},
    {"synexeia", "&Συνέχισε να παίζεις", "&Continue", Kind::Check},
    {"Mixer_Menu", "&Mixer", "&Mixer", Kind::Check},
    {"OnlineTitles", "Τίτλοι από το &Internet", "Titles from the &Internet", Kind::Check},
    {"gfjdjooo", "-", nullptr, Kind::Separator},
    {"exit33", "&Εξοδος", "&Exit"},
};

// Popup 2: the tray menu.
const Item TrayItems[] = {
    {"epanafora", "&Επαναφορά", "Restore"},
    {"saww11", "-", nullptr, Kind::Separator},
    {"Tracks", "&Τραγούδια", "&Tracks", Kind::Submenu},
    {"ww", " ", nullptr},
    {"", "", nullptr, Kind::EndSubmenu},
    {"kjmjhkhk", "-", nullptr, Kind::Separator},
    {"play11", "&Συνέχισε...", "&Continue..."},
    {"diakoph", "&Διακοπή", "&Stop"},
    {"eject22", "&Eject", "&Eject"},
    {"asdfdaf", "-", nullptr, Kind::Separator},
    {"sxetika", "&Πληροφορίες", "&About"},
    {"asdad", "-", nullptr, Kind::Separator},
    {"ExitWithContinue", "'Εξοδος και &συνέχισε να παίζεις", "Exit and continue play", Kind::Check},
    {"exit2_2", "&Έξοδος", "Exit"},
};

// Popup 3: the options of MM-Player mode.
const Item MediaOptions[] = {
    {"Plhr_Mp3", "&Πληροφορίες Τραγουδιών", "&Tracks Info"},
    {"fga999", "-", nullptr, Kind::Separator},
    {"removefile", "Αφαίρεση Αρχείου", "Remove Track"},
    {"removeALL", "Αφαίρεση &Όλων", "Remove all"},
    {"sffsfs77", "-", nullptr, Kind::Separator},
    {"Listes1", "&Λίστες Τραγουδιών", "&Lists", Kind::Submenu},
    {"ListMenu", "n", nullptr},
    {"", "", nullptr, Kind::EndSubmenu},
    {"dfghh", "-", nullptr, Kind::Separator},
    {"RunDecoder", "&Κωδικοποιητής Αρχειών MP3", "&MP3 Encoder"},
    {"dgfdg333g", "-", nullptr, Kind::Separator},
    {"Show_List_Menu2", "Δείξε την &Λίστα Τραγουδιών", "Show List Menu", Kind::Check},
    {"eikoll", "Εικονίδιο στο &System Tray", "Icon to &System Tray", Kind::Check},
    {"synexeia2", "Συνέχισε να &παίζεις", "&Continue", Kind::Check},
    {"Mixer_Menu2", "&Mixer", "&Mixer", Kind::Check},
    {"ReplayGain", "Ομαλοποίηση Έντασης", "ReplayGain", Kind::Check},
    {"dffff5544", "-", nullptr, Kind::Separator},
    {"exitBRE", "&Έξοδος", "&Exit"},
};

// Popup 4: help.
const Item HelpItems[] = {
    {"language_menu", "&Language", nullptr, Kind::Submenu},
    {"greek_language_menu", "Greek", nullptr},
    {"english_language_menu", "English", nullptr},
    {"", "", nullptr, Kind::EndSubmenu},
    {"rytmiseis_menu", "Συσχετίσεις Αρχείων", "File Formats"},
    {"separator_t9", "-", nullptr, Kind::Separator, false},
    {"periexomena", "Περιεχόμενα", nullptr, Kind::Command, false},
    {"separator_t7", "-", nullptr, Kind::Separator},
    {"sxetikk", "Πληροφορίες Προγράμματος", "About"},
};

struct Popup {
    const char* name;
    const Item* items;
    std::size_t count;
};

const Popup Popups[] = {
    {"we", CdOptions, std::size(CdOptions)},
    {"oo", TrayItems, std::size(TrayItems)},
    {"Mp3", MediaOptions, std::size(MediaOptions)},
    {"help", HelpItems, std::size(HelpItems)},
};

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

void Form5::buildMenus()
{
    for (std::size_t p = 0; p < std::size(Popups); ++p) {
        QMenu* root = new QMenu(this);
        root->setObjectName(QString::fromLatin1(Popups[p].name));
        as87[p + 1] = root;
        QMenu* current = root;
        for (std::size_t i = 0; i < Popups[p].count; ++i) {
            const Item& it = Popups[p].items[i];
            if (it.kind == Kind::EndSubmenu) {
                current = root;
                continue;
            }
            QAction* action = nullptr;
            if (it.kind == Kind::Submenu) {
                QMenu* sub = current->addMenu(text(it.greek));
                sub->setObjectName(QString::fromLatin1(it.name));
                action = sub->menuAction();
                current = sub;
            } else if (it.kind == Kind::Separator) {
                action = current->addSeparator();
            } else {
                action = current->addAction(text(it.greek));
                action->setCheckable(it.kind == Kind::Check);
            }
            action->setObjectName(QString::fromLatin1(it.name));
            action->setVisible(it.visible);
        }
    }
    Show_List_Menu = item("Show_List_Menu");
    Show_List_Menu2 = item("Show_List_Menu2");
    TrayMenu = item("TrayMenu");
    eikoll = item("eikoll");
    synexeia = item("synexeia");
    synexeia2 = item("synexeia2");
    Mixer_Menu = item("Mixer_Menu");
    Mixer_Menu2 = item("Mixer_Menu2");
    OnlineTitles = item("OnlineTitles");
    OnlineTitles->setChecked(Disk_Volume::OnlineTitlesWanted());
    ExitWithContinue = item("ExitWithContinue");
    ExitWithContinue->setEnabled(false);
    play11 = item("play11");
    diakoph = item("diakoph");
    eject22 = item("eject22");
    sxetika = item("sxetika");
    epanafora = item("epanafora");
    as87[2]->setDefaultAction(epanafora);
    Tracks = as87[2]->findChild<QMenu*>(QStringLiteral("Tracks"));
    Listes1 = as87[3]->findChild<QMenu*>(QStringLiteral("Listes1"));
    ww = {item("ww")};
    ListMenu = {item("ListMenu")};
    connect(ww[0], &QAction::triggered, this, [this] { ww_Click(0); });
    connect(ListMenu[0], &QAction::triggered, this, [this] { ListMenu_Click(0); });
}

QAction* Form5::item(const QString& name) const
{
    for (QMenu* root : as87) {
        if (!root) continue;
        for (QAction* a : root->findChildren<QAction*>(name)) return a;
        for (QMenu* sub : root->findChildren<QMenu*>())
            if (sub->menuAction()->objectName() == name) return sub->menuAction();
    }
    return nullptr;
}

void Form5::MAKE_english()
{
    for (const Popup& popup : Popups)
        for (std::size_t i = 0; i < popup.count; ++i)
            if (popup.items[i].english)
                if (QAction* a = item(QString::fromLatin1(popup.items[i].name))) a->setText(text(popup.items[i].english));
}

}  // namespace shell
