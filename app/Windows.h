#pragma once

#include "core/SharedState.h"
#include "core/WindowInstance.h"

class AboutWindow;
class PlayerWindow;
class PlaylistWindow;

// The program's three windows, each a single instance reached by its name,
// and the state the player and the playlist share. Each window is built
// with what it needs of the others.
namespace windows {

WindowInstance<PlayerWindow>& player();
WindowInstance<PlaylistWindow>& playlist();
WindowInstance<AboutWindow>& about();

SharedState& sharedState();

// Destroys every loaded window without its unloading(): at the very end of
// the program, and between tests.
void destroyAll();

} // namespace windows
