#pragma once

#include <QObject>

#include <deque>
#include <functional>

class UserMessages;

// Work that must not happen under an open dialog or message, such as files
// handed in from outside: a list replaced under the open save dialog would
// be saved instead of the user's.
class AfterModalWindows : public QObject {
public:
    // `messages`: what the work has to say goes there, together.
    explicit AfterModalWindows(UserMessages& messages) : messages_(messages) {}

    // Runs `work` from the event loop, as an event of the program's own (a
    // failure in it is reported and ends the program), once no modal window
    // (a file dialog, a message, About) is open, after all work given before
    // it. What the work given while a modal window was open has to say is
    // said in one message.
    void run(std::function<void()> work);

private:
    void later(int milliseconds);
    void runWaiting();

    UserMessages& messages_;
    std::deque<std::function<void()>> queue_;
    bool running_ = false;
};
