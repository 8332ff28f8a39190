#include "core/AfterModalWindows.h"

#include "core/ErrorModel.h"
#include "core/UserMessage.h"

#include <QApplication>
#include <QTimer>

#include <deque>

namespace AfterModalWindows {
namespace {

// While a modal window is open, how often to look whether it has closed.
constexpr int pollMilliseconds = 50;

std::deque<std::function<void()>> queue;
bool running = false;

bool modalWindowOpen() {
    return QApplication::activeModalWidget() != nullptr;
}

void runWaiting();

void later(int milliseconds) {
    QTimer::singleShot(milliseconds, QCoreApplication::instance(), runWaiting);
}

void runWaiting() {
    if (running || queue.empty())
        return;
    if (modalWindowOpen()) {
        later(pollMilliseconds);
        return;
    }
    running = true;
    {
        const UserMessage::Gathering oneMessage;
        while (!queue.empty() && !modalWindowOpen()) {
            const std::function<void()> work = std::move(queue.front());
            queue.pop_front();
            ErrorModel::event(work);
        }
    } // its message, shown here, holds back work given meanwhile
    running = false;
    if (!queue.empty())
        later(modalWindowOpen() ? pollMilliseconds : 0);
}

} // namespace

void run(std::function<void()> work) {
    queue.push_back(std::move(work));
    later(0);
}

} // namespace AfterModalWindows
