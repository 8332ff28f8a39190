#include "core/AfterModalWindows.h"

#include "core/ErrorModel.h"
#include "core/UserMessages.h"

#include <QApplication>
#include <QTimer>

namespace {

// While a modal window is open, how often to look whether it has closed.
constexpr int pollMilliseconds = 50;

bool modalWindowOpen() {
    return QApplication::activeModalWidget() != nullptr;
}

} // namespace

void AfterModalWindows::run(std::function<void()> work) {
    queue_.push_back(std::move(work));
    later(0);
}

void AfterModalWindows::later(int milliseconds) {
    QTimer::singleShot(milliseconds, this, &AfterModalWindows::runWaiting);
}

void AfterModalWindows::runWaiting() {
    if (running_ || queue_.empty())
        return;
    if (modalWindowOpen()) {
        later(pollMilliseconds);
        return;
    }
    running_ = true;
    {
        const UserMessages::Gathering oneMessage(messages_);
        while (!queue_.empty() && !modalWindowOpen()) {
            const std::function<void()> work = std::move(queue_.front());
            queue_.pop_front();
            ErrorModel::event(work);
        }
    } // its message, shown here, holds back work given meanwhile
    running_ = false;
    if (!queue_.empty())
        later(modalWindowOpen() ? pollMilliseconds : 0);
}
