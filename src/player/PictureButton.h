#pragma once
// A skin picture that can be clicked: the "Image" controls of the main window.

#include <QLabel>

namespace player {

class PictureButton : public QLabel {
    Q_OBJECT
public:
    PictureButton(const QString& name, QWidget* parent);

signals:
    void pressed(QMouseEvent* event);
    void released(QMouseEvent* event);
    void moved(QMouseEvent* event);
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace player
