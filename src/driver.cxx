// SPDX-License-Identifier: MIT
// kalvira's entry point: one converter, shown, then the toolkit's event loop.

#include "kalvira.h"

int main()
{
    auto* converter = new KALVIRA;
    converter->init();
    converter->show();
    return Fl::run();
}
