#include "core/UserMessage.h"

#include <QMessageBox>

namespace UserMessage {
namespace {
Sink customSink;
}

void show(const QString& text) {
    if (customSink)
        customSink(text);
    else
        QMessageBox::warning(nullptr, QStringLiteral("Pelora"), text);
}

void setSink(Sink sink) {
    customSink = std::move(sink);
}

} // namespace UserMessage
