#include "catalogue/Form2.h"
#include "common/Controls.h"
#include "catalogue/Disk_Volume.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "media/CDAudio.h"
#include "platform/Dialogs.h"

#include <QCloseEvent>
#include <QTimer>

namespace catalogue {

using common::control;

Form2::Form2(TitleHost& host) : QWidget(&host.HostWindow(), Qt::Window | Qt::WindowCloseButtonHint), host_(host)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("Λίστα Τραγουδιών"));
    setFixedSize(330, 300);
    Combo1 = control<QListWidget>(this, "Combo1", 8, 8, 314, 150);
    Text1 = control<QLineEdit>(this, "Text1", 8, 164, 220, 22);
    Command1 = control<QPushButton>(this, "Command1", 234, 163, 88, 24);
    Command1->setText(QString::fromUtf8("Καταχώρηση"));
    Label2 = control<QLabel>(this, "Label2", 8, 196, 100, 20);
    Label2->setText(QString::fromUtf8("Καλλιτέχνης:"));
    Text2 = control<QLineEdit>(this, "Text2", 110, 195, 212, 22);
    Label3 = control<QLabel>(this, "Label3", 8, 224, 100, 20);
    Label3->setText(QString::fromUtf8("Τίτλος Album:"));
    Text3 = control<QLineEdit>(this, "Text3", 110, 223, 212, 22);
    Command10 = control<QPushButton>(this, "Command10", 136, 264, 88, 26);
    Command10->setText(QStringLiteral("OK"));
    Command11 = control<QPushButton>(this, "Command11", 234, 264, 88, 26);
    Command11->setText(QString::fromUtf8("Ακύρωση"));
    for (QPushButton* b : {Command1, Command10, Command11}) b->setAutoDefault(false);

    connect(Combo1, &QListWidget::itemClicked, this, &Form2::Combo1_Click);
    // A selection moved with the keyboard acts as a click does.
    connect(Combo1, &QListWidget::currentRowChanged, this, &Form2::Combo1_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &Form2::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command10, &QPushButton::clicked, this, &Form2::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &Form2::Command11_Click);
    for (QLineEdit* box : {Text1, Text2, Text3}) box->installEventFilter(this);
    Form_Load();
}

void Form2::MAKE_english()
{
    Label2->setText(QStringLiteral("Artist:"));
    Label3->setText(QStringLiteral("Album Title:"));
    Command1->setText(QStringLiteral("Add"));
    Command11->setText(QStringLiteral("Cancel"));
}

void Form2::Form_Load()
{
    if (!common::globals().LanguageGreek) MAKE_english();
    Combo1->addItems(host_.EntryTitles());
    for (int i = 0; i < Combo1->count(); ++i) linesAtOpen_ << Combo1->item(i)->text();
    if (Combo1->count() > 0) {
        Text1->setText(Combo1->item(0)->text());
        Combo1->setCurrentRow(0);
    }
    Text2->setFocus();
    move(host_.HostWindow().x() - 8, host_.HostWindow().y());
    common::globals().DialogOpen = true;
    // The main tick reloads the titles (and the serial) as soon as another disc is in: the
    // titles here belong to the disc that was in when the editor opened.
    openedFor_ = common::globals().DiscSerial;
    filedAtOpen_ = filedNow();
    // What is filed shows in the boxes: a title put right alone keeps the artist and album.
    Text2->setText(filedAtOpenOr(QStringLiteral("Artist")));
    Text3->setText(filedAtOpenOr(QStringLiteral("Album")));
}

// The catalogue's value for key when the editor opened; empty where there was none.
QString Form2::filedAtOpenOr(const QString& key) const
{
    const QString filed = filedAtOpen_.value(key, Disk_Volume::MissingDefault);
    return Disk_Volume::IsMissing(filed) ? QString() : filed;
}

