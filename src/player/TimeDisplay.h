#pragma once
// The time of the main window: a label that changes once a second. It draws each character from
// a layout made once, so a new time costs no text shaping; its text stays what a screen reader
// and a test read.

#include <QHash>
#include <QLabel>
#include <QStaticText>

namespace player {

class TimeDisplay : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Glyph {
        QStaticText text;
        int advance = 0;
    };
    const Glyph& glyph(QChar c);

    QHash<QChar, Glyph> glyphs_;
};

}  // namespace player
