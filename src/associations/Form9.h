#pragma once
// The file-type associations window: the types the program handles, and the others to add.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <array>

namespace associations {

class Form9 : public QDialog {
    Q_OBJECT
public:
    explicit Form9(QWidget* parent = nullptr);

    void CheckPoiaEinaiHDH();
    void MAKE_english();
    void Combo1_Click(int index);
    void List1_Click();
    void Command1_Click();  // Add
    void Command2_Click();  // Delete

    QString AssocTypeName;

    QListWidget* List1;
    std::array<QLabel*, 2> Label1{};
    QComboBox* Combo1;
    QLineEdit* Text1;
    QPushButton* Command2;
    QPushButton* Command1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void reflectOnDesktop();
};

// Shows the window modally with the menu entry's caption as its title.
void ShowAssociations(QWidget* parent, const QString& caption);

}  // namespace associations
