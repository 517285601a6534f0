// SPDX-License-Identifier: MIT
// Real numbers carried in MPFR, the tests' exact reference, and how far a
// double is from one.
#pragma once

#include <mpfr.h>

#include <algorithm>
#include <cmath>

// A real number to 320 bits: products and sums of doubles are exact there, and
// a root is far closer than any bound checked.
struct Exact {
    mpfr_t v;
    Exact(double d = 0.0) { mpfr_init2(v, 320); mpfr_set_d(v, d, MPFR_RNDN); }
    Exact(const Exact& other) : Exact() { mpfr_set(v, other.v, MPFR_RNDN); }
    Exact& operator=(const Exact& other) { mpfr_set(v, other.v, MPFR_RNDN); return *this; }
    ~Exact() { mpfr_clear(v); }
    double rounded() const { return mpfr_get_d(v, MPFR_RNDN); }
};

template <typename Operation, typename... Exacts>
Exact apply(Operation operation, const Exacts&... operands)
{
    Exact result;
    operation(result.v, operands.v..., MPFR_RNDN);
    return result;
}
inline Exact operator+(const Exact& a, const Exact& b) { return apply(mpfr_add, a, b); }
inline Exact operator-(const Exact& a, const Exact& b) { return apply(mpfr_sub, a, b); }
inline Exact operator*(const Exact& a, const Exact& b) { return apply(mpfr_mul, a, b); }
inline Exact operator/(const Exact& a, const Exact& b) { return apply(mpfr_div, a, b); }
inline Exact sqrt(const Exact& a) { return apply(mpfr_sqrt, a); }
inline Exact abs(const Exact& a) { return apply(mpfr_abs, a); }
inline Exact decimal(const char* digits)
{
    Exact result;
    mpfr_set_str(result.v, digits, 10, MPFR_RNDN);
    return result;
}

// How far v is from the exact value, in units in the last place of a double
// at `scale` (the subnormal spacing at least; past the largest double as if
// the exponents went on).
inline double ulps(double v, const Exact& exact, const Exact& scale)
{
    Exact error = Exact(v) - exact;
    const long unit = mpfr_zero_p(scale.v) ? -1074 : std::max<long>(mpfr_get_exp(scale.v) - 53, -1074);
    mpfr_mul_2si(error.v, error.v, -unit, MPFR_RNDN);
    return std::fabs(error.rounded());
}

// The exact value rounded, or within `bound` units of a double at `scale`;
// never infinite or NaN where the exact value rounds to a finite double.
inline bool near(double v, const Exact& exact, double bound, const Exact& scale)
{
    return v == exact.rounded() || (std::isfinite(v) && ulps(v, exact, scale) <= bound);
}
inline bool near(double v, const Exact& exact, double bound) { return near(v, exact, bound, exact); }
