#pragma once

#include "system/FileDialog.h"

// The file dialog on QFileDialog: no title, default extension or initial
// file name. It opens in the folder of its last use, kept under its
// lastFolder() name in the user's configuration (~/.config/pelora), else in
// the working folder.
class QtFileDialog : public FileDialog {
public:
    using FileDialog::FileDialog;

    void showOpen() override;
    void showSave() override;
    QString fileName() const override { return fileName_; }

private:
    void show(bool save);

    QString fileName_;
};
