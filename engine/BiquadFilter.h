#pragma once

#include "StereoPair.h"

#include <cstdint>

// Stereo direct-form-I biquad with cookbook designs. Coefficients are kept
// unnormalised and every output is divided by a0, which fixes the rounding.
class BiquadFilter
{
public:
    enum Type : uint32_t
    {
        kLowPass = 0,
        kHighPass = 1,
        kBandPass = 2,
        kNotch = 3,
        kPeak = 4,
        kLowShelf = 5,
        kHighShelf = 6
    };

    BiquadFilter ();

    void setSampleRate (double rate);
    void setFrequency (double hz);
    void setQ (double q);
    void setGain (double dB);
    void setType (uint32_t type);
    void clear (); // history only; the design stays

    // What a design is computed from, for changing several at once.
    struct Design
    {
        uint32_t type;
        double frequency;
        double q;
        double gainDb;

        bool operator== (const Design& o) const
        {
            return type == o.type && frequency == o.frequency && q == o.q && gainDb == o.gainDb;
        }
        bool operator!= (const Design& o) const { return !(*this == o); }
    };
    Design getDesign () const { return {type, frequency, q, gainDb}; }
    double getSampleRate () const { return sampleRate; }
    // The same coefficients as the four setters called one by one.
    void setDesign (const Design& d);
    // True while no sound has passed since the last clear.
    bool isQuiet () const;

    // A design's coefficients, unnormalised.
    struct Coefficients
    {
        double b0, b1, b2, a1, a2, a0;
    };
    static Coefficients designFor (uint32_t type, double frequency, double q, double gainDb, double sampleRate);

    StereoPair process (StereoPair x)
    {
        Runner r (*this);
        const StereoPair y = r.process (x);
        r.storeHistory (*this);
        return y;
    }

    // Holds a band's coefficients and history in registers across a block.
    struct Runner
    {
        explicit Runner (const BiquadFilter& f)
            : b0 (pairSplat (f.b0)), b1 (pairSplat (f.b1)), b2 (pairSplat (f.b2)), a1 (pairSplat (f.a1)),
              a2 (pairSplat (f.a2)), a0 (pairSplat (f.a0)), x1 (loadPair (f.x1)), x2 (loadPair (f.x2)),
              y1 (loadPair (f.y1)), y2 (loadPair (f.y2))
        {
        }

        StereoPair process (StereoPair x)
        {
            const StereoPair y = (b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            return y;
        }

        void storeHistory (BiquadFilter& f) const
        {
            storePair (f.x1, x1);
            storePair (f.x2, x2);
            storePair (f.y1, y1);
            storePair (f.y2, y2);
        }

        StereoPair b0, b1, b2, a1, a2, a0;
        StereoPair x1, x2, y1, y2;
    };

private:
    void design ();

    double sampleRate;
    double frequency;
    double q;
    double gainDb;
    double b0, b1, b2, a1, a2, a0;
    alignas (16) double x1[2];
    alignas (16) double x2[2];
    alignas (16) double y1[2];
    alignas (16) double y2[2];
    uint32_t type;
};
