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
    explicit FileDialog(QString filter) : filter_(std::move(filter)) {}
    virtual ~FileDialog() = default;

    virtual void showOpen() = 0;
    virtual void showSave() = 0;
    virtual QString fileName() const = 0;

    const QString& filter() const { return filter_; }

    // Makes the dialog a window asks for, with its filter.
    using Factory = std::function<std::unique_ptr<FileDialog>(const QString& filter)>;

    // The filter as QFileDialog's name filters, descriptions kept as given.
    static QStringList toNameFilters(const QString& filter);

private:
    QString filter_;
};
