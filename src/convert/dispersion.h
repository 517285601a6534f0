// SPDX-License-Identifier: MIT
// A quantity over the vacuum wavelength, from one of refractiveindex.info's
// nine dispersion formulas or from a table: its range, and its value inside.
#pragma once

#include <string>
#include <vector>

namespace dispersion {

// n at a wavelength from formula `kind` (1 to 9) and its coefficients C1, C2, ...
// Evaluated at the wavelength in micrometres, nanometres / 1000 rounded once.
struct Formula {
    int kind = 0;
    std::vector<double> coefficients;
};
// Why the formula cannot take these coefficients (too few or too many, or a
// term without all of its own), or "" where it can.
std::string check(const Formula& formula);
// NaN where the formula gives no real n (n^2 < 0 in formulas of n^2).
double refractive_index(const Formula& formula, double nanometres);

// Rows of a table: wavelengths in nm, the quantity, and each row's line in its file.
struct Table {
    std::vector<double> nanometres, values;
    std::vector<long> lines;
};
// The first row whose wavelength does not continue the strict order (ascending,
// or descending) of the rows before it; the number of rows where there is none.
size_t order_break(const Table& table);
// Linear in the wavelength between two rows, exactly a row's value at its own
// wavelength; `nanometres` within the table, which is strictly ordered.
double interpolate(const Table& table, double nanometres);

// A quantity from a formula, which holds in its range, or from a table.
struct Quantity {
    bool from_formula = false;
    Formula formula;
    double from_nm = 0, to_nm = 0;  // the formula's range
    Table table;

    double lowest() const;  // the wavelengths covered, in nm
    double highest() const;
    bool covers(double nanometres) const { return nanometres >= lowest() && nanometres <= highest(); }
    double at(double nanometres) const;  // where covered
};

} // namespace dispersion
