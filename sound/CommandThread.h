#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>

// Carries out commands one after another, in the order they were given, on
// a thread of its own, so that whoever gives them never waits for them.
//
// A command that blocks (an audio output whose sound server stopped
// answering) holds up the commands after it, never the thread that gives
// them: give() only queues. On destruction the commands still queued get
// `grace` to finish; a thread still busy then is left to finish them on its
// own, so that the end of the program never waits for a stuck sound server.
class CommandThread {
public:
    static constexpr std::chrono::milliseconds grace{300};

    CommandThread();
    ~CommandThread();
    CommandThread(const CommandThread&) = delete;
    CommandThread& operator=(const CommandThread&) = delete;

    // Queues `command`; returns at once.
    void give(std::function<void()> command);
    // Waits until every command given so far is carried out, at most
    // `limit`; false when they were not.
    bool settle(std::chrono::milliseconds limit);
    // How many commands wait to be carried out, the one under way included.
    std::size_t waiting() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
