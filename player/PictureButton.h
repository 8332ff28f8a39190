#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A graphical push button: no caption and no frame, only its face picture,
// and its pressed picture while it is held down, each at its own size. With
// the focus it shows a frame over its picture, and Return presses it as
// Space does. The pictures are read in the drawing the screen wants
// (PictureFile).
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    // Throws PeloraError when a picture cannot be read.
    PictureButton(const QString& face, const QString& pressed, QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap face_;
    QPixmap pressed_;
};
