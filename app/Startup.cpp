#include "app/Startup.h"

#include "app/Forms.h"
#include "player/Form1.h"

namespace Startup {

void run() {
    forms::Form1().load();
    forms::Form1().show();
    forms::Form1()->activateWindow();
}

} // namespace Startup
