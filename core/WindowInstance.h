#pragma once

#include "core/FocusRestorer.h"
#include "core/LoadedWindows.h"
#include "core/WindowBase.h"

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <functional>
#include <utility>

// A window as the other windows reach it, whether it is loaded or not.
// Every operation but isLoaded() and unload() loads the window first if
// needed.
class WindowHandle : public QObject {
    Q_OBJECT
public:
    virtual bool isLoaded() const = 0;
    // Shows the window modeless and returns at once.
    virtual void show() = 0;
    // Shows the window and returns when it has been closed; meanwhile the
    // other windows take no input, while timers and sound go on.
    virtual void showModal() = 0;
    // A window that is not loaded is loaded first and stays invisible.
    virtual void hide() = 0;
    // Runs the window's unloading(), then destroys it. Nothing for a window not loaded.
    virtual void unload() = 0;

signals:
    // The window was built and its loaded() has run.
    void loaded();
    void unloaded();

protected:
    explicit WindowHandle(LoadedWindows& all) : all_(all) {}

    LoadedWindows& all_;
};

// The single instance of one window. The window itself is built by the first
// operation that needs it; unloading destroys it, and the next operation
// builds it afresh from its design and runs loaded() again.
template <class Window> class WindowInstance : public WindowHandle {
public:
    using Factory = std::function<Window*()>;

    // `all`: the program's loaded windows, of which this becomes one when
    // loaded; `focus`: where the focus goes back after showModal().
    WindowInstance(LoadedWindows& all, FocusRestorer::Memory& focus, Factory make)
        : WindowHandle(all), focus_(focus), make_(std::move(make)) {}
    ~WindowInstance() override { destroy(); }

    bool isLoaded() const override { return window_ != nullptr; }

    // Loads the window if needed and gives access to it.
    Window& load() {
        if (!window_) {
            window_ = make_();
            QObject::connect(window_, &WindowBase::closedByUser, this, [this] { release(); });
            all_.loaded();
            window_->loaded();
            emit loaded();
        }
        return *window_;
    }
    Window* operator->() { return &load(); }

    // Runs `watch` on the window now if it is loaded, and on each window
    // loaded afresh later, for as long as `context` lives: what watches a
    // window's signals watches each new one.
    template <class Watch> void watchEach(QObject* context, Watch watch) {
        QObject::connect(this, &WindowHandle::loaded, context, [this, watch] { watch(*window_); });
        if (isLoaded())
            watch(*window_);
    }

    void show() override {
        Window& window = load();
        window.show();
        if (window.isMinimized())
            window.showNormal();
    }

    void showModal() override {
        const FocusRestorer focusBack(focus_);
        Window& window = load();
        window.setWindowModality(Qt::ApplicationModal);
        window.show();
        QEventLoop loop;
        QObject::connect(this, &WindowHandle::unloaded, &loop, &QEventLoop::quit);
        if (isLoaded())
            loop.exec(QEventLoop::DialogExec);
    }

    void hide() override { load().hide(); }

    void unload() override {
        if (!window_)
            return;
        window_->unloading();
        release();
    }

    // Destroys the window without its unloading() (program end, tests).
    void destroy() {
        if (!window_)
            return;
        Window* window = window_;
        window_ = nullptr;
        delete window;
        all_.destroyed();
    }

private:
    void release() {
        if (!window_)
            return;
        Window* window = window_;
        window_ = nullptr;
        window->hide();
        window->deleteLater();
        all_.unloaded();
        emit unloaded();
    }

    FocusRestorer::Memory& focus_;
    Factory make_;
    QPointer<Window> window_;
};
