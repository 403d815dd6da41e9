#include "player/Form20.h"
#include "player/MessagesRun.h"
#include "common/Controls.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "metadata/Mp3Tag_ListFiles.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"
#include "player/TrackList.h"

#include <QDir>
#include <QFileInfo>

namespace player {

using common::control;

namespace {

const QString Section = QStringLiteral("Cantorine");
const QString FilesFolderKey = QStringLiteral("Last Selected Files Directory");

}  // namespace

QString RememberedFolder(const QString& key)
{
    const QString folder = platform::GetSetting(Section, key, QDir::homePath());
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

Form20::Form20(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form20"));
    setWindowTitle(QString::fromUtf8("Επιλογή Αρχείου"));
    setFixedSize(392, 206);
    Text1 = control<QLineEdit>(this, "Text1", 8, 8, 289, 19);
    Drive1 = control<DriveList>(this, "Drive1", 8, 31, 145, 21);
    Dir1 = control<FolderList>(this, "Dir1", 8, 56, 145, 141);
    File1 = control<FileList>(this, "File1", 152, 29, 145, 149);
    Combo1 = control<QComboBox>(this, "Combo1", 152, 176, 145, 21);
    Command1 = control<QPushButton>(this, "Command1", 304, 136, 81, 25);
    Command1->setText(QStringLiteral("OK"));
    Command2 = control<QPushButton>(this, "Command2", 304, 176, 81, 25);
    Command2->setText(QString::fromUtf8("Ακύρωση"));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    connect(Combo1, &QComboBox::currentTextChanged, File1, &FileList::setPattern);
    connect(Drive1, &QComboBox::textActivated, this,
            [this](const QString& drive) { Dir1->setPath(Drive1->currentFolderOf(drive)); });
    connect(Dir1, &FolderList::changed, this, [this](const QString& folder) {
        File1->setPath(folder);
        Drive1->selectDriveOf(folder);
        Drive1->remember(folder);
    });
    connect(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { Text1->setText(item->text()); });
    connect(File1, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (!name.isEmpty()) Text1->setText(name);
    });
    connect(File1, &QListWidget::itemDoubleClicked, this, &Form20::Command1_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &Form20::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form20::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form20::Command2_Click);
    Form_Load();
}

void Form20::Form_Load()
{
    Dir1->setPath(RememberedFolder(FilesFolderKey));
    if (!common::globals().LanguageGreek) Command2->setText(QStringLiteral("Cancel"));
}

namespace {

// A filter names one type, or several kin separated by ";".
QStringList FiltersForMode(const QString& mode)
{
    if (mode == QLatin1String("1"))
        return {QStringLiteral("*.MP3"), QStringLiteral("*.FLAC"), QStringLiteral("*.OGG;*.OGA"), QStringLiteral("*.OPUS"),
                QStringLiteral("*.M4A"), QStringLiteral("*.WAV"),  QStringLiteral("*.WMA"),       QStringLiteral("*.MID"),
                QStringLiteral("*.AVI"), QStringLiteral("*.MKV"),  QStringLiteral("*.MP4"),       QStringLiteral("*.MOV"),
                QStringLiteral("*.*")};
    if (mode == QLatin1String("2")) return TrackList::SavedListPatterns();
    return {QLatin1Char('*') + TrackList::ListExtension(), QStringLiteral("*.m3u8;*.m3u"), QStringLiteral("*.pls"),
            QStringLiteral("*.cue")};
}

}  // namespace

// The filters go in once: a message box over the chooser re-activates it, and the list must not grow.
void Form20::Form_Activate()
{
    if (activated_) return;
    activated_ = true;
    Combo1->addItems(FiltersForMode(mode_));
    Combo1->setCurrentIndex(0);
    File1->setPattern(Combo1->currentText());
    Text1->setFocus();
}

void Form20::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

// A name typed as a whole path is taken as it stands; anything else lies in the folder shown.
QString Form20::typedPath() const
{
    const QString typed = Text1->text();
    if (typed.startsWith(QLatin1Char('/'))) return typed;
    return WithTrailingSlash(File1->path()) + typed;
}

void ShowFileDoesNotExist(const QString& path, QWidget* parent)
{
    platform::ShowMessage({common::Lang(QString::fromUtf8("Το αρχείο ") + path + QString::fromUtf8(" δεν υπάρχει."),
                                        QStringLiteral("File ") + path + QStringLiteral(" does not exist.")),
                           {},
                           platform::DialogIcon::None,
                           platform::DialogButtons::Ok},
                          parent);
}

void Form20::Command1_Click()
{
    const QString path = typedPath();
    const int mode = mode_.toInt();
    if ((mode == 1 || mode == 3) && !Mp3Tag_Functions::FileExists(path)) {
        ShowFileDoesNotExist(path, this);
        return;
    }
    auto& g = common::globals();
    g.ChosenFile = path;
    g.LastFolder = File1->path();
    platform::SaveSetting(Section, FilesFolderKey, File1->path());
    accept();
}

void Form20::Command2_Click() { reject(); }

QString ChooseFile(const QString& mode, const QString& title, const QString& startFolder, QWidget* parent)
{
    auto& g = common::globals();
    g.ChosenFile.clear();
    Form20 chooser(parent);
    chooser.SetMode(mode);
    chooser.setWindowTitle(title);
    if (mode.toInt() != 1) chooser.Dir1->setPath(startFolder);
    ChooserOpen open;
    chooser.exec();
    return g.ChosenFile;
}

}  // namespace player
