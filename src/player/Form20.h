#pragma once
// The file chooser: an MP3 to add (mode "1"), a list file to save ("2") or to open ("3").

#include "player/FolderWidgets.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace player {

class Form20 : public QDialog {
    Q_OBJECT
public:
    explicit Form20(QWidget* parent);

    void SetMode(const QString& mode) { mode_ = mode; }
    QString Mode() const { return mode_; }

    void Command1_Click();  // OK
    void Command2_Click();  // Cancel

    QLineEdit* Text1;
    DriveList* Drive1;
    FolderList* Dir1;
    FileList* File1;
    QComboBox* Combo1;
    QPushButton* Command1;
    QPushButton* Command2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    QString typedPath() const;

    QString mode_;
    bool activated_ = false;
};

// Shows the chooser modally; the chosen full path, or "" when cancelled or closed.
// "File … does not exist." in the language in force, with an OK button.
void ShowFileDoesNotExist(const QString& path, QWidget* parent);
QString ChooseFile(const QString& mode, const QString& title, const QString& startFolder, QWidget* parent = nullptr);

// The remembered folder when it still exists, else the home folder.
QString RememberedFolder(const QString& key);

}  // namespace player
