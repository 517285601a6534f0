// SPDX-License-Identifier: MIT
// Real input for in-process tests and the benchmark: XTest events on the
// toolkit's own display connection, handled by the toolkit's event loop.
#pragma once

#include <FL/Fl_Value_Input.H>
#include <FL/Fl_Window.H>

#include <string>

namespace xinput {

enum Modifier : unsigned { none = 0, shift = 1, control = 2 };

float pixels_per_unit(const Fl_Window* window);  // more than 1 where the toolkit scales (FLTK 1.4)
void drawn(Fl_Window* window);          // wait until a window shown is mapped and drawn
void settle();                          // round-trip and handle every event that came back
void key(unsigned long keysym, unsigned modifiers = none);
void type(const std::string& text);  // a key per character, '\b' and '\t' too
void replace(Fl_Value_Input* field, const std::string& text);  // click, Ctrl+A, type
void drag(Fl_Widget* widget, int dx);  // press at the centre, move dx to the right, release
inline void click(Fl_Widget* widget) { drag(widget, 0); }
inline std::string text(const Fl_Value_Input* field) { return field->input.value(); }

} // namespace xinput
