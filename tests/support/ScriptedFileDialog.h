#pragma once

#include "core/FileDialog.h"

#include <QStringList>
#include <optional>

// A file dialog that answers from a script shared by all instances: each
// show takes the next answer, a path or a cancel. With no answer left it
// cancels. Every show is logged as "open <filter>" or "save <filter>".
class ScriptedFileDialog : public FileDialog {
public:
    using FileDialog::FileDialog;

    static void answer(const QString& path);
    static void cancel();
    static void clearScript();
    static QStringList& shows();

    void showOpen() override;
    void showSave() override;
    QString fileName() const override { return fileName_; }

private:
    void takeAnswer();

    QString fileName_;
};
