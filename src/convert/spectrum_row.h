// SPDX-License-Identifier: MIT
// One row of a converted spectrum: at a wavelength, from n or from epsilon,
// every quantity the window shows, each by the window's own arithmetic.
#pragma once

#include <complex>

struct SpectrumRow {
    double nanometres;
    std::complex<double> n, epsilon;
    double K, alpha_per_cm, R, depth_nm, energy_eV, wavenumber_per_cm, frequency_THz;
};

// `minus`: the imaginary parts are given and kept in the e^(+i omega t)
// convention, where an absorber's are negative; K and what follows from it
// are then those of the absorber all the same.
SpectrumRow from_n(double nanometres, double n_real, double k, bool minus = false);
SpectrumRow from_epsilon(double nanometres, double epsilon_real, double epsilon_imag, bool minus = false);
