#pragma once
// The folder chooser: the folder whose files are added to the track list.

#include "player/FolderWidgets.h"

#include <QDialog>
#include <QPushButton>

namespace player {

class Form6 : public QDialog {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent);

    void Command1_Click();  // OK: LastFolder = the folder, ending in "/"

    DriveList* Drive1;
    FolderList* Dir1;
    QPushButton* Command1;
};

// Clears LastFolder, shows the chooser modally; LastFolder holds the result ("" when closed).
void ChooseFolder(QWidget* parent = nullptr);

}  // namespace player
