#include "associations/Form9.h"
#include "associations/Module1.h"
#include "common/Controls.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "platform/DesktopBridge.h"
#include "platform/Dialogs.h"

#include <QKeyEvent>

namespace associations {

using common::control;

namespace {

const QString Marker = QStringLiteral("##");
const QString Separator = QStringLiteral("  ##  ");

QString DefaultValue(const QString& key) { return GetString(HKEY_CLASSES_ROOT, key, QString()); }

// Exactly one of the drop-down's items: an entry not handled yet.
bool Offered(const QComboBox& box, const QString& entry)
{
    return box.findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
}

}  // namespace

Form9::Form9(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QString::fromUtf8("Συσχετίσεις Αρχείων") + QString(53, QLatin1Char(' ')));
    setFixedSize(344, 217);
    List1 = control<QListWidget>(this, "List1", 8, 8, 161, 199);
    Label1[1] = control<QLabel>(this, "Label1_1", 192, 16, 145, 17);
    Label1[1]->setText(QString::fromUtf8("Προέκταση Αρχείου:"));
    Combo1 = control<QComboBox>(this, "Combo1", 192, 32, 145, 21);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Label1[0] = control<QLabel>(this, "Label1_0", 192, 72, 145, 17);
    Label1[0]->setText(QString::fromUtf8("Περιγραφή:"));
    Text1 = control<QLineEdit>(this, "Text1", 192, 88, 145, 19);
    Command2 = control<QPushButton>(this, "Command2", 192, 128, 87, 22);
    Command2->setText(QString::fromUtf8("Διαγραφή"));
    Command1 = control<QPushButton>(this, "Command1", 248, 184, 87, 22);
    Command1->setText(QString::fromUtf8("Πρόσθεση"));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    // Entries are chosen from the list or put there from List1, never typed.
    Combo1->installEventFilter(this);
    Combo1->lineEdit()->installEventFilter(this);
    connect(Combo1, &QComboBox::activated, this, &Form9::Combo1_Click);
    connect(List1, &QListWidget::itemClicked, this, &Form9::List1_Click);
    // A selection moved with the keyboard acts as a click does.
    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &Form9::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form9::Command2_Click);

    // Load.
    if (!common::globals().LanguageGreek) MAKE_english();
    common::globals().DialogOpen = true;
    CheckPoiaEinaiHDH();
    Combo1->setEditText(QString());
}

void Form9::MAKE_english()
{
    Label1[1]->setText(QStringLiteral("Extension"));
    Label1[0]->setText(QStringLiteral("Description"));
    Command2->setText(QStringLiteral("Delete"));
    Command1->setText(QStringLiteral("Add"));
}

void Form9::CheckPoiaEinaiHDH()
{
    Combo1->clear();
    List1->clear();
    for (const QString& entry : TypeTable) Combo1->addItem(entry);
    QString expected = OpenCommandLine().toLower();
    for (int i = int(TypeTable.size()) - 1; i >= 0; --i) {
        const QString entry = Combo1->itemText(i);
        const QString type = DefaultValue(entry);
        const QString description = DefaultValue(type);
        QString key = type + QStringLiteral("\\shell\\open\\command");
        if (i == 0) {
            expected = PlayCommandLine().toLower();
            key = type + QStringLiteral("\\shell\\play\\command");
        }
        if (DefaultValue(key).toLower() == expected) {
            List1->addItem(entry + Separator + description);
            Combo1->removeItem(i);
        }
    }
    // A cleared box shows no entry until one is chosen.
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
}

void Form9::Combo1_Click(int index)
{
    AssocTypeName = DefaultValue(Combo1->itemText(index));
    Text1->setText(DefaultValue(AssocTypeName));
}

void Form9::List1_Click()
{
    const QListWidgetItem* item = List1->currentItem();
    if (!item) return;
    const QString text = item->text();
    const qsizetype marker = text.indexOf(Marker);
    Combo1->setEditText(text.left(marker).trimmed());
    Text1->setText(text.mid(marker + Marker.size()).trimmed());
}

void Form9::Command1_Click()
{
    const QString entry = Combo1->currentText();
    if (entry.trimmed().isEmpty()) return;
    if (!Offered(*Combo1, entry)) {
        platform::ShowMessage({common::Lang("Ήδη υπάρχει συσχέτιση για αυτό το αρχειο.", "This file is already associated."),
                               QString(), platform::DialogIcon::None, platform::DialogButtons::Ok},
                              this);
        return;
    }
    if (AssocTypeName.isEmpty()) AssocTypeName = QStringLiteral("Cantorine_") + entry;
    FileTypeRecord record;
    record.extension = entry;
    record.typeName = AssocTypeName;
    record.description = Text1->text();
    const bool disc = entry == AudioDiscEntry;
    record.contentType = disc ? AudioDiscEntry : QStringLiteral("Cantorine Audio File");
    record.verbs = {disc ? QStringLiteral("play") : QStringLiteral("Open")};
    record.commandLines = {disc ? PlayCommandLine() : OpenCommandLine()};
    CreateAssociation(record);
    Text1->clear();
    CheckPoiaEinaiHDH();
    reflectOnDesktop();
}

void Form9::Command2_Click()
{
    if (List1->selectedItems().isEmpty()) return;
    const QString entry = Combo1->currentText();
    const QString type = DefaultValue(entry);
    // The audio disc's play command goes as a file type's open command does.
    const QString verb = entry == AudioDiscEntry ? QStringLiteral("play") : QStringLiteral("open");
    DeleteValue(HKEY_CLASSES_ROOT, type + QStringLiteral("\\shell\\") + verb + QStringLiteral("\\command"), QString());
    Text1->clear();
    CheckPoiaEinaiHDH();
    reflectOnDesktop();
}

// The desktop follows what the store now says, entry by entry.
void Form9::reflectOnDesktop()
{
    std::vector<platform::desktop::Association> entries;
    for (const QString& entry : TypeTable) entries.push_back({entry, !Offered(*Combo1, entry)});
    platform::desktop::Reflect(entries, ProgramPath());
}

bool Form9::eventFilter(QObject* watched, QEvent* event)
{
    const bool typing = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
                        event->type() == QEvent::ShortcutOverride || event->type() == QEvent::InputMethod;
    if (typing && (watched == Combo1 || watched == Combo1->lineEdit())) return true;
    return QDialog::eventFilter(watched, event);
}

void Form9::done(int result)
{
    common::globals().DialogOpen = false;
    QDialog::done(result);
}

void ShowAssociations(QWidget* parent, const QString& caption)
{
    Form9 window(parent);
    window.setWindowTitle(caption);
    window.exec();
}

}  // namespace associations
