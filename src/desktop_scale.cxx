// SPDX-License-Identifier: MIT
// The desktop's scale on FLTK 1.3: see desktop_scale.h.

#include "desktop_scale.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Help_View.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Menu_.H>
#include <FL/Fl_Tooltip.H>
#include <FL/Fl_Value_Input.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// FLTK_SCALING_FACTOR when it is a positive number up to 10, else 0.  FLTK 1.4
// takes any number: with 0 or nan it shows no window, with -2 a huge one.
static float usable_scaling_factor(const char* variable)
{
    char* end = nullptr;
    const float factor = variable ? std::strtof(variable, &end) : 0;
    return variable && end != variable && factor > 0 && factor <= 10 ? factor : 0;
}

void drop_unusable_scaling_factor()
{
    const char* variable = std::getenv("FLTK_SCALING_FACTOR");
    if (!variable || usable_scaling_factor(variable))
        return;
    std::fprintf(stderr, "kalvira: FLTK_SCALING_FACTOR=%s ignored: not a positive number up to 10\n", variable);
#ifdef _WIN32
    _putenv_s("FLTK_SCALING_FACTOR", "");
#else
    unsetenv("FLTK_SCALING_FACTOR");
#endif
}

#if FL_API_VERSION < 10400 && !defined(_WIN32) && !defined(__APPLE__)
#include <FL/x.H>

// FLTK 1.4's factor on X11, step for step: the Xft.dpi resource over 96,
// where under 1.1 counts as 1, between 1.8 and 2.2 as 2 and over 10 as 10,
// times FLTK_SCALING_FACTOR when usable, the product kept within 10: a window
// wider than X's 16-bit coordinates is no window.
static float factor_as_fltk_1_4_takes_it()
{
    fl_open_display();
    float factor = 1, dpi = 0;
    if (const char* resource = XGetDefault(fl_display, "Xft", "dpi");
        resource && std::sscanf(resource, "%f", &dpi) == 1) {
        factor = dpi / 96.;
        if (factor < 1.1) factor = 1;
        else if (factor > 1.8 && factor < 2.2) factor = 2;
        else if (factor > 10.0) factor = 10.0;
    }
    if (const float times = usable_scaling_factor(std::getenv("FLTK_SCALING_FACTOR")))
        factor *= times;
    return std::fmin(factor, 10.0f);
}

// X is told the new size of a window already mapped; the toolkit hears of it
// as a move.
static void resize_on_screen(Fl_Window* window)
{
    XResizeWindow(fl_display, fl_xid(window), window->w(), window->h());
}
#else
static float factor_as_fltk_1_4_takes_it() { return 1; }
static void resize_on_screen(Fl_Window*) {}
#endif

float desktop_scale()
{
    static const float factor = factor_as_fltk_1_4_takes_it();
    return factor;
}

int scaled(int units)
{
    return static_cast<int>(std::lround(units * desktop_scale()));
}

void scale_layout(Fl_Widget* widget)
{
    if (desktop_scale() == 1)
        return;
    // Both edges are scaled, so that widgets that meet still meet.
    const int x = widget->x(), y = widget->y(), X = scaled(x), Y = scaled(y);
    const int W = scaled(x + widget->w()) - X, H = scaled(y + widget->h()) - Y;
    widget->labelsize(scaled(widget->labelsize()));
    if (auto* field = dynamic_cast<Fl_Value_Input*>(widget))
        field->textsize(scaled(field->textsize()));
    else if (auto* input = dynamic_cast<Fl_Input_*>(widget))
        input->textsize(scaled(input->textsize()));
    else if (auto* menu = dynamic_cast<Fl_Menu_*>(widget))
        menu->textsize(scaled(menu->textsize()));
    Fl_Group* group = widget->as_group();
    if (!group || dynamic_cast<Fl_Help_View*>(widget)) {  // the help view lays out its page and scrollbars itself
        widget->resize(X, Y, W, H);
        return;
    }
    group->Fl_Widget::resize(X, Y, W, H);  // the group's own box: its children are scaled, not moved
    for (int i = 0; i < group->children(); ++i)
        scale_layout(group->child(i));
    group->init_sizes();
}

void scale_shown_window(Fl_Window* window)
{
    if (desktop_scale() == 1)
        return;
    const int x = window->x(), y = window->y();
    scale_layout(window);
    window->Fl_Widget::resize(x, y, window->w(), window->h());  // it stays where it is
    resize_on_screen(window);
}

void scale_message_icon()
{
    Fl_Widget* icon = fl_message_icon();
    Fl_Window* box = icon->window();
    constexpr int margin = 10, side = 50;  // fl_message's own layout of its icon, an FLTK 1.3 internal
    if (desktop_scale() == 1 || !box || !box->shown() || icon->w() != side)
        return;
    const int grow = scaled(margin + side) - (margin + side);
    for (int i = 0; i < box->children(); ++i)
        if (Fl_Widget* child = box->child(i); child != icon)
            child->position(child->x() + grow, child->y());
    icon->resize(scaled(margin), scaled(margin), scaled(side), scaled(side));
    box->Fl_Widget::resize(box->x(), box->y(), box->w() + grow, std::max(box->h(), scaled(2 * margin + side)));
    box->init_sizes();
    resize_on_screen(box);
}

void scale_toolkit_defaults()
{
    static const bool scaled_once = [] {
        if (desktop_scale() != 1) {
            Fl_Tooltip::size(scaled(FL_NORMAL_SIZE));
            Fl::scrollbar_size(scaled(16));
            fl_message_font(fl_message_font_, scaled(FL_NORMAL_SIZE));  // fl_message_font_: the toolkit's own face
            scale_layout(fl_message_icon()->window());
        }
        return true;
    }();
    (void)scaled_once;
}
