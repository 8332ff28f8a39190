#include "core/QtFileDialog.h"

#include "core/Errors.h"
#include "core/UserSettings.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QString settingsKey(const QString& lastFolder) {
    return QStringLiteral("folders/") + lastFolder;
}

// A dialog of the desktop's own may leave the suffix to the program: then
// the replacing of a file of the completed name is asked here, in the words
// (and translation) of Qt's own dialog.
bool mayReplace(const QString& dialogName, const QString& fileName) {
    if (dialogName == fileName || !QFileInfo::exists(fileName))
        return true;
    const QString question = QCoreApplication::translate(
        "QFileDialog", "%1 already exists.\nDo you want to replace it?");
    return QMessageBox::warning(nullptr, QString(), question.arg(QFileInfo(fileName).fileName()),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

// A folder that is gone is forgotten.
QString QtFileDialog::keptFolder() {
    if (lastFolder().isEmpty())
        return {};
    const QString folder = settings_.value(settingsKey(lastFolder()));
    if (folder.isEmpty() || QFileInfo(folder).isDir())
        return folder;
    settings_.remove(settingsKey(lastFolder()));
    return {};
}

void QtFileDialog::keepFolder() {
    if (!lastFolder().isEmpty())
        settings_.setValue(settingsKey(lastFolder()), QFileInfo(fileName_).absolutePath());
}

void QtFileDialog::showOpen() {
    show(false);
}

void QtFileDialog::showSave() {
    show(true);
}

void QtFileDialog::show(bool save) {
    const FocusRestorer focusBack(focus_);
    QFileDialog dialog(nullptr, QString(), keptFolder());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Each description already names its patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(toNameFilters(filter()));
    const QString suffix = save ? saveSuffix(filter()) : QString();
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        throw DialogCancelled();
    const QString chosen = dialog.selectedFiles().constFirst();
    const QString fileName = withSuffix(chosen, suffix);
    if (!mayReplace(chosen, fileName))
        throw DialogCancelled();
    fileName_ = fileName;
    keepFolder();
}
