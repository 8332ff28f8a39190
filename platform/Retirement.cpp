#include "platform/Retirement.h"

#include <system_error>

Retirement::~Retirement() {
    await();
}

void Retirement::retire(const std::function<void()>& deletion) {
    await();
    try {
        pending_ = std::async(std::launch::async, deletion);
    } catch (const std::system_error&) {
        deletion(); // no thread to be had: the window waits instead
    }
}

void Retirement::await() {
    if (pending_.valid())
        pending_.get();
}
