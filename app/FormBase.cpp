#include "app/FormBase.h"

#include "app/ErrorModel.h"

#include <QCloseEvent>

FormBase::FormBase(QWidget* parent) : QWidget(parent) {}

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
