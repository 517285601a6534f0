// SPDX-License-Identifier: MIT
// The converter's methods: start-up, the conversions between n, epsilon and K,
// and the two dialogs behind the Help and About commands.

#include "kalvira.h"
#include "version.h"
#include "window_icons.h"

#include <FL/Fl_Help_Dialog.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/fl_ask.H>

#include <cfloat>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double two_pi = 6.283185307179586;
constexpr double metres_per_nanometre = 1e-09;
constexpr double start_wavelength = 632.8;

// The larger part of the principal root: sqrt((r + x) * 0.5) for x > 0, else
// sqrt((r - x) * 0.5), with r = hypot(x, y).  Two kinds of epsilon leave these
// plain steps, because the steps would give a wrong root there:
// - the sum overflows although x and y are finite (|epsilon| near the largest
//   double): take the root of epsilon / 4 instead and double it;
// - the sum lies below 2^-1021 and is an odd multiple of 2^-1074, so that
//   halving it rounds and the root loses up to half its bits (0 + 1.5e-323i
//   gave 2.36e-162 + 3.14e-162i for 2.72e-162 + 2.72e-162i): scale the sum up
//   by 2^54 first and the root down by 2^27.  For the even multiples, where the
//   halving is exact, this gives the same bits as the plain steps.
double larger_root_part(double x, double y, double r)
{
    constexpr double up = 0x1p54, down = 0x1p-27;  // down is the square root of 1 / up
    const double sum = x > 0.0 ? r + x : r - x;
    if (std::isinf(sum) && std::isfinite(x) && std::isfinite(y)) {
        const double x4 = x * 0.25;
        const double r4 = std::hypot(x4, y * 0.25);
        return std::sqrt((x > 0.0 ? r4 + x4 : r4 - x4) * 0.5) * 2.0;
    }
    if (sum > 0.0 && sum < 2.0 * DBL_MIN)
        return std::sqrt(sum * up * 0.5) * down;
    return std::sqrt(sum * 0.5);
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

// The icon goes to every window shown from now on, help windows included, for
// task bars that do not match the window to its desktop entry.
void KALVIRA::show()
{
    std::vector<std::unique_ptr<Fl_PNG_Image>> images;
    std::vector<const Fl_RGB_Image*> icons;
    for (int i = 0; i < window_icon_count; ++i) {
        images.push_back(std::make_unique<Fl_PNG_Image>(nullptr, window_icons[i].data, window_icons[i].size));
        icons.push_back(images.back().get());
    }
    Fl_Window::default_icons(icons.data(), window_icon_count);  // copies them
    UI_window->show();
}

// When a * a and b * b both overflow, a * a - b * b is inf - inf, not a number,
// although a and b are finite; (a - b)(a + b) on the halves cannot overflow
// before the last step and gives 0, a finite value or the infinity it should.
// Every other n keeps the plain steps bit for bit.
void KALVIRA::calc_epsilon()
{
    const double a = n.real();
    const double b = n.imag();
    double re = a * a - b * b;
    if (std::isnan(re) && std::isfinite(a) && std::isfinite(b))
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
    const double x = epsilon.real();
    const double y = epsilon.imag();
    const double r = std::hypot(x, y);
    double a = 0.0;
    double b = 0.0;
    if (r == 0.0) {
        // both stay +0
    } else if (x > 0.0) {
        a = larger_root_part(x, y, r);
        b = (y / a) * 0.5;
    } else {
        b = larger_root_part(x, y, r);
        if (y < 0.0)
            b = -b;
        a = (y / b) * 0.5;
    }
    n = set(a, b);
    UI_n_real->value(a);
    UI_n_imag->value(b);
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
    help->load("kalvira.html");
    help->show();
}
