// SPDX-License-Identifier: MIT
// The arithmetic of the optical constants, on doubles: the dielectric
// function from the refractive index, the refractive index from it, K, and
// what follows from n and K, and the wavelength in the spectroscopist's units.
#pragma once

#include <complex>

namespace optics {

// epsilon = n^2 for n = a + ib: a*a - b*b and (a*b)*2.  Where a square
// overflows although a and b are finite, the real part is still finite
// wherever the exact a^2 - b^2 is, and infinite only where that overflows.
std::complex<double> square(double a, double b);

// n = the principal root of epsilon = x + iy: real part never below zero, and
// the imaginary part with the sign of y (positive for y = -0 and x < 0).
std::complex<double> principal_root(double x, double y);

// K = 2 pi k / lambda in 1/m, for lambda in nanometres.
double attenuation(double k, double lambda);

// From K: the absorption coefficient alpha = 4 pi k / lambda = 2K in 1/m, and
// the penetration depth 1/alpha in nanometres (infinite for K = 0).
double absorption(double K);
double penetration_depth(double K);
double absorption_per_cm(double K);  // alpha in 1/cm, K / 50 rounded once: finite wherever K is

// The vacuum wavelength lambda in nm as the photon energy hc/lambda in eV, the
// wavenumber 1/lambda in 1/cm and the frequency c/lambda in THz; each a
// single division, so lambda = 0 gives infinities and a negative lambda
// negative values.
double photon_energy(double lambda);
double wavenumber(double lambda);
double frequency(double lambda);

// The reflectance at normal incidence from vacuum,
// R = ((n' - 1)^2 + k^2) / ((n' + 1)^2 + k^2); 1 where a part is infinite.
double reflectance(double n_real, double k);

} // namespace optics
