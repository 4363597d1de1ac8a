#pragma once

#include <cstdint>

// Converts a delay time to a line length in samples: halves round up and the
// shortest line is 2 samples. `capacity` is the number of slots the caller's
// array holds; the length never exceeds capacity - 1 because slot 0 is unused.
int32_t delayLengthFromMs (double ms, double sampleRate, int32_t capacity);

// Clamp used by every setter that takes a bounded value.
inline double clampTo (double x, double lo, double hi)
{
    return x < lo ? lo : (x > hi ? hi : x);
}

// Highest rate any delay stage stores.
constexpr double kMaxStageSampleRate = 384000.0;
