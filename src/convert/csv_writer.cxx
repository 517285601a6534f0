// SPDX-License-Identifier: MIT
#include "csv_writer.h"
#include "numbers.h"

CsvWriter::CsvWriter(Output& output, bool with_source) : output_(output), with_source_(with_source) {}

void CsvWriter::header()
{
    output_.write(with_source_ ? "source," : "");
    output_.write("lambda_nm,n,k,eps1,eps2,K_per_m,alpha_per_cm,R,depth_nm,E_eV,wavenumber_per_cm,nu_THz\n");
}

// Quoted where a name holds a comma, a quote, a line break or blanks at its ends.
void CsvWriter::set_source(std::string_view name)
{
    const bool plain = name.find_first_of(",\"\r\n") == std::string_view::npos &&
                       (name.empty() || (name.front() != ' ' && name.back() != ' '));
    source_ = plain ? std::string(name) : "\"";
    if (!plain) {
        for (const char c : name)
            source_ += c == '"' ? std::string("\"\"") : std::string(1, c);
        source_ += '"';
    }
    source_ += ',';
}

void CsvWriter::row(const SpectrumRow& row)
{
    char text[12 * (numbers::longest_text + 1)];
    char* end = text;
    for (const double value : {row.nanometres, row.n.real(), row.n.imag(), row.epsilon.real(), row.epsilon.imag(), row.K,
                               row.alpha_per_cm, row.R, row.depth_nm, row.energy_eV, row.wavenumber_per_cm, row.frequency_THz}) {
        end = numbers::write(end, value);
        *end++ = ',';
    }
    end[-1] = '\n';
    if (with_source_)
        output_.write(source_);
    output_.write({text, size_t(end - text)});
}
