// SPDX-License-Identifier: MIT
// The desktop's scale where the toolkit does not apply it: FLTK 1.4 draws
// every window at the desktop's factor by itself, FLTK 1.3 one pixel a unit,
// so on 1.3 kalvira lays its windows out at the factor 1.4 would take.  This
// is for FLTK 1.3 (on 1.4 the layout functions leave things as they are),
// and goes when kalvira no longer builds against 1.3, but for the check of
// FLTK_SCALING_FACTOR, which holds for 1.4 too.
#pragma once

class Fl_Widget;
class Fl_Window;

// Removes FLTK_SCALING_FACTOR, saying so on stderr, unless it is a positive
// number up to 10; before the toolkit reads it.
void drop_unusable_scaling_factor();

float desktop_scale();  // 1 where the toolkit scales by itself; read once
int scaled(int units);  // units at that scale, rounded to whole pixels

// A widget built at one pixel a unit, and everything in it, at the desktop's
// scale: positions, sizes, label and text sizes.  Once per widget, before a
// window is shown.
void scale_layout(Fl_Widget* widget);

// The same for a window the toolkit builds and keeps to itself (the help
// dialog's): once shown, before it first draws.
void scale_shown_window(Fl_Window* window);

// The message box's icon, which the toolkit lays out at 50 pixels for every
// message: once the box is shown, before it first draws.
void scale_message_icon();

// The toolkit's own defaults that kalvira's windows meet: tooltips,
// scrollbars and the message box.  Once per process.
void scale_toolkit_defaults();
