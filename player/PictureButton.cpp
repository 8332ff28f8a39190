#include "player/PictureButton.h"
#include "texts/Texts.h"

#include "core/Errors.h"
#include "core/FocusFrame.h"

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
