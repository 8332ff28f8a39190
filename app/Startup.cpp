#include "app/Startup.h"

#include "app/Windows.h"

namespace Startup {

void run(Windows& windows) {
    windows.player().load();
    windows.player().show();
    windows.player()->activateWindow();
}

} // namespace Startup
