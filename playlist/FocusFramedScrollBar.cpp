#include "playlist/FocusFramedScrollBar.h"

#include "core/FocusFrame.h"

#include <QPainter>

FocusFramedScrollBar::FocusFramedScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

void FocusFramedScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    QPainter painter(this);
    FocusFrame::paint(painter, *this, rect());
}
