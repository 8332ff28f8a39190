#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// A message box for a failure the user must hear about but that ends nothing
// (a full list, a list file that could not be saved). One at a time: what is
// to be said while one is shown, or while a Gathering lives, is said
// together in the next one. Tests record instead.
namespace UserMessage {

using Sink = std::function<void(const QString& text)>;
// Makes one message of several: the texts (the first of them, when there
// were very many) and how many more there were.
using Combiner = std::function<QString(const QStringList& texts, int more)>;

void show(const QString& text);
// An empty sink restores the message box.
void setSink(Sink sink);
// How the program words several messages as one; by default they are
// joined by blank lines.
void setCombiner(Combiner combine);

// While one lives, messages wait; the last one's end shows them as one.
class Gathering {
public:
    Gathering();
    ~Gathering();
    Gathering(const Gathering&) = delete;
    Gathering& operator=(const Gathering&) = delete;
};

} // namespace UserMessage
