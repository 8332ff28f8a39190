#include "core/UserMessage.h"

#include "core/FocusRestorer.h"

#include <QMessageBox>

#include <utility>

namespace UserMessage {
namespace {

// More waiting texts than this are only counted: a message must fit the screen.
constexpr int keptTexts = 100;

Sink customSink;
Combiner combiner;
QStringList waiting;
int notKept = 0;
int gatherings = 0;
bool showing = false;

void display(const QString& text) {
    if (customSink) {
        customSink(text);
        return;
    }
    const FocusRestorer focusBack;
    QMessageBox::warning(nullptr, QStringLiteral("Pelora"), text);
}

// Shows what waits, unless a message is on screen or being gathered; what
// comes while it is shown waits for the next one.
void showWaiting() {
    if (showing || gatherings > 0)
        return;
    showing = true;
    while (!waiting.isEmpty()) {
        const QStringList texts = std::exchange(waiting, {});
        const int more = std::exchange(notKept, 0);
        if (texts.size() == 1 && more == 0)
            display(texts.first());
        else if (combiner)
            display(combiner(texts, more));
        else
            display(texts.join(QStringLiteral("\n\n")));
    }
    showing = false;
}

} // namespace

void show(const QString& text) {
    if (waiting.size() < keptTexts)
        waiting << text;
    else
        ++notKept;
    showWaiting();
}

void setSink(Sink sink) {
    customSink = std::move(sink);
}

void setCombiner(Combiner combine) {
    combiner = std::move(combine);
}

Gathering::Gathering() {
    ++gatherings;
}

Gathering::~Gathering() {
    --gatherings;
    showWaiting();
}

} // namespace UserMessage
