#include "core/FocusFrame.h"

#include <QPainter>
#include <QWidget>

namespace FocusFrame {

void paint(QPainter& painter, const QWidget& control, const QRect& edge) {
    if (!control.hasFocus())
        return;
    painter.setPen(control.palette().color(QPalette::Highlight));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(edge.adjusted(1, 1, -2, -2));
}

} // namespace FocusFrame
