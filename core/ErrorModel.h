#pragma once

#include <QString>
#include <exception>
#include <functional>
#include <utility>

// How failures end. Every Qt signal or event reaches a handler through
// ErrorModel::event(); a handler called directly by another handler lets its
// failure go back to that caller. The four trapping handlers wrap their steps
// in ErrorModel::trap(). No exception ever reaches Qt's event loop.
namespace ErrorModel {

using Reporter = std::function<void(const QString& message)>;

// Replaces the report of an untrapped failure and the end of the event loop
// that follows it: the program tells the user in a message box of its own
// wording and ends, tests record the report instead. An empty reporter
// restores a plain message box.
void setReporter(Reporter reporter);

// Reports an untrapped failure and ends the program with a non-zero status.
void reportFatal(const QString& message);

// True once a failure has ended the program.
bool ended();
int exitStatus();
void reset();

QString describe(std::exception_ptr failure);

template <class Handler> void event(Handler&& handler) noexcept {
    if (ended())
        return;
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        reportFatal(describe(std::current_exception()));
    }
}

// Runs the steps after a trap is armed: any failure ends them silently,
// leaving what was already done in place.
template <class Steps> void trap(Steps&& steps) noexcept {
    try {
        std::forward<Steps>(steps)();
    } catch (...) {
    }
}

} // namespace ErrorModel
