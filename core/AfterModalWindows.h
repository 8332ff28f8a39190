#pragma once

#include <functional>

// Work that must not happen under an open dialog or message, such as files
// handed in from outside: a list replaced under the open save dialog would
// be saved instead of the user's.
namespace AfterModalWindows {

// Runs `work` from the event loop, as an event of the program's own (a
// failure in it is reported and ends the program), once no modal window (a
// file dialog, a message, About) is open, after all work given before it. What the work
// given while a modal window was open has to say is said in one message.
void run(std::function<void()> work);

} // namespace AfterModalWindows
