#include "metadata/Form4.h"
#include "common/Controls.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "metadata/Mp3Tag_Functions.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

namespace metadata {

using namespace Mp3Tag_Functions;

using common::control;

namespace {

QLabel* caption(QWidget* parent, const char* name, const char* greek, int left, int top, int width)
{
    QLabel* l = control<QLabel>(parent, name, left, top, width, 17);
    l->setText(QString::fromUtf8(greek));
    return l;
}

}  // namespace

int TypingLimit(const QString& fieldName)
{
    if (fieldName == QLatin1String("Text5")) return 4;
    if (fieldName == QLatin1String("Text6")) return 29;
    return 30;
}

Form4::Form4(TrackListHost& host) : QWidget(&host.HostWindow(), Qt::Tool | Qt::WindowCloseButtonHint), host_(host)
{
    setObjectName(QStringLiteral("Form4"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("Πληροφορίες Τραγουδιών"));
    setFixedSize(463, 244);
    Frame1 = control<QFrame>(this, "Frame1", 8, 4, 312, 233);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Combo1 = control<QComboBox>(Frame1, "Combo1", 8, 13, 297, 21);
    Combo1->hide();
    Combo2 = control<QComboBox>(Frame1, "Combo2", 8, 13, 297, 21);
    Label1 = caption(Frame1, "Label1", "Τίτλος :", 8, 40, 73);
    Text2 = control<QLineEdit>(Frame1, "Text2", 88, 40, 217, 19);
    Label2 = caption(Frame1, "Label2", "Καλλιτέχνης :", 8, 64, 73);
    Text3 = control<QLineEdit>(Frame1, "Text3", 88, 64, 217, 19);
    Label3 = caption(Frame1, "Label3", "Album :", 8, 88, 73);
    Text4 = control<QLineEdit>(Frame1, "Text4", 88, 88, 217, 19);
    Label4 = caption(Frame1, "Label4", "Έτος:", 8, 112, 65);
    Text5 = control<QLineEdit>(Frame1, "Text5", 88, 112, 45, 19);
    Label5 = caption(Frame1, "Label5", "Σχόλια :", 8, 136, 73);
    Text6 = control<QLineEdit>(Frame1, "Text6", 88, 136, 217, 19);
    Label11 = caption(Frame1, "Label11", "Κατηγορία :", 8, 160, 65);
    Text1 = control<QComboBox>(Frame1, "Text1", 88, 160, 217, 21);
    Text1->setEditable(true);
    Text1->setInsertPolicy(QComboBox::NoInsert);
    Command4 = control<QPushButton>(Frame1, "Command4", 13, 200, 81, 25);
    Command4->setText(QString::fromUtf8("Αποθήκευση"));
    Command3 = control<QPushButton>(Frame1, "Command3", 220, 200, 81, 25);
    Command3->setText(QStringLiteral("OK"));
    Frame2 = control<QFrame>(this, "Frame2", 328, 4, 129, 233);
    Frame2->setFrameShape(QFrame::StyledPanel);
    Label6 = caption(Frame2, "Label6", "Μέγεθος Αρχείου:", 8, 40, 113);
    Label7 = caption(Frame2, "Label7", "", 8, 56, 113);
    Label8 = caption(Frame2, "Label8", "", 8, 80, 100);
    Label9 = caption(Frame2, "Label9", "", 8, 96, 100);
    Label10 = caption(Frame2, "Label10", "", 8, 112, 100);

    for (QLineEdit* box : {Text2, Text3, Text4, Text5, Text6}) box->installEventFilter(this);
    Text1->installEventFilter(this);
    Text1->lineEdit()->installEventFilter(this);
    connect(Combo2, &QComboBox::activated, this, &Form4::Combo2_Click);
    connect(Command4, &QPushButton::clicked, this, &Form4::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &Form4::Command3_Click);

    // Opening.
    if (!common::globals().LanguageGreek) MAKE_english();
    common::DisableOwnerWhileOpen(host_.HostWindow(), *this);
    common::globals().DialogOpen = true;
    Combo1->addItems(host_.EntryPaths());
    Combo2->addItems(host_.EntryLines());
    placeOverMainWindow();
    const int index = std::max(0, host_.DisplayedEntry());
    Combo2->setCurrentIndex(index < Combo2->count() ? index : 0);
    Combo1->setCurrentIndex(Combo2->currentIndex());
    Text1->addItems(GenreList());
    Combo2_Click();
}

void Form4::MAKE_english()
{
    Label1->setText(QStringLiteral("Title:"));
    Label2->setText(QStringLiteral("Artist:"));
    Label3->setText(QStringLiteral("Album:"));
    Label4->setText(QStringLiteral("Year:"));
    Label5->setText(QStringLiteral("Comments:"));
    Label6->setText(QStringLiteral("File Size:"));
    Label11->setText(QStringLiteral("Category:"));
    Command4->setText(QStringLiteral("Save"));
}

void Form4::placeOverMainWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    int top = host_.HostWindow().y() - 237;  // 3550 twips above the main window
    if (top < -3) top = (area.height() - height()) / 2;
    move((area.width() - width()) / 2, top);
}

void Form4::Combo2_Click()
{
    Combo1->setCurrentIndex(Combo2->currentIndex());
    ShownTrackIndex = int16_t(Combo2->currentIndex());
    ShowHeaderInfo();
    const TagRecord tag = ReadTag(Combo1->currentText());
    Text2->setText(TrimTrailingBlanks(FieldText(tag.Title)));
    Text3->setText(TrimTrailingBlanks(FieldText(tag.Artist)));
    Text4->setText(TrimTrailingBlanks(FieldText(tag.Album)));
    Text5->setText(TrimTrailingBlanks(FieldText(tag.Year)));
    Text6->setText(TrimTrailingBlanks(FieldText(tag.Comment)));
    // A blank stands for "no genre" only in a file without a tag: in a tag, 32 is Classical.
    const std::string genre(tag.Genre, 1);
    Text1->setEditText(genre != " " || HasTag(tag) ? GenreName(genre) : QStringLiteral(" "));
}

void Form4::ShowHeaderInfo()
{
    const QString path = Combo1->currentText();
    const HeaderSummary facts = ReadHeaderSummary(path);
    if (!facts.decoded) return;  // under 256 bytes: the labels stay
    Label7->setText(QString::number(platform::FileSizeOf(path)) + QStringLiteral(" bytes."));
    Label8->setText(facts.bitrate + QStringLiteral("Kbit"));
    Label9->setText(facts.sampleRate + QStringLiteral("Khz"));
    Label10->setText(facts.mode);
}

void Form4::Command4_Click()
{
    TagRecord tag = BlankTag();
    SetField(tag.Title, Text2->text());
    SetField(tag.Artist, Text3->text());
    SetField(tag.Album, Text4->text());
    SetField(tag.Year, Text5->text());
    SetField(tag.Comment, Text6->text());
    SetFieldBytes(tag.Genre, GenreCode(Text1->currentText()));
    if (!WriteTag(Combo1->currentText(), tag)) {
        platform::ShowMessage(
            {common::Lang("Αδύνατη η αποθηκεύση.", "No saved."), {}, platform::DialogIcon::None, platform::DialogButtons::Ok},
            this);
        return;
    }
    // Saved without a title, the entry is named as the list names it when loaded: after the
    // file's other tags, or the file.
    const QString title = Text2->text().trimmed();
    host_.SetEntryTitle(ShownTrackIndex, title.isEmpty() ? TrackNameFromFile(Combo1->currentText()) : title);
    Combo2->setItemText(ShownTrackIndex, host_.EntryLines().value(ShownTrackIndex));
}

// Typing stops at the field's width unless it replaces a selection; Backspace always works.
bool Form4::refusesKey(QLineEdit* box, QKeyEvent* key) const
{
    if (key->text().isEmpty() || key->key() == Qt::Key_Backspace) return false;
    if (!key->text().at(0).isPrint()) return false;
    return !box->hasSelectedText() && box->text().size() >= TypingLimit(box->objectName());
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 || watched == Text1->lineEdit()) {
        // The genre is chosen from the list only.
        return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return false;
    if (event->type() == QEvent::FocusIn) QTimer::singleShot(0, box, &QLineEdit::selectAll);
    if (event->type() == QEvent::KeyPress) return refusesKey(box, static_cast<QKeyEvent*>(event));
    return false;
}

void Form4::closeEvent(QCloseEvent* event)
{
    common::globals().DialogOpen = false;
    host_.HostWindow().setEnabled(true);
    event->accept();
}

}  // namespace metadata
