// SPDX-License-Identifier: MIT
// The converter's methods: start-up, the conversions between n, epsilon and K,
// and the two dialogs behind the Help and About commands.

#include "kalvira.h"
#include "desktop_scale.h"
#include "version.h"
#include "window_icons.h"

#include <FL/Fl_Help_Dialog.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/fl_ask.H>

#include <cfloat>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr double two_pi = 6.283185307179586;
constexpr double metres_per_nanometre = 1e-09;
constexpr double start_wavelength = 632.8;

// Sums and products carried to about twice a double's precision, each value
// as an unevaluated sum hi + lo (Dekker's and Knuth's error-free steps; the
// build keeps the compiler from fusing them).
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
// and the halved sum to that grid and lose up to half the root's bits (4.9e-324
// (1 + i) gave a root 9% off).  Here x and y are whole multiples of 2^-1074
// below 2^53 of them: scaled by 2^1074 they are exact integers, the root of the
// scaled epsilon is carried to twice a double's precision, and each part comes
// out rounded once, scaled back by 2^-537.  Both are then the doubles nearest the
// exact root, so no input loses to the plain steps.
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
    const double big = std::ldexp(larger.hi + larger.lo, -537);
    const double small = std::copysign(std::ldexp(q + q_lo, -537), y);
    if (x > 0.0)
        return {big, small};
    return y < 0.0 ? std::complex<double>{-small, -big} : std::complex<double>{small, big};
}

// The principal root by the plain steps, r = hypot(x, y) and the larger part
// sqrt((r + x) * 0.5) for x > 0, else sqrt((r - x) * 0.5), except where they
// would give a wrong root:
// - the sum r + |x| lies below 2^-1021, where x and y are on the subnormal grid;
// - the sum overflows although x and y are finite (|epsilon| near the largest
//   double): take the root of epsilon / 4 instead and double it.
std::complex<double> principal_root(double x, double y)
{
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

} // namespace

std::complex<double> KALVIRA::set(double re, double im)
{
    return {re, im};
}

void KALVIRA::init()
{
    n = set(1.0, 0.0);
    lambda = start_wavelength;
    UI_n_real->value(1.0);
    UI_n_imag->value(0.0);
    calc_epsilon();
    UI_lambda->value(lambda);
    calc_K();
}

// The symbol font draws e, K and l as Greek where the X server has one; on
// Windows it may be missing (wine has none), so there the labels hold the
// Greek letters themselves, in the default font.
void KALVIRA::greek_labels()
{
#ifdef _WIN32
    for (const auto& [field, text] : {std::pair<Fl_Widget*, const char*>{UI_epsilon_real, "ε =  "},
                                      {UI_K, "Κ ="}, {UI_lambda, "λ ="}}) {
        field->label(text);
        field->labelfont(FL_HELVETICA);
    }
#endif
}

// Where the toolkit does not scale windows to the desktop by itself.  The
// menu table is shared by every window, so it is scaled once.
void KALVIRA::scale_to_desktop()
{
    scale_layout(UI_window);
    scale_toolkit_defaults();
    static const bool menu_scaled = [] {
        for (Fl_Menu_Item* item = menu_UI_menubar; item->label(); ++item)
            item->labelsize(scaled(item->labelsize()));
        return true;
    }();
    (void)menu_scaled;
}

// The icon goes to every window shown from now on, help windows included, for
// task bars that do not match the window to its desktop entry.  The first
// field, which takes the focus, starts selected as after Tab: a number typed
// at once replaces its 1.
void KALVIRA::show()
{
    UI_n_real->select_all();
    std::vector<std::unique_ptr<Fl_PNG_Image>> images;
    std::vector<const Fl_RGB_Image*> icons;
    for (int i = 0; i < window_icon_count; ++i) {
        images.push_back(std::make_unique<Fl_PNG_Image>(nullptr, window_icons[i].data, window_icons[i].size));
        icons.push_back(images.back().get());
    }
    Fl_Window::default_icons(icons.data(), window_icon_count);  // copies them
    UI_window->show();
}

// Where a * a or b * b overflows, a * a - b * b is inf or inf - inf although a
// and b are finite; (a - b)(a + b) on the halves cannot overflow before the
// last step and gives 0, a finite value or the infinity it should.  Every other
// n keeps the plain steps bit for bit.
void KALVIRA::calc_epsilon()
{
    const double a = n.real();
    const double b = n.imag();
    double re = a * a - b * b;
    if (!std::isfinite(re) && std::isfinite(a) && std::isfinite(b))
        re = ((a * 0.5 - b * 0.5) * (a * 0.5 + b * 0.5)) * 4.0;
    const double im = (a * b) * 2.0;
    epsilon = set(re, im);
    UI_epsilon_real->value(re);
    UI_epsilon_imag->value(im);
    calc_K();
    UI_window->redraw();
}

// Principal root: a >= 0, and b takes the sign of y (positive for y = -0).
void KALVIRA::calc_n()
{
    n = principal_root(epsilon.real(), epsilon.imag());
    UI_n_real->value(n.real());
    UI_n_imag->value(n.imag());
    calc_K();
    UI_window->redraw();
}

void KALVIRA::calc_K()
{
    K = (two_pi / (lambda * metres_per_nanometre)) * n.imag();
    UI_K->value(K);
}

void KALVIRA::about_dialog()
{
    fl_message_title("About kalvira");
    fl_message("kalvira %s by the kalvira authors, built with FLTK (www.fltk.org)", kalvira_version);
}

// A new window every time: earlier ones stay open until their user closes them.
void KALVIRA::help_dialog()
{
    auto* help = new Fl_Help_Dialog;
    help->resize(help->x(), help->y(), scaled(help->w()), scaled(help->h()));
    help->textsize(scaled(help->textsize()));
    help->load("kalvira.html");
    help->show();
}
