#pragma once
// The tracks-info window: any list entry's file size, MP3 facts and its ID3v1 tag, editable.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "metadata/TrackListHost.h"

namespace metadata {

class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(TrackListHost& host);

    void Combo2_Click();
    void Command4_Click();  // save the tag
    void Command3_Click() { close(); }
    void ShowHeaderInfo();

    QFrame *Frame1, *Frame2;
    QComboBox* Combo2;  // the entries
    QComboBox* Combo1;  // their paths, never shown
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label11;
    QLineEdit *Text2, *Text3, *Text4, *Text5, *Text6;
    QComboBox* Text1;  // genre
    QPushButton *Command4, *Command3;
    QLabel *Label6, *Label7, *Label8, *Label9, *Label10;
    int16_t ShownTrackIndex = 0;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MAKE_english();
    void placeOverMainWindow();
    bool refusesKey(QLineEdit* box, QKeyEvent* key) const;

    TrackListHost& host_;
};

// The longest text typing may put in each field: the field's bytes (the comment one less).
int TypingLimit(const QString& fieldName);

}  // namespace metadata
