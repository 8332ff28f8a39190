#pragma once

class QPainter;
class QRect;
class QWidget;

// The frame that shows which control has the keyboard focus where the style
// shows none: one pixel wide, one pixel inside the control's edge, in the
// palette's highlight colour, which stands out on dark and light faces alike.
namespace FocusFrame {

// Draws the frame inside `edge` with `painter` when `control` has the focus.
void paint(QPainter& painter, const QWidget& control, const QRect& edge);

} // namespace FocusFrame
