#include "core/WindowBase.h"

#include "core/ErrorModel.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QWindow>

namespace {

// Qt tells of a plain widget as a part of a window ("filler"); a window of
// the program is told of as the window or dialog it is.
class AccessibleWindow : public QAccessibleWidget {
public:
    explicit AccessibleWindow(WindowBase* window) : QAccessibleWidget(window) {}
    QAccessible::Role role() const override {
        return static_cast<const WindowBase*>(widget())->accessibleRole();
    }
};

QAccessibleInterface* accessibleWindow(const QString& className, QObject* object) {
    if (className == QLatin1String(WindowBase::staticMetaObject.className()))
        return new AccessibleWindow(static_cast<WindowBase*>(object));
    return nullptr;
}

} // namespace

WindowBase::WindowBase(QWidget* parent) : QWidget(parent) {
    [[maybe_unused]] static const bool screenReadersKnowWindows = [] {
        QAccessible::installFactory(accessibleWindow);
        return true;
    }();
}

void WindowBase::setCaption(const QString& caption) {
    setWindowTitle(caption);
    // Given an empty title, Qt shows the program's name in the title bar
    // instead; a zero-width space keeps the bar empty while the window's own
    // title stays empty.
    if (caption.isEmpty() && windowHandle())
        windowHandle()->setTitle(QStringLiteral("\u200B"));
}

void WindowBase::setClientTwips(int left, int top, int width, int height) {
    setGeometry(twipsRect(left, top, width, height));
    setFixedSize(twips(width), twips(height));
}

void WindowBase::closeEvent(QCloseEvent* event) {
    // The instance destroys the window once its unloading() has run.
    event->ignore();
    ErrorModel::event([this] { unloading(); });
    emit closedByUser();
}
