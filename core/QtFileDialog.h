#pragma once

#include "core/FileDialog.h"
#include "core/FocusRestorer.h"

// The file dialog on QFileDialog: no title, default extension or initial
// file name. It opens in the folder of its last use, kept under its
// lastFolder() name in the user's configuration (~/.config/pelora), else in
// the working folder.
class QtFileDialog : public FileDialog {
public:
    // `focus`: where the focus goes back once the dialog closes.
    QtFileDialog(QString filter, QString lastFolder, FocusRestorer::Memory& focus)
        : FileDialog(std::move(filter), std::move(lastFolder)), focus_(focus) {}

    void showOpen() override;
    void showSave() override;
    QString fileName() const override { return fileName_; }

private:
    void show(bool save);

    FocusRestorer::Memory& focus_;
    QString fileName_;
};
