// SPDX-License-Identifier: MIT
#include "xinput.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdio>
#include <stdexcept>

namespace xinput {
namespace {

Fl_Window* window_of(Fl_Widget* widget)
{
    Fl_Window* window = widget->as_window() ? widget->as_window() : widget->window();
    if (!window)
        throw std::logic_error("widget is not in a window");
    return window;
}

void hold(unsigned modifiers, bool down)
{
    const unsigned long keys[] = {XK_Shift_L, XK_Control_L, XK_Alt_L};
    for (unsigned i = 0; i < 3; ++i)
        if (modifiers & (1u << i))
            XTestFakeKeyEvent(fl_display, XKeysymToKeycode(fl_display, keys[i]), down, CurrentTime);
}

} // namespace

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

void show_and_wait(Fl_Window* window)
{
    window->show();
    while (!window->visible() || window->damage())
        Fl::wait(0.01);
    settle();
}

void click(Fl_Widget* widget)
{
    const Fl_Window* window = window_of(widget);
    const int x = window->x_root() + (widget == window ? 0 : widget->x()) + widget->w() / 2;
    const int y = window->y_root() + (widget == window ? 0 : widget->y()) + widget->h() / 2;
    XTestFakeMotionEvent(fl_display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(fl_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(fl_display, 1, False, CurrentTime);
    settle();
}

void key(unsigned long keysym, unsigned modifiers)
{
    const KeyCode code = XKeysymToKeycode(fl_display, keysym);
    if (code == 0)
        throw std::invalid_argument("no key for keysym");
    if (XkbKeycodeToKeysym(fl_display, code, 0, 0) != keysym)
        modifiers |= shift;  // the symbol sits on the shifted level
    hold(modifiers, true);
    XTestFakeKeyEvent(fl_display, code, True, CurrentTime);
    XTestFakeKeyEvent(fl_display, code, False, CurrentTime);
    hold(modifiers, false);
    settle();
}

void type(const std::string& text)
{
    for (const char c : text)
        key(static_cast<unsigned char>(c));  // Latin-1 keysyms equal their code
}

void paste(const std::string& text)
{
    Fl::copy(text.data(), static_cast<int>(text.size()), 1);
    key(XK_v, control);
}

void replace(Fl_Value_Input* field, const std::string& text)
{
    click(field);
    key(XK_a, control);
    if (text.empty())
        key(XK_BackSpace);
    type(text);
}

std::string text(const Fl_Value_Input* field)
{
    return field->input.value();
}

std::string shown(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", value);
    return buf;
}

} // namespace xinput
