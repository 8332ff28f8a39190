#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A graphical push button: no caption and no frame, only its face picture,
// and its pressed picture while it is held down, each at its own size.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    // Throws PeloraError when a picture cannot be read.
    PictureButton(const QString& face, const QString& pressed, QWidget* parent);

    QSize sizeHint() const override { return face_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap face_;
    QPixmap pressed_;
};
