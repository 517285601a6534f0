// SPDX-License-Identifier: MIT
// The yardstick for start-up and memory: a bare toolkit window of kalvira's
// size that shows itself and runs the event loop, nothing else.

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

int main()
{
    Fl_Window window(231, 171, "bare window");
    window.show();
    return Fl::run();
}
