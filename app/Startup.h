#pragma once

class Windows;

// The program's start: the player window is the start-up object, and its
// load handler brings up everything else. The program ends when no window is
// loaded any more.
namespace Startup {

void run(Windows& windows);

} // namespace Startup
