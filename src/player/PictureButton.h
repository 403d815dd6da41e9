#pragma once
// A skin picture that can be clicked: the "Image" controls of the main window. A picture that
// is a button (it has a name) can also take the keyboard focus and be pressed with Space or
// Enter, and is a push button to a screen reader.

#include <QLabel>

namespace player {

class PictureButton : public QLabel {
    Q_OBJECT
public:
    PictureButton(const QString& name, QWidget* parent);

    // Pictures that are no button (the title strip, the slider's thumb) say so once, at once.
    void SetIsButton(bool button) { button_ = button; }
    bool IsButton() const { return button_; }
    // The other picture of the pair (normal and highlighted) that stands for the same button.
    void SetTwin(PictureButton* twin) { twin_ = twin; }
    // What the button is called: its tooltip, or its twin's; "" for a picture that is no button.
    QString ButtonName() const;
    // A press from the keyboard or a screen reader: the same click, without the mouse's
    // picture swap.
    void Activate() { emit activated(); }

signals:
    void pressed(QMouseEvent* event);
    void released(QMouseEvent* event);
    void moved(QMouseEvent* event);
    void clicked();
    void doubleClicked();
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    PictureButton* twin_ = nullptr;
    bool button_ = true;
};

}  // namespace player
