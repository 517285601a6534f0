// SPDX-License-Identifier: MIT
// kalvira's entry point: one converter, shown, then the toolkit's event loop.

#include "desktop_scale.h"
#include "kalvira.h"

int main()
{
    drop_unusable_scaling_factor();
    auto* converter = new KALVIRA;
    converter->init();
    converter->show();
    return Fl::run();
}
