#pragma once

#include <QLabel>

// An image control: its picture drawn at its own size from the top left
// corner, never scaled, and a click on it reported. One that takes the
// focus shows it with a frame over its picture, and Space or Return on it
// is a click.
class ImageView : public QLabel {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};
