// SPDX-License-Identifier: MIT
// The conversions over the whole range of doubles: each gives the plain steps
// bit for bit, except where those steps are wrong, and there the right value.

#include <gtest/gtest.h>

#include "optics.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using complex = std::complex<double>;
using ld = long double;

// The plain steps of each conversion.
complex plain_square(double a, double b) { return {a * a - b * b, (a * b) * 2.0}; }

complex plain_root(double x, double y)
{
    const double r = std::hypot(x, y), larger = std::sqrt((x > 0.0 ? r + x : r - x) * 0.5);
    const double b = y < 0.0 ? -larger : larger;
    return r == 0.0 ? complex{0.0, 0.0} : x > 0.0 ? complex{larger, (y / larger) * 0.5} : complex{(y / b) * 0.5, b};
}

// bit for bit, but for a NaN's payload
bool same(double a, double b) { return (std::isnan(a) ? std::isnan(b) : a == b) && std::signbit(a) == std::signbit(b); }

bool same(complex u, complex v) { return same(u.real(), v.real()) && same(u.imag(), v.imag()); }

ld ulps(double v, ld exact)  // how far v is from exact, in units of a double's last place there
{
    return std::fabs(v - exact) / (exact == 0 ? 0x1p-1074L : std::max(std::ldexp(1.0L, std::ilogb(exact) - 52), 0x1p-1074L));
}

constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();

void check_root(double x, double y)
{
    const complex n = optics::principal_root(x, y), plain = plain_root(x, y);
    const double a = n.real(), b = n.imag();
    const ld X = x, Y = y, R = std::sqrt(X * X + Y * Y);
    if (!std::isfinite(x) || !std::isfinite(y) || R == 0) {  // an infinite y gives the limit, as C's csqrt does
        ASSERT_TRUE(same(n, std::isinf(y) ? complex{inf, y} : plain)) << "root " << a << " + i " << b;
        return;
    }
    ASSERT_TRUE(!(a < 0.0) && (y == 0.0 && x < 0.0 ? b > 0.0 : std::signbit(b) == std::signbit(y)))
        << "not the principal root: " << a << " + i " << b;
    // against the exact root: a few units in the last place, the nearest
    // doubles where |epsilon| is subnormal, and never farther than the plain steps
    const ld larger = std::sqrt((R + std::fabs(X)) / 2), smaller = Y / (2 * larger);
    const ld A = x > 0 ? larger : std::fabs(smaller), B = x > 0 ? smaller : (y < 0 ? -larger : larger);
    const auto error = [&](complex v) { return std::max(ulps(v.real(), A), ulps(v.imag(), B)); };
    ASSERT_LE(error(n), R < DBL_MIN ? 0.501 : 3) << "root " << a << " + i " << b;
    ASSERT_TRUE(same(n, plain) || error(n) < error(plain)) << "left the plain steps where they were as good";
}

void check_square(double a, double b)
{
    const complex e = optics::square(a, b), plain = plain_square(a, b);
    ASSERT_TRUE(same(e.imag(), plain.imag()));
    if (std::isfinite(plain.real()) || !std::isfinite(a) || !std::isfinite(b)) {
        ASSERT_TRUE(same(e.real(), plain.real())) << "square " << e.real() << " for " << plain.real();
        return;
    }
    // a square overflowed: the exact difference, or its infinity
    const ld exact = (ld(a) - b) * (ld(a) + b);
    ASSERT_TRUE(std::isinf(double(exact)) ? e.real() == double(exact) : ulps(e.real(), exact) <= 2)
        << "square " << e.real() << " for " << double(exact);
}

void check(double u, double v)
{
    SCOPED_TRACE(testing::Message() << std::hexfloat << u << " + i " << v);
    check_root(u, v);
    check_square(u, v);
}

// Random parts over the whole binary range, subnormals and the top binade
// included; K; inputs where earlier versions went wrong; then a cross of
// extreme and non-finite parts.
TEST(Arithmetic, WholeRange)
{
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> mantissa(1.0, 2.0);
    std::uniform_int_distribution<int> exponent(-1074, 1023);
    const auto draw = [&] { return (random() % 2 ? -1 : 1) * std::ldexp(mantissa(random), exponent(random)); };
    for (int i = 0; i < 200000 && !HasFatalFailure(); ++i)
        check(draw(), draw());
    // K is 2 pi over lambda in metres, then times k: other orders round 0.013 at 632.8 nm up
    EXPECT_EQ(optics::attenuation(0.013, 632.8), 0x1.f837581bca443p+16);

    for (const auto& [u, v] : {std::pair{4.9e-324, 4.9e-324},  // root 9% off: hypot rounded |epsilon|
                               {-4.9e-324, 9.9e-324}, {0x0.000ad66c6ea2dp-1022, -0x1.241b4d1ae10eap-1022},
                               {1.5e154, 1e154}, {1.4e154, 5e153}})  // e' inf for 1.25e308 and 1.71e308
        if (!HasFatalFailure())
            check(u, v);

    std::vector<double> parts = {0.0,   DBL_TRUE_MIN, 3 * DBL_TRUE_MIN, DBL_MIN / 3, DBL_MIN,     1e-200,
                                 1.0,   1e154,        1.5e154,          1e200,       DBL_MAX / 4, DBL_MAX / 2,
                                 std::nextafter(DBL_MAX, 0.0), DBL_MAX, inf,         nan};
    for (const double v : std::vector<double>(parts))
        parts.push_back(-v);
    for (const double u : parts)
        for (const double v : parts)  // of two NaNs, which one a product keeps is the compiler's choice
            if (!HasFatalFailure() && !(std::isnan(u) && std::isnan(v)))
                check(u, v);
}


} // namespace
