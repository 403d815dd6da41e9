#include "player/Form6.h"
#include "player/MessagesRun.h"
#include "player/Form20.h"
#include "common/Globals.h"
#include "common/Language.h"
#include "platform/Settings.h"

namespace player {

namespace {

const QString Section = QStringLiteral("Cantorine");
const QString FolderKey = QStringLiteral("Last Selected Directory");

}  // namespace

Form6::Form6(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form6"));
    setFixedSize(185, 248);
    setWindowTitle(common::Lang("Επιλογή Καταλόγου MP3 αρχείων", "Select Mp3 Directory"));
    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(16, 8, 153, 21);
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(16, 32, 153, 171);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(48, 216, 81, 25);
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    // Choosing a drive opens the folder last shown on it, as in the file chooser.
    connect(Drive1, &QComboBox::textActivated, this,
            [this](const QString& drive) { Dir1->setPath(Drive1->currentFolderOf(drive)); });
    connect(Dir1, &FolderList::changed, this, [this](const QString& folder) {
        Drive1->selectDriveOf(folder);
        Drive1->remember(folder);
    });
    Dir1->setPath(RememberedFolder(FolderKey));
}

void Form6::Command1_Click()
{
    const QString path = WithTrailingSlash(Dir1->path());
    common::globals().LastFolder = path;
    platform::SaveSetting(Section, FolderKey, path);
    accept();
}

void ChooseFolder(QWidget* parent)
{
    common::globals().LastFolder.clear();
    Form6 chooser(parent);
    ChooserOpen open;
    chooser.exec();
}

}  // namespace player
