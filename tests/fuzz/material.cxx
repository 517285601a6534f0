// SPDX-License-Identifier: MIT
// The material file reader on any text: its own rows, and n and k looked up
// across what it covers, as --at and --range do.
#include "dispersion.h"
#include "input_error.h"
#include "material.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const Material material = read_material(std::string(reinterpret_cast<const char*>(data), size));
        for (const dispersion::Quantity* quantity : {&material.n, material.k ? &*material.k : nullptr}) {
            if (!quantity || (!quantity->from_formula && dispersion::order_break(quantity->table) < quantity->table.values.size()))
                continue;
            for (int i = 0; i <= 4; ++i)
                quantity->at(quantity->lowest() + (quantity->highest() - quantity->lowest()) * i / 4);
        }
        own_rows(material);
    } catch (const InputError&) {
    }
    return 0;
}
