// SPDX-License-Identifier: MIT
// A material file of the refractiveindex.info database (YAML): its n and k
// from the entries of DATA, and the wavelengths the file itself gives.
#pragma once

#include "dispersion.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Material {
    dispersion::Quantity n;
    std::optional<dispersion::Quantity> k;  // none: k = 0
    bool one_table = false;                 // n and k from the same tabulated nk
};

// Whether a file's first lines read as a YAML mapping or document, not as a table.
bool looks_like_material(std::string_view start);

// The file's text as a material; InputError where it is no material file or
// gives no n, naming the line at fault.
Material read_material(const std::string& text);

// The rows of the file's own wavelengths: a table's rows as published, or
// both tables' wavelengths ascending, each once, where n and k come from two;
// those where the other quantity is not defined are left out, and counted.
struct Point {
    double nanometres, n, k;
};
struct OwnRows {
    std::vector<Point> points;
    size_t left_out = 0;
    std::string why;  // why they were left out
};
OwnRows own_rows(const Material& material);  // InputError for a file of formulas alone
