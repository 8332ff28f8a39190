#include "core/QtFileDialog.h"

#include "core/Errors.h"
#include "core/UserSettings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace {

QString settingsKey(const QString& lastFolder) {
    return QStringLiteral("folders/") + lastFolder;
}

// The folder kept from the dialog's last use; one that is gone is forgotten.
QString keptFolder(const QString& name) {
    if (name.isEmpty())
        return {};
    QSettings kept = UserSettings::open();
    const QString folder = kept.value(settingsKey(name)).toString();
    if (folder.isEmpty() || QFileInfo(folder).isDir())
        return folder;
    kept.remove(settingsKey(name));
    return {};
}

void keepFolder(const QString& name, const QString& fileName) {
    if (!name.isEmpty())
        UserSettings::open().setValue(settingsKey(name), QFileInfo(fileName).absolutePath());
}

} // namespace

void QtFileDialog::showOpen() {
    show(false);
}

void QtFileDialog::showSave() {
    show(true);
}

void QtFileDialog::show(bool save) {
    const FocusRestorer focusBack(focus_);
    QFileDialog dialog(nullptr, QString(), keptFolder(lastFolder()));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(toNameFilters(filter()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        throw DialogCancelled();
    fileName_ = dialog.selectedFiles().constFirst();
    keepFolder(lastFolder(), fileName_);
}
