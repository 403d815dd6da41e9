#pragma once
// The title editor: names the tracks of the disc in the drive, with its artist and album, and
// files them in the catalogue.

#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "catalogue/TitleHost.h"

namespace catalogue {

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(TitleHost& host);

    void Combo1_Click();
    void Command1_Click();   // store the title, go to the next track
    void Command10_Click();  // save and close
    void Command11_Click();  // close without saving

    QListWidget* Combo1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Command1;
    QPushButton* Command10;
    QPushButton* Command11;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void MAKE_english();
    bool save();

    TitleHost& host_;
    int32_t openedFor_ = 0;               // the serial of the disc whose titles are edited
    QStringList linesAtOpen_;             // the titles as the editor showed them at first
    QMap<QString, QString> filedAtOpen_;  // the catalogue's values then
    QMap<QString, QString> filedNow() const;
    QString filedAtOpenOr(const QString& key) const;
    QString valueToFile(const QString& key, const QString& edited, const QString& shownAtOpen,
                        const QMap<QString, QString>& filed) const;
};

// Opens the editor over the main window, which stays disabled until it closes; caption is the
// menu item's text.
Form2* OpenTitleEditor(TitleHost& host, const QString& caption);

}  // namespace catalogue
