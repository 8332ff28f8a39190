#include "app/Startup.h"

#include "app/Windows.h"
#include "player/PlayerWindow.h"

namespace Startup {

void run() {
    windows::player().load();
    windows::player().show();
    windows::player()->activateWindow();
}

} // namespace Startup
