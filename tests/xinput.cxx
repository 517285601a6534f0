// SPDX-License-Identifier: MIT
#include "xinput.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <utility>

namespace xinput {

float pixels_per_unit([[maybe_unused]] const Fl_Window* window)
{
#if FL_API_VERSION >= 10400
    return Fl::screen_scale(const_cast<Fl_Window*>(window)->screen_num());
#else
    return 1;  // FLTK 1.3 draws one pixel a unit
#endif
}

void settle()
{
    // XTest input is dispatched before the server answers the next request,
    // so after XSync every resulting event is in our queue.
    for (int round = 0; round < 2; ++round) {
        XSync(fl_display, False);
        while (XPending(fl_display))
            Fl::check();
        Fl::check();
    }
}

void drawn(Fl_Window* window)
{
    while (!window->visible() || window->damage())
        Fl::wait(0.01);
    settle();
}

void key(unsigned long keysym, unsigned modifiers)
{
    const KeyCode code = XKeysymToKeycode(fl_display, keysym);
    if (XkbKeycodeToKeysym(fl_display, code, 0, 0) != keysym)
        modifiers |= shift;  // the symbol sits on the shifted level
    const auto hold = [&](bool down) {
        for (const auto& [bit, sym] : {std::pair{shift, XK_Shift_L}, std::pair{control, XK_Control_L}})
            if (modifiers & bit)
                XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, sym), down, CurrentTime);
    };
    hold(true);
    XTestFakeKeyEvent(fl_display, code, True, CurrentTime);
    XTestFakeKeyEvent(fl_display, code, False, CurrentTime);
    hold(false);
    settle();
}

void type(const std::string& text)
{
    for (const char c : text)  // Latin-1 keysyms equal their code
        key(c == '\b' ? XK_BackSpace : c == '\t' ? XK_Tab : static_cast<unsigned char>(c));
}

void replace(Fl_Value_Input* field, const std::string& text)
{
    click(field);
    key(XK_a, control);
    type(text);  // over the selection
}

void drag(Fl_Widget* widget, int dx)
{
    const Fl_Window* window = widget->window();
    const float s = pixels_per_unit(window);
    const int x = int((window->x_root() + widget->x() + widget->w() / 2) * s);
    const int y = int((window->y_root() + widget->y() + widget->h() / 2) * s);
    XTestFakeMotionEvent(fl_display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(fl_display, 1, True, CurrentTime);
    for (int step = 1; dx && step <= 10; ++step) {  // one at a time: the toolkit merges queued motion
        settle();
        XTestFakeMotionEvent(fl_display, -1, x + dx * step / 10, y, CurrentTime);
    }
    settle();
    XTestFakeButtonEvent(fl_display, 1, False, CurrentTime);
    settle();
}

} // namespace xinput
