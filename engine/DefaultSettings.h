#pragma once
// The "Default" preset as the effect pushes it into an engine: the engine's
// own starting sound, and what the reference, the benchmarks and the tests
// start from.

#include <cstdint>

// The "Decay" parameter's normalized value; the engine gets its square.
constexpr double kDefaultDecay = 0.37605071654517747;

template <typename Target>
void applyDefaultSettings (Target& t)
{
    const double decay = kDefaultDecay;
    t.setDryLevel (1.0);
    t.setPredelay (0.1);
    t.setWidth (1.0);
    t.setEarlyVariation (3);
    t.setReverbVariation (2);
    t.setDecayTime (decay * decay);
    t.setRoomSize (0.2);
    t.setDiffusion (0.7);
    t.setDampIntensity (0.8);
    t.setDampFrequency (18000.0);
    t.setEqFrequency (0, 100.0);
    t.setEqFrequency (1, 1000.0);
    t.setEqFrequency (2, 8000.0);
    for (int32_t band = 0; band < 3; ++band)
        t.setEqGain (band, 0.5);
    t.setEarlyLevel (1.0);
    t.setReverbLevel (1.0);
    t.setWetLevel (0.5);
    t.setModulationSpeed (0.3);
    t.setModulationDepth (0.406);
}
