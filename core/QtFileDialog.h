#pragma once

#include "core/FileDialog.h"
#include "core/FocusRestorer.h"

class UserSettings;

// The file dialog on QFileDialog: no title or initial file name. It opens
// in the folder of its last use, kept under its lastFolder() name in the
// user's settings, else in the working folder. A name typed into the save
// dialog without a suffix is given the one of the filter's first pattern,
// and the user is asked before a file of that name is replaced.
class QtFileDialog : public FileDialog {
public:
    // `focus`: where the focus goes back once the dialog closes.
    QtFileDialog(QString filter, QString lastFolder, FocusRestorer::Memory& focus,
                 UserSettings& settings)
        : FileDialog(std::move(filter), std::move(lastFolder)), focus_(focus), settings_(settings) {
    }

    void showOpen() override;
    void showSave() override;
    QString fileName() const override { return fileName_; }

private:
    void show(bool save);
    QString keptFolder();
    void keepFolder();

    FocusRestorer::Memory& focus_;
    UserSettings& settings_;
    QString fileName_;
};
