#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// A dialog for choosing a file to open or a name to save under.
// The show operations return when the user has closed the dialog and throw
// DialogCancelled on a cancel; fileName() then gives the chosen path, the
// same at every read until the dialog is shown again.
class FileDialog {
public:
    // filter: "description|patterns|description|patterns...", patterns
    // separated by ';'. The first pair is selected when the dialog opens.
    // lastFolder: the name under which the folder of the dialog's last use
    // is kept for its next one, across runs; empty: none is kept.
    explicit FileDialog(QString filter, QString lastFolder = {})
        : filter_(std::move(filter)), lastFolder_(std::move(lastFolder)) {}
    virtual ~FileDialog() = default;

    virtual void showOpen() = 0;
    virtual void showSave() = 0;
    virtual QString fileName() const = 0;

    const QString& filter() const { return filter_; }
    const QString& lastFolder() const { return lastFolder_; }

    // Makes the dialog a window asks for, with its filter and the name of
    // its last folder.
    using Factory = std::function<std::unique_ptr<FileDialog>(const QString& filter,
                                                              const QString& lastFolder)>;

    // The filter as QFileDialog's name filters, descriptions kept as given.
    static QStringList toNameFilters(const QString& filter);
    // The suffix of the filter's first pattern ("lst" for "*.lst"), which a
    // name typed into the save dialog without one is given; empty for none.
    static QString saveSuffix(const QString& filter);
    // `typed` with `.suffix` added when its file name has no suffix of its own.
    static QString withSuffix(const QString& typed, const QString& suffix);

private:
    QString filter_;
    QString lastFolder_;
};