// What the catalogue holds for the disc, by key (Artist, Album, Track1 …).
QMap<QString, QString> Form2::filedNow() const
{
    QMap<QString, QString> filed;
    if (!Disk_Volume::CatalogueExists()) return filed;
    QStringList keys{QStringLiteral("Artist"), QStringLiteral("Album")};
    for (int t = 1; t <= Combo1->count(); ++t) keys << QStringLiteral("Track%1").arg(t);
    for (const QString& key : keys) filed.insert(key, Disk_Volume::ReadValue(key));
    return filed;
}

// The value to file for key: the edit, unless it was left as shown and titles found meanwhile
// (CD-Text, the disc database) filed another value; that one stays.
QString Form2::valueToFile(const QString& key, const QString& edited, const QString& shownAtOpen,
                           const QMap<QString, QString>& filed) const
{
    const QString now = filed.value(key, Disk_Volume::MissingDefault);
    const bool foundMeanwhile = !Disk_Volume::IsMissing(now) && now != filedAtOpen_.value(key, Disk_Volume::MissingDefault);
    return edited == shownAtOpen && foundMeanwhile ? now : edited;
}

// Entering a box selects its whole text, so typing replaces it.
bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, box, &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}

void Form2::Combo1_Click()
{
    if (QListWidgetItem* line = Combo1->currentItem()) Text1->setText(line->text());
}

void Form2::Command1_Click()
{
    const int row = Combo1->currentRow();
    if (row < 0) return;
    Combo1->item(row)->setText(Text1->text());
    const int next = std::min(row + 1, Combo1->count() - 1);
    Combo1->setCurrentRow(next);
    Text1->setText(Combo1->item(next)->text());
    Text1->selectAll();
}

// Files the edits. False, with nothing written, when the disc in the drive is no longer the
// one whose titles were loaded: its section would be overwritten with another disc's titles.
bool Form2::save()
{
    auto& g = common::globals();
    const int tracks = g.CdDevice ? g.CdDevice->GetNumTracks() : 0;
    if (tracks == 0) return true;
    if (Disk_Volume::SerialOfDiscInDrive() != openedFor_ || g.DiscSerial != openedFor_) {
        platform::ShowMessage({common::Lang("Ο δίσκος στη μονάδα άλλαξε. Οι τίτλοι δεν αποθηκεύτηκαν.",
                                            "The disc in the drive has changed. The titles were not saved."),
                               {},
                               platform::DialogIcon::Exclamation,
                               platform::DialogButtons::Ok},
                              this);
        return false;
    }
    const QMap<QString, QString> filed = filedNow();
    const QString artist = valueToFile(QStringLiteral("Artist"), Text2->text(), filedAtOpenOr(QStringLiteral("Artist")), filed);
    const QString album = valueToFile(QStringLiteral("Album"), Text3->text(), filedAtOpenOr(QStringLiteral("Album")), filed);
    Disk_Volume::WriteValue(QStringLiteral("Artist"), artist);
    Disk_Volume::WriteValue(QStringLiteral("Album"), album);
    host_.ShowArtistAndAlbum(artist, album);
    for (int t = 1; t <= tracks; ++t) {
        const QListWidgetItem* line = Combo1->item(t - 1);
        const QString key = QStringLiteral("Track%1").arg(t);
        const QString title = valueToFile(key, line ? line->text() : QString(), linesAtOpen_.value(t - 1), filed);
        Disk_Volume::WriteValue(key, title);
        host_.SetEntryTitle(t - 1, title);
    }
    host_.ShowDisplayedTitle();
    return true;
}

void Form2::Command10_Click()
{
    if (save()) close();
}

void Form2::Command11_Click() { close(); }

void Form2::closeEvent(QCloseEvent* event)
{
    common::globals().DialogOpen = false;
    host_.HostWindow().setEnabled(true);
    event->accept();
}

Form2* OpenTitleEditor(TitleHost& host, const QString& caption)
{
    auto* editor = new Form2(host);
    common::DisableOwnerWhileOpen(host.HostWindow(), *editor);
    editor->setWindowTitle(caption);
    editor->show();
    return editor;
}

}  // namespace catalogue
