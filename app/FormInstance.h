#pragma once

#include "app/FormBase.h"

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

// The part of a window instance that does not depend on the window's class.
class FormInstanceBase : public QObject {
    Q_OBJECT
public:
    // Runs when the last loaded window of the program has been unloaded.
    static void setOnNoWindowLoaded(std::function<void()> action);
    static int loadedCount();

signals:
    void unloaded();

protected:
    void noteLoaded();
    void noteUnloaded();
    void noteDestroyed();
};

// The single instance of one window, reached by its name from every other
// window. The window itself is built by the first operation that needs it;
// unloading destroys it, and the next operation builds it afresh from its
// stored design and runs Form_Load again.
template <class Form> class FormInstance : public FormInstanceBase {
public:
    ~FormInstance() override { destroy(); }

    bool isLoaded() const { return window_ != nullptr; }

    // Loads the window if needed and gives access to it.
    Form& load() {
        if (!window_) {
            window_ = new Form();
            QObject::connect(window_, &FormBase::closedByUser, this, [this] { release(); });
            noteLoaded();
            window_->Form_Load();
        }
        return *window_;
    }
    Form* operator->() { return &load(); }

    // Show modeless: returns at once.
    void show() {
        Form& form = load();
        form.show();
        if (form.isMinimized())
            form.showNormal();
    }

    // Show modal: returns when the window has been closed; meanwhile the
    // other windows take no input, while timers and sound go on.
    void showModal() {
        Form& form = load();
        form.setWindowModality(Qt::ApplicationModal);
        form.show();
        QEventLoop loop;
        QObject::connect(this, &FormInstanceBase::unloaded, &loop, &QEventLoop::quit);
        if (isLoaded())
            loop.exec(QEventLoop::DialogExec);
    }

    // A window that is not loaded is loaded first and stays invisible.
    void hide() { load().hide(); }

    // Runs Form_Unload, then destroys the window. Nothing for a window not loaded.
    void unload() {
        if (!window_)
            return;
        window_->Form_Unload();
        release();
    }

    // Destroys the window without its unload handler (program end, tests).
    void destroy() {
        if (!window_)
            return;
        Form* form = window_;
        window_ = nullptr;
        delete form;
        noteDestroyed();
    }

private:
    void release() {
        if (!window_)
            return;
        Form* form = window_;
        window_ = nullptr;
        form->hide();
        form->deleteLater();
        noteUnloaded();
        emit unloaded();
    }

    QPointer<Form> window_;
};
