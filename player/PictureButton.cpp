#include "player/PictureButton.h"
#include "texts/Texts.h"

#include "core/Errors.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

QPixmap picture(const QString& path) {
    QPixmap pixmap(path);
    if (pixmap.isNull())
        throw PeloraError(Texts::buttonPictureUnreadable(path));
    return pixmap;
}

} // namespace

PictureButton::PictureButton(const QString& face, const QString& pressed, QWidget* parent)
    : QAbstractButton(parent), face_(picture(face)), pressed_(picture(pressed)) {}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, isDown() ? pressed_ : face_);
    // The faces run from dark grey to white, so the frame takes the
    // highlight colour, which shows on both, one pixel inside the edge.
    if (hasFocus()) {
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
