#include "app/Windows.h"

#include "about/AboutWindow.h"
#include "app/PlayerForPlaylist.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"

namespace windows {

WindowInstance<PlayerWindow>& player() {
    static WindowInstance<PlayerWindow> instance(
        [] { return new PlayerWindow(sharedState(), playlist()); });
    return instance;
}

WindowInstance<PlaylistWindow>& playlist() {
    static PlayerForPlaylist playerControl;
    static WindowInstance<PlaylistWindow> instance(
        [] { return new PlaylistWindow(sharedState(), playerControl, about()); });
    return instance;
}

WindowInstance<AboutWindow>& about() {
    static WindowInstance<AboutWindow> instance([] { return new AboutWindow(); });
    return instance;
}

SharedState& sharedState() {
    static SharedState state;
    return state;
}

void destroyAll() {
    about().destroy();
    playlist().destroy();
    player().destroy();
}

} // namespace windows
