// Drags files onto a window the way a file manager does, through the XDND
// protocol: enter, a position over the window, then the drop, answering the
// target's requests for the dragged data as text/uri-list. Prints the
// target's answer to the position ("accepted copy", "accepted move",
// "refused") and, after a drop, "dropped". With --probe it leaves without
// dropping, as a user who sees no drop cursor would.
// Usage: e2e_xdnd_drag [--probe] [--move] WINDOW ROOT_X ROOT_Y URI...

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/select.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr long xdndVersion = 5;
constexpr int waitSeconds = 10;

Display* display = nullptr;
Window source = 0;
std::string uriList;

Atom atom(const char* name) {
    return XInternAtom(display, name, False);
}

void send(Window target, const char* message, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = atom(message);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(source);
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

// The dragged data, to whoever asks for it while the drag lasts.
void answer(const XSelectionRequestEvent& request) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    const Atom property = request.property != None ? request.property : request.target;
    if (request.target == atom("text/uri-list")) {
        XChangeProperty(display, request.requestor, property, request.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(uriList.data()),
                        static_cast<int>(uriList.size()));
        reply.xselection.property = property;
    } else if (request.target == atom("TARGETS")) {
        const Atom targets[] = {atom("TARGETS"), atom("text/uri-list")};
        XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(targets), 2);
        reply.xselection.property = property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

// Serves data requests until the target sends MESSAGE to the source.
bool awaitMessage(const char* message, XClientMessageEvent& received) {
    const Atom wanted = atom(message);
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == SelectionRequest)
                answer(event.xselectionrequest);
            else if (event.type == ClientMessage && event.xclient.message_type == wanted) {
                received = event.xclient;
                return true;
            }
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval timeout{waitSeconds, 0};
        if (select(fd + 1, &readable, nullptr, nullptr, &timeout) <= 0) {
            std::fprintf(stderr, "e2e_xdnd_drag: no %s from the target in %d s\n", message,
                         waitSeconds);
            return false;
        }
    }
}

// A server timestamp, as a real drag carries one: from a property change on
// the source window.
Time serverTime() {
    XSelectInput(display, source, PropertyChangeMask);
    XChangeProperty(display, source, atom("_E2E_TIME"), XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    do
        XWindowEvent(display, source, PropertyChangeMask, &event);
    while (event.type != PropertyNotify);
    return event.xproperty.time;
}

std::string actionName(Atom action) {
    if (action == atom("XdndActionCopy"))
        return "copy";
    if (action == atom("XdndActionMove"))
        return "move";
    return "other";
}

} // namespace

int main(int argc, char** argv) {
    bool probe = false;
    bool move = false;
    int first = 1;
    for (; first < argc && argv[first][0] == '-'; ++first) {
        if (std::strcmp(argv[first], "--probe") == 0)
            probe = true;
        else if (std::strcmp(argv[first], "--move") == 0)
            move = true;
    }
    if (argc - first < 4) {
        std::fputs("usage: e2e_xdnd_drag [--probe] [--move] WINDOW ROOT_X ROOT_Y URI...\n", stderr);
        return 2;
    }
    const Window target = std::strtoul(argv[first], nullptr, 0);
    const long x = std::atol(argv[first + 1]);
    const long y = std::atol(argv[first + 2]);
    for (int i = first + 3; i < argc; ++i)
        uriList += std::string(argv[i]) + "\r\n";

    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("e2e_xdnd_drag: cannot open the display\n", stderr);
        return 1;
    }
    source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Time time = serverTime();
    XSetSelectionOwner(display, atom("XdndSelection"), source, time);

    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* aware = nullptr;
    if (XGetWindowProperty(display, target, atom("XdndAware"), 0, 1, False, XA_ATOM, &type, &format,
                           &count, &after, &aware) != Success ||
        count != 1) {
        std::fprintf(stderr, "e2e_xdnd_drag: window %s takes no drops (no XdndAware)\n",
                     argv[first]);
        return 1;
    }
    const long version = std::min(xdndVersion, *reinterpret_cast<long*>(aware));
    XFree(aware);

    const Atom action = atom(move ? "XdndActionMove" : "XdndActionCopy");
    send(target, "XdndEnter", version << 24, static_cast<long>(atom("text/uri-list")), 0, 0);
    send(target, "XdndPosition", 0, (x << 16) | y, static_cast<long>(time),
         static_cast<long>(action));
    XClientMessageEvent status;
    if (!awaitMessage("XdndStatus", status))
        return 1;
    const bool accepted = status.data.l[1] & 1;
    if (accepted)
        std::printf("accepted %s\n", actionName(status.data.l[4]).c_str());
    else
        std::puts("refused");
    std::fflush(stdout);

    if (probe || !accepted) {
        send(target, "XdndLeave", 0, 0, 0, 0);
    } else {
        send(target, "XdndDrop", 0, static_cast<long>(time), 0, 0);
        XClientMessageEvent finished;
        if (!awaitMessage("XdndFinished", finished))
            return 1;
        std::puts("dropped");
    }
    XCloseDisplay(display);
    return 0;
}
