#include "BiquadFilter.h"

#include <cmath>

BiquadFilter::BiquadFilter ()
    : sampleRate (44100.0), frequency (1000.0), q (0.7), gainDb (0.0), b0 (1.0), b1 (0.0), b2 (0.0), a1 (0.0), a2 (0.0), a0 (1.0), x1 {0.0, 0.0},
      x2 {0.0, 0.0}, y1 {0.0, 0.0}, y2 {0.0, 0.0}, type (kLowPass)
{
    design ();
}

void BiquadFilter::setSampleRate (double rate)
{
    sampleRate = rate;
    design ();
}

void BiquadFilter::setFrequency (double hz)
{
    frequency = hz;
    design ();
}

void BiquadFilter::setQ (double newQ)
{
    q = newQ;
    design ();
}

void BiquadFilter::setGain (double dB)
{
    gainDb = dB;
    design ();
}

void BiquadFilter::setType (uint32_t newType)
{
    type = newType;
    design ();
}

void BiquadFilter::setDesign (const Design& d)
{
    type = d.type;
    frequency = d.frequency;
    q = d.q;
    gainDb = d.gainDb;
    design ();
}

bool BiquadFilter::isQuiet () const
{
    for (int32_t c = 0; c < 2; ++c)
        if (x1[c] != 0.0 || x2[c] != 0.0 || y1[c] != 0.0 || y2[c] != 0.0)
            return false;
    return true;
}

void BiquadFilter::clear ()
{
    x1[0] = x1[1] = x2[0] = x2[1] = 0.0;
    y1[0] = y1[1] = y2[0] = y2[1] = 0.0;
}

void BiquadFilter::design ()
{
    const Coefficients c = designFor (type, frequency, q, gainDb, sampleRate);
    b0 = c.b0;
    b1 = c.b1;
    b2 = c.b2;
    a1 = c.a1;
    a2 = c.a2;
    a0 = c.a0;
}

BiquadFilter::Coefficients BiquadFilter::designFor (uint32_t type, double frequency, double q, double gainDb,
                                                    double sampleRate)
{
    const double A = std::pow (10.0, gainDb / 40.0);
    const double w0 = 6.283185307179586 * frequency / sampleRate;
    const double sinW0 = std::sin (w0);
    const double cs = std::cos (w0);
    const double alpha = sinW0 / (2.0 * q);
    // Shelf slope 1: the cookbook's 2 sqrt(A) alpha becomes sqrt(2A) sin(w0).
    const double S = std::sqrt (2.0 * A) * sinW0;
    double b0, b1, b2, a1, a2, a0;
    switch (type)
    {
        case kHighPass:
            b0 = (1.0 + cs) / 2.0;
            b1 = -(1.0 + cs);
            b2 = (1.0 + cs) / 2.0;
            a0 = 1.0 + alpha;
            a1 = -2.0 * cs;
            a2 = 1.0 - alpha;
            break;
        case kBandPass:
            b0 = alpha;
            b1 = 0.0;
            b2 = -alpha;
            a0 = 1.0 + alpha;
            a1 = -2.0 * cs;
            a2 = 1.0 - alpha;
            break;
        case kNotch:
            b0 = 1.0;
            b1 = -2.0 * cs;
            b2 = 1.0;
            a0 = 1.0 + alpha;
            a1 = -2.0 * cs;
            a2 = 1.0 - alpha;
            break;
        case kPeak:
            b0 = 1.0 + alpha * A;
            b1 = -2.0 * cs;
            b2 = 1.0 - alpha * A;
            a0 = 1.0 + alpha / A;
            a1 = -2.0 * cs;
            a2 = 1.0 - alpha / A;
            break;
        case kLowShelf:
            b0 = A * ((A + 1.0) - (A - 1.0) * cs + S);
            b1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * cs);
            b2 = A * ((A + 1.0) - (A - 1.0) * cs - S);
            a0 = (A + 1.0) + (A - 1.0) * cs + S;
            a1 = -2.0 * ((A - 1.0) + (A + 1.0) * cs);
            a2 = (A + 1.0) + (A - 1.0) * cs - S;
            break;
        case kHighShelf:
            b0 = A * ((A + 1.0) + (A - 1.0) * cs + S);
            b1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * cs);
            b2 = A * ((A + 1.0) + (A - 1.0) * cs - S);
            a0 = (A + 1.0) - (A - 1.0) * cs + S;
            a1 = 2.0 * ((A - 1.0) - (A + 1.0) * cs);
            a2 = (A + 1.0) - (A - 1.0) * cs - S;
            break;
        case kLowPass:
        default: // unknown types design as a low-pass
            b0 = (1.0 - cs) / 2.0;
            b1 = 1.0 - cs;
            b2 = (1.0 - cs) / 2.0;
            a0 = 1.0 + alpha;
            a1 = -2.0 * cs;
            a2 = 1.0 - alpha;
            break;
    }
    return {b0, b1, b2, a1, a2, a0};
}
