#pragma once

#include "platform/FileDialog.h"

// The file dialog on QFileDialog: no title, default extension, initial
// folder or initial file name.
class QtFileDialog : public FileDialog {
public:
    using FileDialog::FileDialog;

    void ShowOpen() override;
    void ShowSave() override;
    QString FileName() const override { return fileName_; }

private:
    void show(bool save);

    QString fileName_;
};
