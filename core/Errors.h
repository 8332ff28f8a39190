#pragma once

#include <QString>
#include <stdexcept>

// A failing operation on a window, control, dialog or file throws one of these.
class PeloraError : public std::runtime_error {
public:
    explicit PeloraError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Raised by a file dialog's show operation when the user cancels it.
class DialogCancelled : public PeloraError {
public:
    DialogCancelled() : PeloraError(QStringLiteral("The dialog was cancelled.")) {}
};
