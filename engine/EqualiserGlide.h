#pragma once

#include "BiquadFilter.h"

#include <cstdint>

// Moves one equaliser band to a new design in small steps. The bands are
// direct-form filters: when a design jumps far while sound is passing, the
// history of the old design rings through the new poles, up to +28 dB when a
// band near the top of the audio range drops to the bottom. Small steps keep
// each mismatch small.
class BandGlide
{
public:
    // Steps from the band's present design to the target, the first one at
    // once. The last step designs exactly the target.
    static constexpr int32_t kSteps = 48;

    void start (BiquadFilter& band, const BiquadFilter::Design& target);
    // Designs the next step; the band keeps the target once none is left.
    void step (BiquadFilter& band);
    // Jumps to the target.
    void finish (BiquadFilter& band);
    bool isActive () const { return stepsLeft > 0; }
    const BiquadFilter::Design& getTarget () const { return to; }

private:
    BiquadFilter::Design from {};
    BiquadFilter::Design to {};
    int32_t stepsLeft = 0;
};
