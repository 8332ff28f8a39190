#include "player/PictureButton.h"
#include "texts/Texts.h"

#include "core/Errors.h"
#include "core/FocusFrame.h"
#include "core/PictureFile.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

QPixmap picture(const QString& path, qreal devicePixelRatio) {
    PictureFile file(path, devicePixelRatio);
    const QImage image = file.read();
    if (image.isNull())
        throw PeloraError(Texts::buttonPictureUnreadable(file.path()));
    return QPixmap::fromImage(image);
}

} // namespace

PictureButton::PictureButton(const QString& face, const QString& pressed, QWidget* parent)
    : QAbstractButton(parent), face_(picture(face, devicePixelRatioF())),
      pressed_(picture(pressed, devicePixelRatioF())) {}

QSize PictureButton::sizeHint() const {
    return face_.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The larger drawing, shrunk for a screen between 1 and 2 device pixels
    // to a window's pixel.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, isDown() ? pressed_ : face_);
    FocusFrame::paint(painter, *this, rect());
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
