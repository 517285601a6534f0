// SPDX-License-Identifier: MIT
// kalvira's icon in a few sizes, as PNG bytes embedded at build time (the build
// renders desktop/kalvira.svg and writes window_icons.cxx).
#pragma once

struct EmbeddedPng {
    const unsigned char* data;
    int size;
};

extern const EmbeddedPng window_icons[];
extern const int window_icon_count;
