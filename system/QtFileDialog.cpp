#include "system/QtFileDialog.h"

#include "core/Errors.h"

#include <QFileDialog>

void QtFileDialog::showOpen() {
    show(false);
}

void QtFileDialog::showSave() {
    show(true);
}

void QtFileDialog::show(bool save) {
    QFileDialog dialog(nullptr, QString());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(toNameFilters(filter()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        throw DialogCancelled();
    fileName_ = dialog.selectedFiles().constFirst();
}
