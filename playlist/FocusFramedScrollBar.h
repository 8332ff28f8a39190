#pragma once

#include <QScrollBar>

// A scroll bar that shows a frame while it has the keyboard focus, which
// the style's own drawing of a scroll bar does not show.
class FocusFramedScrollBar : public QScrollBar {
    Q_OBJECT
public:
    FocusFramedScrollBar(Qt::Orientation orientation, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
