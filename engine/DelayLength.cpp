#include "DelayLength.h"

#include <cmath>

int32_t delayLengthFromMs (double ms, double sampleRate, int32_t capacity)
{
    const double samples = ms * sampleRate * 0.001;
    const double whole = std::trunc (samples);
    int32_t length = static_cast<int32_t> (whole);
    if (samples - whole >= 0.5)
        length += 1;
    if (length < 2)
        length = 2;
    // Only reachable above the rates the owner guarantees; keeps writes inside the array.
    if (length > capacity - 1)
        length = capacity - 1;
    return length;
}
