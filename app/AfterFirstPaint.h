#pragma once

#include <QList>
#include <QObject>
#include <QSet>

#include <functional>

class QWidget;

// Runs an action once, when each of the given windows has painted for the
// first time: start-up work that can wait a moment then does not take the
// processor from the windows' first appearance. Should a window not paint
// within a second (a start minimised, say), the action runs then.
class AfterFirstPaint : public QObject {
public:
    static void run(const QList<QWidget*>& windows, std::function<void()> action);

private:
    AfterFirstPaint(const QList<QWidget*>& windows, std::function<void()> action);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void finish();

    QSet<QObject*> unpainted_;
    std::function<void()> action_;
};
