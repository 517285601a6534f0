// SPDX-License-Identifier: MIT
// Acts as a window manager's close control: sends WM_DELETE_WINDOW to the window given.
#include <X11/Xlib.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display || argc != 2)
        return 2;
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, display, std::strtoul(argv[1], nullptr, 0),
                     XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}
