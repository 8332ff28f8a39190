#include "core/ErrorModel.h"

#include "core/Errors.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace ErrorModel {
namespace {

Reporter customReporter;
bool programEnded = false;

} // namespace

void setReporter(Reporter reporter) {
    customReporter = std::move(reporter);
}

void reportFatal(const QString& message) {
    if (programEnded)
        return;
    programEnded = true;
    if (customReporter) {
        customReporter(message);
        return;
    }
    // The program words it for the user (setReporter); this is the fallback.
    QMessageBox::critical(nullptr, QStringLiteral("Pelora"), message);
    QCoreApplication::exit(exitStatus());
}

bool ended() {
    return programEnded;
}

int exitStatus() {
    return programEnded ? 1 : 0;
}

void reset() {
    programEnded = false;
}

QString describe(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown failure.");
    }
}

} // namespace ErrorModel
