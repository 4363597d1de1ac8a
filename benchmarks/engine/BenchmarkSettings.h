#pragma once
// The settings the engine is measured with: the "Default" preset as the effect
// pushes it, plus two heavier variants. Shared by the benchmark and the
// instruction counter so both measure the same thing.

#include "DefaultSettings.h"

enum Setting
{
    kDefault,
    kLongDecay,
    kMaxDepth
};

template <typename Target>
void applySetting (Target& t, Setting setting, double sampleRate)
{
    applyDefaultSettings (t);
    if (setting == kLongDecay)
    {
        t.setDecayTime (1.0);
        t.setRoomSize (1.0);
        t.setReverbVariation (3);
        t.setPredelay (1.0);
    }
    else if (setting == kMaxDepth)
    {
        t.setModulationDepth (1.0);
        t.setModulationSpeed (1.0);
    }
    t.setSampleRate (sampleRate);
}
