#include "core/UserMessages.h"

#include <utility>

UserMessages::UserMessages(Display display, Combiner combine)
    : display_(std::move(display)), combine_(std::move(combine)) {}

void UserMessages::show(const QString& text) {
    if (waiting_.size() < keptTexts)
        waiting_ << text;
    else
        ++notKept_;
    showWaiting();
}

// Shows what waits, unless a message is on screen or being gathered; what
// comes while it is shown waits for the next one.
void UserMessages::showWaiting() {
    if (showing_ || gatherings_ > 0)
        return;
    showing_ = true;
    while (!waiting_.isEmpty()) {
        const QStringList texts = std::exchange(waiting_, {});
        const qsizetype more = std::exchange(notKept_, 0);
        display_(texts.size() == 1 && more == 0 ? texts.first() : combine_(texts, more));
    }
    showing_ = false;
}

UserMessages::Gathering::Gathering(UserMessages& messages) : messages_(messages) {
    ++messages_.gatherings_;
}

UserMessages::Gathering::~Gathering() {
    --messages_.gatherings_;
    messages_.showWaiting();
}
