#pragma once

#include "core/ErrorModel.h"

#include <QAccessible>
#include <QWidget>

// A top-level window of the program. The window is built with its design in
// the constructor; loaded() and unloading() are run by its WindowInstance
// when it is loaded and unloaded.
class WindowBase : public QWidget {
    Q_OBJECT
public:
    explicit WindowBase(QWidget* parent = nullptr);

    // Runs once the window is built, before anyone else reaches it.
    virtual void loaded() {}
    // Runs before the window is destroyed; it cannot cancel the close.
    virtual void unloading() {}

    // The window's caption. An empty one stays empty on screen too.
    void setCaption(const QString& caption);

    // Sets the client area to a rectangle given in twips (15 twips to a pixel).
    void setClientTwips(int left, int top, int width, int height);

    // What screen readers call the window.
    virtual QAccessible::Role accessibleRole() const { return QAccessible::Window; }

signals:
    // The user (or the system) closed the window; unloading() has run.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

    // Connects `signal` of `sender` to `handler` of this window as an event
    // of its own: a failure in the handler is reported and ends the program.
    template <class Sender, class Signal, class Window>
    void route(Sender* sender, Signal signal, void (Window::*handler)());
};

// Twips as stored in a window's design, to device-independent pixels.
constexpr int twips(int value) {
    return value / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

template <class Sender, class Signal, class Window>
void WindowBase::route(Sender* sender, Signal signal, void (Window::*handler)()) {
    auto* window = static_cast<Window*>(this);
    connect(sender, signal, this,
            [window, handler] { ErrorModel::event([window, handler] { (window->*handler)(); }); });
}
