// SPDX-License-Identifier: MIT
// The converter's methods: start-up, the conversions between n, epsilon and K
// (their arithmetic is optics'), and the two dialogs behind Help and About.

#include "kalvira.h"
#include "desktop_scale.h"
#include "optics.h"
#include "identity.h"
#include "window_icons.h"

#include <FL/Fl_Help_Dialog.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/fl_ask.H>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

// The helium-neon line.
constexpr double start_wavelength = 632.8;

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

// The symbol font draws e, K and l as Greek where fontconfig finds one; on
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

namespace {

// Every window shown from now on, help windows included, carries the desktop
// entry's id as its class, which Wayland takes as the app_id and X11 as
// WM_CLASS (the id, and the id with a capital first letter), so that desktops
// tie it to its entry; and the icon, for task bars that do not.
void identify_windows()
{
    Fl_Window::default_xclass(kalvira_id);
    std::vector<std::unique_ptr<Fl_PNG_Image>> images;
    std::vector<const Fl_RGB_Image*> icons;
    for (int i = 0; i < window_icon_count; ++i) {
        images.push_back(std::make_unique<Fl_PNG_Image>(nullptr, window_icons[i].data, window_icons[i].size));
        icons.push_back(images.back().get());
    }
    Fl_Window::default_icons(icons.data(), window_icon_count);  // copies them
}

} // namespace

// The first field, which takes the focus, starts selected as after Tab: a
// number typed at once replaces its 1.
void KALVIRA::show()
{
    identify_windows();
    UI_n_real->select_all();
    UI_window->show();
}

void KALVIRA::calc_epsilon()
{
    epsilon = optics::square(n.real(), n.imag());
    UI_epsilon_real->value(epsilon.real());
    UI_epsilon_imag->value(epsilon.imag());
    calc_K();
    UI_window->redraw();
}

void KALVIRA::calc_n()
{
    n = optics::principal_root(epsilon.real(), epsilon.imag());
    UI_n_real->value(n.real());
    UI_n_imag->value(n.imag());
    calc_K();
    UI_window->redraw();
}

void KALVIRA::calc_K()
{
    K = optics::attenuation(n.imag(), lambda);
    UI_K->value(K);
    show_derived();
}

// The tooltips carry what follows from n, K and lambda, anew with every
// conversion: alpha and the penetration depth 1/alpha under K, the reflectance
// R under n' and k, and lambda as photon energy, wavenumber and frequency
// under lambda.  Six digits each, as the fields show values, and a quantity to
// a line, which the field keeps from being wrapped.
void KALVIRA::show_derived()
{
    UI_K->set_derived("α = %g 1/m = %g 1/cm\n1/α = %g nm", optics::absorption(K), optics::absorption_per_cm(K),
                      optics::penetration_depth(K));
    for (Number_Field* field : {UI_n_real, UI_n_imag})
        field->set_derived("R = %g at normal incidence from vacuum", optics::reflectance(n.real(), n.imag()));
    UI_lambda->set_derived("E = hc/λ = %g eV\n1/λ = %g 1/cm\nν = c/λ = %g THz", optics::photon_energy(lambda),
                           optics::wavenumber(lambda), optics::frequency(lambda));
}

void KALVIRA::about_dialog()
{
    fl_message_title("About kalvira");
    // fl_message() runs an event loop of its own; a zero timeout runs first in
    // it, once the box is shown and before it draws.
    Fl::add_timeout(0.0, [](void*) { scale_message_icon(); });
    fl_message("kalvira %s by the kalvira authors, built with FLTK (www.fltk.org)", kalvira_version);
}

// A new window every time: earlier ones stay open until their user closes them.
// Fl_Help_Dialog keeps its window private; just shown, it is the first in the
// toolkit's list of windows, Fl::first_window(), which is how it is reached.
void KALVIRA::help_dialog()
{
    auto* help = new Fl_Help_Dialog;
    help->textsize(scaled(help->textsize()));
    help->load("kalvira.html");
    help->show();
    scale_shown_window(Fl::first_window());
}
