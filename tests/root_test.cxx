// SPDX-License-Identifier: MIT
// The principal square root behind the epsilon fields, checked against a
// long double reference over the whole range of doubles, and the exact
// results for infinite and not-a-number parts.

#include <gtest/gtest.h>

#include "kalvira.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double min_subnormal = std::numeric_limits<double>::denorm_min();

// One unit in the last place of a double of |v|'s size, subnormals included.
long double ulp(long double v)
{
    if (v == 0)
        return 0x1p-1074L;
    return std::max(std::ldexp(1.0L, std::ilogb(v) - 52), 0x1p-1074L);
}

bool equal(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool same(double a, double b)  // bit for bit, so -0 differs from 0
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

class Root : public ::testing::Test {
protected:
    std::complex<double> root(double x, double y)
    {
        kalvira.epsilon = kalvira.set(x, y);
        kalvira.calc_n();
        // the n fields hold the model's numbers (a field holding 0 keeps it for -0)
        EXPECT_TRUE(equal(kalvira.UI_n_real->value(), kalvira.n.real()));
        EXPECT_TRUE(equal(kalvira.UI_n_imag->value(), kalvira.n.imag()));
        return kalvira.n;
    }

    // What the root of every finite epsilon must satisfy.
    void check_finite(double x, double y)
    {
        SCOPED_TRACE(testing::Message() << std::hexfloat << "epsilon = " << x << " + i " << y);
        const auto n = root(x, y);
        const double a = n.real(), b = n.imag();
        ASSERT_TRUE(std::isfinite(a) && std::isfinite(b)) << "n = " << a << " + i " << b;
        ASSERT_FALSE(a < 0.0);
        if (x == 0.0 && y == 0.0) {
            ASSERT_TRUE(same(a, 0.0) && same(b, 0.0));
            return;
        }
        if (y == 0.0 && x < 0.0)
            ASSERT_TRUE(b > 0.0);
        else
            ASSERT_EQ(std::signbit(b), std::signbit(y));

        // independent reference: no overflow or underflow in long double
        const long double X = x, Y = y;
        const long double R = std::sqrt(X * X + Y * Y);
        long double A, B;
        if (x > 0) {
            A = std::sqrt((R + X) / 2);
            B = Y / (2 * A);
        } else {
            B = std::sqrt((R - X) / 2) * (y < 0 ? -1 : 1);
            A = Y / (2 * B);
        }
        if (R >= DBL_MIN) {  // a subnormal |epsilon| has only subnormal precision to give
            ASSERT_LE(std::fabs(a - A), 3 * ulp(A)) << "n' from reference " << (double)A;
            ASSERT_LE(std::fabs(b - B), 3 * ulp(B)) << "k from reference " << (double)B;
        }

        // n squared gives epsilon back, within a few units of |epsilon|'s last place
        const long double tolerance = 4 * ulp(R);
        ASSERT_LE(std::fabs((long double)a * a - (long double)b * b - X), tolerance);
        ASSERT_LE(std::fabs(2 * (long double)a * b - Y), tolerance);
    }

    KALVIRA kalvira;
};

TEST_F(Root, RandomEpsilonOverTheWholeExponentRange)
{
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-300, 300);
    std::uniform_int_distribution<int> sign(0, 1);
    auto draw = [&] {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        return sign(random) ? -v : v;
    };
    for (int i = 0; i < 200000; ++i) {
        check_finite(draw(), draw());
        if (HasFatalFailure())
            return;
    }
}

TEST_F(Root, ExtremeParts)
{
    std::vector<double> extremes = {0.0,          min_subnormal, 3 * min_subnormal,
                                    DBL_MIN / 3,  DBL_MIN,       1e-200,
                                    1.0,          1e200,         DBL_MAX / 4,
                                    DBL_MAX / 2,  std::nextafter(DBL_MAX, 0.0), DBL_MAX};
    const auto positive = extremes;
    for (const double v : positive)
        extremes.push_back(-v);
    for (const double x : extremes)
        for (const double y : extremes) {
            check_finite(x, y);
            if (HasFatalFailure())
                return;
        }
}

TEST_F(Root, NonFinitePartsFlowThrough)
{
    struct Case {
        double x, y, a, b;
    };
    const std::vector<Case> table = {
        {inf, 1, inf, 0},       {inf, -1, inf, -0.0},   {-inf, 1, 0, inf},
        {-inf, -1, 0, -inf}, {-inf, 0, 0, inf},      {-inf, -0.0, -0.0, inf},
        {1, inf, inf, nan},     {-1, inf, nan, inf},    {0, inf, nan, inf},
        {1, -inf, inf, nan},    {-1, -inf, nan, -inf},  {inf, inf, inf, nan},
        {inf, nan, inf, nan},   {-inf, nan, nan, inf},  {nan, inf, nan, nan},
        {nan, 1, nan, nan},     {1, nan, nan, nan},     {nan, nan, nan, nan},
    };
    for (const auto& c : table) {
        const auto n = root(c.x, c.y);
        EXPECT_TRUE(same(n.real(), c.a) && same(n.imag(), c.b))
            << "sqrt(" << c.x << " + i " << c.y << ") gave " << n.real() << " + i " << n.imag()
            << ", not " << c.a << " + i " << c.b;
    }
}

} // namespace
