#pragma once

#include "system/FileDialog.h"

// The file dialog on QFileDialog: no title, default extension, initial
// folder or initial file name.
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
