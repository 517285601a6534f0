// SPDX-License-Identifier: MIT
// The arithmetic of the optical constants: see optics.h.  Each function takes
// the plain steps, each operation rounded on its own (the build keeps the
// compiler from fusing them), and mends only the inputs where they are wrong.

#include "optics.h"
#include "rounded.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace optics {

namespace {

constexpr double two_pi = 6.283185307179586;
constexpr double metres_per_nanometre = 1e-09;
// 1/alpha in nm is 1e9 / (2K) = 5e8 / K, and alpha in 1/cm is 2K / 100 = K / 50:
// one division each, so neither is lost where 2K would overflow.
constexpr double nanometres_per_metre_halved = 1e9 / 2;
constexpr double centimetres_per_metre_halved = 100.0 / 2;
constexpr double nanometres_per_centimetre = 1e7;
// h = 6.62607015e-34 J s, c = 299792458 m/s and e = 1.602176634e-19 C are exact
// in the SI since 2019, so hc/e = 1239.84198433200262237752744557876... eV nm
// is too; here the double nearest it.  c itself is 299792.458 nm THz.
constexpr double electronvolt_nanometres = 1239.8419843320026;
constexpr double speed_of_light_nm_THz = 299792.458;

// Sums and products carried to about twice a double's precision, each value
// as an unevaluated sum hi + lo (Dekker's and Knuth's error-free steps).
struct Wide {
    double hi, lo;
};

Wide two_sum(double a, double b)
{
    const double s = a + b, v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

Wide two_product(double a, double b)
{
    const auto halves = [](double v) {  // v = hi + lo, each with at most 26 bits
        const double t = 134217729.0 * v, hi = t - (t - v);
        return Wide{hi, v - hi};
    };
    const double p = a * b;
    const Wide x = halves(a), y = halves(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

Wide wide_sqrt(Wide v)
{
    const double s = std::sqrt(v.hi);
    const Wide square = two_product(s, s);
    return two_sum(s, (((v.hi - square.hi) - square.lo) + v.lo) / (2.0 * s));
}

// Where both parts of epsilon lie on the subnormal grid, the plain steps round r
// and the halved sum to that grid and lose up to half the root's bits (for
// 4.9e-324 (1 + i) they give a root 9% off).  Here x and y are whole multiples of 2^-1074
// below 2^53 of them: scaled by 2^1074 they are exact integers, the root of the
// scaled epsilon is carried to twice a double's precision, and each part comes
// out rounded once, scaled back by 2^-537.  Against a 320-bit reference, both
// parts are the doubles nearest the exact root except within about 2^-50 of a
// unit in the last place from a rounding tie (x = 0, y = 0x1.fffffffffffffp-1022
// is such a case).
std::complex<double> subnormal_root(double x, double y)
{
    const double X = std::ldexp(std::fabs(x), 1074), Y = std::ldexp(y, 1074);
    const Wide xx = two_product(X, X), yy = two_product(Y, Y), squares = two_sum(xx.hi, yy.hi);
    const Wide r = wide_sqrt(two_sum(squares.hi, squares.lo + xx.lo + yy.lo));
    const Wide sum = two_sum(r.hi, X);
    const Wide larger = wide_sqrt(two_sum(sum.hi * 0.5, (sum.lo + r.lo) * 0.5));
    const double q = Y / (2.0 * larger.hi);  // the smaller part, y / (2 larger)
    const Wide q_times = two_product(2.0 * larger.hi, q);
    const double q_lo = (((Y - q_times.hi) - q_times.lo) - 2.0 * larger.lo * q) / (2.0 * larger.hi);
    const double big = std::ldexp(larger.hi, -537);  // a two-sum's hi is already hi + lo rounded
    const double small = std::copysign(std::ldexp(q + q_lo, -537), y);
    if (x > 0.0)
        return {big, small};
    return y < 0.0 ? std::complex<double>{-small, -big} : std::complex<double>{small, big};
}

// Where a * a or b * b overflows, a * a - b * b is inf or inf - inf although a
// and b are finite; (a - b)(a + b) on the halves cannot overflow before the
// last step and gives 0, a finite value or the infinity it should.
[[gnu::noipa]] std::complex<double> square_steps(double a, double b)
{
    double re = a * a - b * b;
    if (!std::isfinite(re) && std::isfinite(a) && std::isfinite(b))
        re = ((a * 0.5 - b * 0.5) * (a * 0.5 + b * 0.5)) * 4.0;
    return {re, (a * b) * 2.0};
}

// The plain steps, r = hypot(x, y) and the larger part sqrt((r + x) * 0.5)
// for x > 0, else sqrt((r - x) * 0.5), except where they give a wrong root:
// - y infinite: they give inf * 0 or inf / inf; the limit is inf + iy, whatever x;
// - the sum r + |x| lies below 2^-1021, where x and y are on the subnormal grid;
// - the sum overflows although x and y are finite (|epsilon| near the largest
//   double): take the root of epsilon / 4 instead and double it.
[[gnu::noipa]] std::complex<double> root_steps(double x, double y)
{
    if (std::isinf(y))
        return {std::numeric_limits<double>::infinity(), y};
    const double r = std::hypot(x, y);
    if (r == 0.0)
        return {0.0, 0.0};
    const double sum = x > 0.0 ? r + x : r - x;
    if (sum < 2.0 * DBL_MIN)
        return subnormal_root(x, y);
    double larger = 0.0;
    if (std::isinf(sum) && std::isfinite(x) && std::isfinite(y)) {
        const double x4 = x * 0.25;
        const double r4 = std::hypot(x4, y * 0.25);
        larger = std::sqrt((x > 0.0 ? r4 + x4 : r4 - x4) * 0.5) * 2.0;
    } else {
        larger = std::sqrt(sum * 0.5);
    }
    if (x > 0.0)
        return {larger, (y / larger) * 0.5};
    const double b = y < 0.0 ? -larger : larger;
    return {(y / b) * 0.5, b};
}

[[gnu::noipa]] double attenuation_steps(double k, double lambda)
{
    return (two_pi / (lambda * metres_per_nanometre)) * k;
}

[[gnu::noipa]] double quotient(double numerator, double denominator)
{
    return numerator / denominator;
}

// Below 1/2 as the ratio of the two sums of squares; above as
// 1 - 4n'/((n' + 1)^2 + k^2), where rounding n' -+ 1 for a large n' costs
// nothing.  Plain IEEE steps, the same bits on every architecture (hypot is
// not).  Past 2^500 the squares would overflow: n and 1 are scaled down by
// 2^-600 alike.  Where a part is infinite, |n| is, and all is reflected.
[[gnu::noipa]] double reflectance_steps(double n_real, double k)
{
    if (std::isinf(n_real) || std::isinf(k))
        return 1.0;
    const double one = std::fmax(std::fabs(n_real), std::fabs(k)) > 0x1p500 ? 0x1p-600 : 1.0;
    const double n = n_real * one, kappa = k * one;
    const double below = (n - one) * (n - one) + kappa * kappa, above = (n + one) * (n + one) + kappa * kappa;
    return below < 0.5 * above ? below / above : 1.0 - (4.0 * n * one) / above;
}

} // namespace

std::complex<double> square(double a, double b)
{
    return rounded_as_doubles(square_steps, a, b);
}

std::complex<double> principal_root(double x, double y)
{
    return rounded_as_doubles(root_steps, x, y);
}

double attenuation(double k, double lambda)
{
    return rounded_as_doubles(attenuation_steps, k, lambda);
}

double absorption(double K)
{
    return 2.0 * K;  // exact, or the infinity it overflows to
}

double penetration_depth(double K)
{
    if (K == 0)  // no absorption reaches everywhere, whichever sign the zero has
        return HUGE_VAL;
    return rounded_as_doubles(quotient, nanometres_per_metre_halved, K);
}

double absorption_per_cm(double K)
{
    return rounded_as_doubles(quotient, K, centimetres_per_metre_halved);
}

double photon_energy(double lambda)
{
    return rounded_as_doubles(quotient, electronvolt_nanometres, lambda);
}

double wavenumber(double lambda)
{
    return rounded_as_doubles(quotient, nanometres_per_centimetre, lambda);
}

double frequency(double lambda)
{
    return rounded_as_doubles(quotient, speed_of_light_nm_THz, lambda);
}

double reflectance(double n_real, double k)
{
    return rounded_as_doubles(reflectance_steps, n_real, k);
}

} // namespace optics
