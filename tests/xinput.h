// SPDX-License-Identifier: MIT
// Real input for in-process tests: XTest events on the toolkit's own display
// connection, then the toolkit's event loop handles whatever the server sends back.
#pragma once

#include <FL/Fl_Value_Input.H>
#include <FL/Fl_Window.H>

#include <string>

namespace xinput {

enum Modifier : unsigned { none = 0, shift = 1, control = 2, alt = 4 };

void show_and_wait(Fl_Window* window);  // map it and let it draw
void settle();                          // round-trip and handle every event that came back
void click(Fl_Widget* widget);          // left click at the widget's centre
void key(unsigned long keysym, unsigned modifiers = none);
void type(const std::string& text);     // one key press per printable ASCII character
void paste(const std::string& text);    // put it on the clipboard, press Ctrl+V
void replace(Fl_Value_Input* field, const std::string& text);  // click, Ctrl+A, type
std::string text(const Fl_Value_Input* field);
std::string shown(double value);        // what a field shows for a number the program wrote

} // namespace xinput
