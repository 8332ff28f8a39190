#include "support/ScriptedFileDialog.h"

#include "core/Errors.h"

#include <deque>

namespace {
std::deque<std::optional<QString>>& script() {
    static std::deque<std::optional<QString>> answers;
    return answers;
}
} // namespace

void ScriptedFileDialog::answer(const QString& path) {
    script().push_back(path);
}
void ScriptedFileDialog::cancel() {
    script().push_back(std::nullopt);
}
void ScriptedFileDialog::clearScript() {
    script().clear();
}

QStringList& ScriptedFileDialog::shows() {
    static QStringList entries;
    return entries;
}

void ScriptedFileDialog::showOpen() {
    shows() << "open " + filter();
    takeAnswer();
}

void ScriptedFileDialog::showSave() {
    shows() << "save " + filter();
    takeAnswer();
}

void ScriptedFileDialog::takeAnswer() {
    std::optional<QString> next;
    if (!script().empty()) {
        next = script().front();
        script().pop_front();
    }
    if (!next)
        throw DialogCancelled();
    fileName_ = *next;
}
