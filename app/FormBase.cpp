#include "app/FormBase.h"

#include "app/ErrorModel.h"

#include <QCloseEvent>
#include <QWindow>

FormBase::FormBase(QWidget* parent) : QWidget(parent) {}

void FormBase::setCaption(const QString& caption) {
    setWindowTitle(caption);
    // Given an empty title, Qt shows the program's name in the title bar
    // instead; a zero-width space keeps the bar empty while the window's own
    // title stays empty.
    if (caption.isEmpty() && windowHandle())
        windowHandle()->setTitle(QStringLiteral("\u200B"));
}

void FormBase::setClientTwips(int left, int top, int width, int height) {
    setGeometry(twips(left), twips(top), twips(width), twips(height));
    setFixedSize(twips(width), twips(height));
}

void FormBase::closeEvent(QCloseEvent* event) {
    // The instance destroys the window once its unload handler has run.
    event->ignore();
    ErrorModel::event([this] { Form_Unload(); });
    emit closedByUser();
}
