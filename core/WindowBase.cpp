#include "core/WindowBase.h"

#include "core/ErrorModel.h"

#include <QCloseEvent>
#include <QWindow>

WindowBase::WindowBase(QWidget* parent) : QWidget(parent) {}

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
