// SPDX-License-Identifier: MIT
#include "spectrum_row.h"
#include "optics.h"

namespace {

SpectrumRow complete(double nanometres, std::complex<double> n, std::complex<double> epsilon, bool minus)
{
    SpectrumRow row{nanometres, n, epsilon, 0, 0, 0, 0, 0, 0, 0};
    row.K = optics::attenuation(n.imag(), nanometres);
    row.alpha_per_cm = optics::absorption_per_cm(row.K);
    row.R = optics::reflectance(n.real(), n.imag());
    row.depth_nm = optics::penetration_depth(row.K);
    row.energy_eV = optics::photon_energy(nanometres);
    row.wavenumber_per_cm = optics::wavenumber(nanometres);
    row.frequency_THz = optics::frequency(nanometres);
    if (minus) {
        row.n = std::conj(n);
        row.epsilon = std::conj(epsilon);
    }
    return row;
}

} // namespace

SpectrumRow from_n(double nanometres, double n_real, double k, bool minus)
{
    const double kappa = minus ? -k : k;
    return complete(nanometres, {n_real, kappa}, optics::square(n_real, kappa), minus);
}

SpectrumRow from_epsilon(double nanometres, double epsilon_real, double epsilon_imag, bool minus)
{
    const double imag = minus ? -epsilon_imag : epsilon_imag;
    return complete(nanometres, optics::principal_root(epsilon_real, imag), {epsilon_real, imag}, minus);
}
