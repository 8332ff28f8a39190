// Asks a top-level window to close the way a window manager's close box
// does: a WM_DELETE_WINDOW client message. The virtual screen runs no window
// manager, and destroying the window instead would skip the program's own
// close handling.
// Usage: e2e_close_window WINDOW_ID (decimal or 0x hex)

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: e2e_close_window WINDOW_ID\n", stderr);
        return 2;
    }
    char* end = nullptr;
    const Window window = std::strtoul(argv[1], &end, 0);
    if (*argv[1] == '\0' || *end != '\0') {
        std::fprintf(stderr, "e2e_close_window: not a window id: %s\n", argv[1]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("e2e_close_window: cannot open the display\n", stderr);
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (!sent) {
        std::fprintf(stderr, "e2e_close_window: could not send to window %s\n", argv[1]);
        return 1;
    }
    return 0;
}
