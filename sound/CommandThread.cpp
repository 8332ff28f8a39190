#include "sound/CommandThread.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

// What the thread and the queue's owner share: it lives as long as either,
// since the thread may outlive the queue.
struct CommandThread::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> commands;
    std::uint64_t given = 0;
    std::uint64_t done = 0;
    bool closing = false;
    bool finished = false;

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return closing || !commands.empty(); });
            if (commands.empty())
                break;
            std::function<void()> command = std::move(commands.front());
            commands.pop_front();
            lock.unlock();
            command();
            command = nullptr; // what it holds goes here too, not under the lock
            lock.lock();
            ++done;
            changed.notify_all();
        }
        finished = true;
        changed.notify_all();
    }
};

CommandThread::CommandThread() : shared_(std::make_shared<Shared>()) {
    std::thread([shared = shared_] { shared->run(); }).detach();
}

CommandThread::~CommandThread() {
    std::unique_lock lock(shared_->mutex);
    shared_->closing = true;
    shared_->changed.notify_all();
    shared_->changed.wait_for(lock, grace, [this] { return shared_->finished; });
}

void CommandThread::give(std::function<void()> command) {
    const std::lock_guard lock(shared_->mutex);
    shared_->commands.push_back(std::move(command));
    ++shared_->given;
    shared_->changed.notify_all();
}

bool CommandThread::settle(std::chrono::milliseconds limit) {
    std::unique_lock lock(shared_->mutex);
    const std::uint64_t target = shared_->given;
    return shared_->changed.wait_for(lock, limit, [&] { return shared_->done >= target; });
}

std::size_t CommandThread::waiting() const {
    const std::lock_guard lock(shared_->mutex);
    return static_cast<std::size_t>(shared_->given - shared_->done);
}
