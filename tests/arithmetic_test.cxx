// SPDX-License-Identifier: MIT
// The conversions over the whole range of doubles, against their exact values
// carried in MPFR: each within the bound its code promises, on every
// architecture.  Bits are compared only where IEEE arithmetic fixes them.

#include <gtest/gtest.h>
#include "exact.h"
#include "optics.h"
#include "read_back.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using complex = std::complex<double>;
constexpr double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();

// bit for bit, but for a NaN's sign and payload, which differ between architectures
bool same(double a, double b) { return std::isnan(a) ? std::isnan(b) : a == b && std::signbit(a) == std::signbit(b); }

// Correctly rounded but within about 2^-50 of a unit from a rounding tie.
constexpr double correctly_rounded = 0.5 + 0x1p-45;

void check_root(double x, double y)
{
    const complex n = optics::principal_root(x, y);
    const double a = n.real(), b = n.imag();
    if (!std::isfinite(x) || !std::isfinite(y)) {  // C's csqrt's limits, y = -0 taken as +0 as below, and
        const complex limit = std::sqrt(complex{x, y == 0.0 && x < 0.0 ? 0.0 : y});  // beside a NaN an infinity's sign open
        const auto equal = [](double u, double v) { return u == v || (std::isnan(u) && std::isnan(v)); };
        ASSERT_TRUE(equal(a, limit.real()) && (std::isnan(a) ? equal(std::fabs(b), std::fabs(limit.imag())) : equal(b, limit.imag())))
            << "root " << a << " + i " << b;
        return;
    }
    if (x == 0.0 && y == 0.0) {
        ASSERT_TRUE(a == 0.0 && b == 0.0) << "root " << a << " + i " << b;
        return;
    }
    ASSERT_TRUE(!(a < 0.0) && (y == 0.0 && x < 0.0 ? b > 0.0 : std::signbit(b) == std::signbit(y)))
        << "not the principal root: " << a << " + i " << b;
    const Exact X(x), Y(y), R = sqrt(X * X + Y * Y), larger = sqrt((R + abs(X)) * 0.5), smaller = Y / (larger * 2.0);
    const Exact A = x > 0 ? larger : abs(smaller), B = x > 0 ? smaller : y < 0 ? Exact() - larger : larger;
    // where |epsilon| is subnormal, both parts are the nearest doubles
    const double bound = R.rounded() < DBL_MIN ? correctly_rounded : 3;
    ASSERT_TRUE(near(a, A, bound) && near(b, B, bound)) << "root " << a << " + i " << b << " off by "
        << ulps(a, A, A) << " and " << ulps(b, B, B) << " units";
}

void check_square(double a, double b)
{
    const complex e = optics::square(a, b);
    if (!std::isfinite(a) || !std::isfinite(b)) {  // as IEEE arithmetic gives them
        ASSERT_TRUE(same(e.real(), a * a - b * b) && same(e.imag(), (a * b) * 2.0)) << "square " << e.real() << " + i " << e.imag();
        return;
    }
    const Exact A(a), B(b), squares[] = {A * A, B * B};
    const Exact& larger = mpfr_cmpabs(squares[0].v, squares[1].v) > 0 ? squares[0] : squares[1];
    ASSERT_TRUE(near(e.imag(), A * B * 2.0, 1)) << "e'' " << e.imag();
    ASSERT_TRUE(near(e.real(), squares[0] - squares[1], 1.25, larger)) << "e' " << e.real();
}

// Random doubles of either sign: over the whole binary range or a range of exponents, or on the subnormal grid.
std::mt19937_64 random_bits(20261207);
double sign() { return random_bits() % 2 ? -1.0 : 1.0; }
double draw(int low = -1074, int high = 1023)
{
    return sign() * std::ldexp(std::uniform_real_distribution<double>(1, 2)(random_bits), std::uniform_int_distribution<int>(low, high)(random_bits));
}
double draw_subnormal() { return sign() * std::ldexp(double(random_bits() >> 12), -1074); }

void check(double u, double v)
{
    SCOPED_TRACE(testing::Message() << std::hexfloat << u << " + i " << v);
    check_root(u, v);
    check_square(u, v);
}

// Random parts, both parts subnormal, inputs where the plain steps go wrong,
// then a cross of extreme and non-finite parts.
TEST(Arithmetic, WholeRange)
{
    for (int i = 0; i < 100000 && !HasFatalFailure(); ++i) {
        check(draw(), draw());
        check(draw_subnormal(), draw_subnormal());
    }

    for (const auto& [u, v] : {std::pair{4.9e-324, 4.9e-324},  // hypot rounds |epsilon|: a plain root 9% off
                               {-4.9e-324, 9.9e-324}, {0x0.000ad66c6ea2dp-1022, -0x1.241b4d1ae10eap-1022},
                               {0.0, 0x1.fffffffffffffp-1022},  // a part within 2^-50 units of a tie
                               {-0x0.0000017698efbp-1022, 0x1.3de7703658ea1p+680},
                               {-0x1.034e5a1068ca4p+910, 0x1.5b7559e0b6b85p+648},
                               {1.5e154, 1e154}, {1.4e154, 5e153}})  // e' 1.25e308 and 1.71e308, plainly inf
        if (!HasFatalFailure())
            check(u, v);

    std::vector<double> parts = {0.0,   DBL_TRUE_MIN, 3 * DBL_TRUE_MIN, DBL_MIN / 3, DBL_MIN,     1e-200,
                                 1.0,   1e154,        1.5e154,          1e200,       DBL_MAX / 4, DBL_MAX / 2,
                                 std::nextafter(DBL_MAX, 0.0), DBL_MAX, inf,         nan};
    for (const double v : std::vector<double>(parts))
        parts.push_back(-v);
    for (const double u : parts)
        for (const double v : parts)
            if (!HasFatalFailure())
                check(u, v);
}

