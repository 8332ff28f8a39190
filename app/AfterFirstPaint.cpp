#include "app/AfterFirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

void AfterFirstPaint::run(const QList<QWidget*>& windows, std::function<void()> action) {
    new AfterFirstPaint(windows, std::move(action));
}

AfterFirstPaint::AfterFirstPaint(const QList<QWidget*>& windows, std::function<void()> action)
    : QObject(QCoreApplication::instance()), action_(std::move(action)) {
    for (QWidget* window : windows) {
        unpainted_.insert(window);
        window->installEventFilter(this);
    }
    QTimer::singleShot(1000, this, &AfterFirstPaint::finish);
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && unpainted_.remove(watched) && unpainted_.isEmpty())
        // Once this paint is done and on screen.
        QTimer::singleShot(0, this, &AfterFirstPaint::finish);
    return false;
}

void AfterFirstPaint::finish() {
    if (!action_)
        return;
    const std::function<void()> action = std::exchange(action_, nullptr);
    deleteLater();
    action();
}
