#include "player/PictureButton.h"

#include "core/Errors.h"

#include <QPainter>

namespace {

QPixmap picture(const QString& path) {
    QPixmap pixmap(path);
    if (pixmap.isNull())
        throw PeloraError(QStringLiteral("ボタンの画像 \"%1\" を読み込めません。").arg(path));
    return pixmap;
}

} // namespace

PictureButton::PictureButton(const QString& face, const QString& pressed, QWidget* parent)
    : QAbstractButton(parent), face_(picture(face)), pressed_(picture(pressed)) {}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, isDown() ? pressed_ : face_);
}