// K within 3 units (its order, 2 pi / lambda in metres, then times k, rounds 0.013
// at 632.8 nm down; the others round up); alpha = 2K exactly, 1/alpha rounded
// once, alpha in 1/cm too (where it is subnormal the x87 rounds it twice, to
// 53 bits and then to the subnormal grid: within 0.75 units), R within 8 units
// (its sums of squares rounded: 5.7 measured).  The wavelength in other units,
// from the exact SI constants: the wavenumber rounded once, energy and frequency
// within half a unit for the division and 2^53 times their constant's relative
// rounding error (1.11 units for hc/e, 0.98 for c); a zero or negative
// wavelength gives what the division gives.
TEST(Arithmetic, DerivedQuantities)
{
    EXPECT_EQ(optics::attenuation(0.013, 632.8), 0x1.f837581bca443p+16);
    const Exact two_pi = apply(mpfr_const_pi) * 2.0, c = decimal("299792.458");  // nm THz
    const Exact hc_e = decimal("6.62607015e-34") * decimal("299792458") / decimal("1.602176634e-19") * 1e9;  // eV nm
    EXPECT_EQ(optics::photon_energy(1.0), hc_e.rounded());
    for (int i = 0; i < 20000 && !HasFatalFailure(); ++i) {
        const double k = draw(), lambda = std::fabs(draw(-10, 40)), K = optics::attenuation(k, lambda), any = draw();
        const int e = i % 2 ? 60 : 3;  // R anywhere, or neither near 0 nor near 1
        const double n_real = draw(-e, e), kappa = draw(-e, e);
        SCOPED_TRACE(testing::Message() << std::hexfloat << "K " << K << " for " << k << " at " << lambda << ", n " << n_real
                                        << " + i " << kappa << ", lambda " << any);
        ASSERT_TRUE(near(K, two_pi * k * 1e9 / lambda, 3));
        ASSERT_TRUE(near(optics::absorption(K), Exact(K) * 2.0, 0) && (K == 0 ? optics::penetration_depth(K) == inf
                                                                                    : near(optics::penetration_depth(K), Exact(5e8) / K, 0.5)));
        const Exact per_cm = Exact(K) * 2.0 / 100.0;
        ASSERT_TRUE(near(optics::absorption_per_cm(K), per_cm, std::fabs(per_cm.rounded()) < DBL_MIN ? 0.75 : 0.5));
        const Exact N(n_real), k2 = Exact(kappa) * kappa;
        const Exact R = ((N - 1.0) * (N - 1.0) + k2) / ((N + 1.0) * (N + 1.0) + k2);  // near 1, 1 - 4n'/(...) beats the ratio
        ASSERT_TRUE(near(optics::reflectance(n_real, kappa), R, R.rounded() < 0.5 ? 5.5 : 3.5));
        ASSERT_TRUE(near(optics::photon_energy(any), hc_e / any, 1.11) && near(optics::wavenumber(any), Exact(1e7) / any, 0.5) &&
                    near(optics::frequency(any), c / any, 1));
    }
    for (const double zero : {0.0, -0.0})  // a glass catalogue's k of -0.0000E+00 too
        EXPECT_EQ(optics::penetration_depth(zero), inf);
    EXPECT_EQ(optics::absorption_per_cm(DBL_MAX), DBL_MAX / 50);  // alpha in 1/m overflows, in 1/cm not
    for (const auto& [n_real, k] : {std::pair{inf, 0.0}, {-inf, 1.0}, {2.0, -inf}, {inf, inf}})
        EXPECT_EQ(optics::reflectance(n_real, k), 1.0) << n_real << " + i " << k;
    char shown[64];  // as the tooltips show them; silicon at 500 nm from Green and Keevers
    for (const auto& [lambda, expected] : {std::pair{632.8, "1.9593 15802.8 473.755"}, {0.0, "inf inf inf"}, {-0.0, "-inf -inf -inf"}})
        EXPECT_STREQ((std::snprintf(shown, sizeof shown, "%g %g %g", optics::photon_energy(lambda), optics::wavenumber(lambda),
                                    optics::frequency(lambda)), shown), expected);
    EXPECT_STREQ((std::snprintf(shown, sizeof shown, "%g", optics::absorption_per_cm(optics::attenuation(0.045, 500))), shown), "11309.7");
}

// A tooltip's value: the fewest digits that read back, a whole number below 10^17 in all its digits.
TEST(ReadBack, FewestDigits)
{
    char text[32];
    for (const auto& [value, expected] : {std::pair{0.18, "0.18"}, {0.1 + 0.2, "0.30000000000000004"}, {1.0 / 3, "0.3333333333333333"},
                                          {1000.0, "1000"}, {99999999999999984.0, "99999999999999984"}, {1e17, "1e+17"},
                                          {992918.0321080256, "992918.0321080256"}, {-2.5e-3, "-0.0025"}, {-0.0, "-0"},
                                          {5e-324, "5e-324"}, {DBL_MAX, "1.7976931348623157e+308"}, {-inf, "-inf"}})
        EXPECT_STREQ((std::snprintf(text, sizeof text, "%.*g", digits_to_read_back(value), value), text), expected);
}

} // namespace
