// SPDX-License-Identifier: MIT
// Arithmetic on doubles rounded as doubles, on every architecture.
#pragma once

#if defined(__i386__) && !defined(__SSE2_MATH__)
#include <fpu_control.h>
#endif

namespace optics {

// Without SSE2 (Debian's i386) the compiler computes doubles in the x87
// registers, which round to 64 bits unless told otherwise: results would
// round twice and error-free steps would not be exact.  For the time of a
// computation the unit rounds to a double's 53 bits, as elsewhere.  The
// computation and the setting of the unit are calls opaque to the optimiser
// (noipa), so that no arithmetic moves out from between them.
#if defined(__i386__) && !defined(__SSE2_MATH__)
[[gnu::noipa]] inline void set_x87_control(fpu_control_t word)
{
    _FPU_SETCW(word);
}
#endif

template <typename Result, typename... Args>
Result rounded_as_doubles(Result (*computation)(Args...), Args... args)
{
#if defined(__i386__) && !defined(__SSE2_MATH__)
    fpu_control_t saved;
    _FPU_GETCW(saved);
    set_x87_control((saved & ~_FPU_EXTENDED) | _FPU_DOUBLE);
    const Result result = computation(args...);
    set_x87_control(saved);
    return result;
#else
    return computation(args...);
#endif
}

} // namespace optics
