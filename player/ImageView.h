#pragma once

#include <QLabel>

// An image control: its picture drawn at its own size from the top left
// corner, never scaled, and a click on it reported.
class ImageView : public QLabel {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};
