#pragma once

#include <QString>
#include <functional>

// A message box for a failure the user must hear about but that ends nothing
// (a full list, a list file that could not be saved). Tests record instead.
namespace UserMessage {

using Sink = std::function<void(const QString& text)>;

void show(const QString& text);
// An empty sink restores the message box.
void setSink(Sink sink);

} // namespace UserMessage
