// SPDX-License-Identifier: MIT
#include "read_back.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// More digits never read back worse, so the fewest are found by halving; 17
// always do.  (std::to_chars would give the same digits, but its tables cost a
// quarter of a megabyte of resident memory.)
int digits_to_read_back(double value)
{
    char text[32];  // 17 digits take 24
    int fewest = 1, enough = 17;
    while (fewest < enough) {
        const int digits = (fewest + enough) / 2;
        const int length = std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (length < int(sizeof text) && std::strtod(text, nullptr) == value)
            enough = digits;
        else
            fewest = digits + 1;
    }
    if (std::fabs(value) >= 1 && std::fabs(value) < 1e17)
        fewest = std::max(fewest, std::snprintf(text, sizeof text, "%.0f", std::fabs(value)));
    return fewest;
}
