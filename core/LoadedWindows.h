#pragma once

#include <functional>

// The windows of one program that are loaded now, and what happens when
// the last of them is unloaded: the program ends.
class LoadedWindows {
public:
    explicit LoadedWindows(std::function<void()> onNoneLeft) : onNoneLeft_(std::move(onNoneLeft)) {}
    LoadedWindows(const LoadedWindows&) = delete;
    LoadedWindows& operator=(const LoadedWindows&) = delete;

    int count() const { return count_; }

    void loaded() { ++count_; }
    // Unloaded by the user or the program: the last one runs onNoneLeft.
    void unloaded() {
        if (--count_ == 0 && onNoneLeft_)
            onNoneLeft_();
    }
    // Destroyed at the very end of the program, or by a test: nothing runs.
    void destroyed() { --count_; }

private:
    std::function<void()> onNoneLeft_;
    int count_ = 0;
};
