#pragma once

// The reverb written the obvious way: one frame at a time, one channel at a
// time, plain scalar code. It is not shipped; the tests check the engine is
// bit-identical to it and the benchmark measures the engine against it.
//
// What it writes out on its own is what the engine's optimised forms could
// get wrong: the signal path of every frame (positions, reloads, wraps, the
// order of every sum) and the setters' choices (clamps, tables, bypass, the
// equaliser's cut switch). The closed-form designs and constants it takes
// from the engine (filter coefficients, comb feedback and damping, the
// modulated delay's geometry, the output scales): they run only in setters,
// and the sound tests measure what they do.

#include "BiquadFilter.h"
#include "DampedComb.h"
#include "DefaultSettings.h"
#include "DelayLength.h"
#include "ModulatedDelay.h"
#include "ReverbEngine.h"
#include "ReverbTables.h"

#include <cmath>
#include <cstdint>
#include <cstring>

class ReferenceReverb
{
public:
    ReferenceReverb ()
    {
        ModulatedDelay::fillSineTable (mod.table);
        eq[0].type = 5;
        eq[1].type = 4;
        eq[2].type = 6;
        for (auto& band : eq)
            band.design ();
        // The engine starts from the "Default" preset too.
        applyDefaultSettings (*this);
        setSampleRate (44100.0);
        reset ();
    }

    void setSampleRate (double hz)
    {
        sampleRate = hz;
        const double capped = hz < 384000.0 ? hz : 384000.0;
        pre.rate = capped;
        pre.length = delayLengthFromMs (pre.time, capped, kPreCap);
        for (auto& tap : taps)
        {
            tap.rate = capped;
            for (int c = 0; c < 2; ++c)
                tap.length[c] = delayLengthFromMs (tap.time[c], capped, kTapCap);
        }
        for (auto& comb : combs)
        {
            comb.rate = capped;
            comb.updateDamping ();
            for (int c = 0; c < 2; ++c)
                comb.length[c] = delayLengthFromMs (comb.time[c], capped, kCombCap);
        }
        mod.rate = hz < 44100.0 ? 44100.0 : capped;
        mod.update ();
        for (auto& d : diffusers)
        {
            d.rate = capped;
            d.length = delayLengthFromMs (d.time, capped, kDiffCap);
        }
        for (auto& band : eq)
        {
            band.rate = hz;
            band.design ();
        }
        hold = (int32_t) ((decay + 5.0) * sampleRate);
    }

    void reset ()
    {
        std::memset (pre.line, 0, sizeof (pre.line));
        for (auto& tap : taps)
        {
            std::memset (tap.line, 0, sizeof (tap.line));
            tap.pos[0] = tap.pos[1] = 2;
        }
        for (auto& comb : combs)
        {
            std::memset (comb.line, 0, sizeof (comb.line));
            comb.state[0] = comb.state[1] = 0.0;
        }
        std::memset (mod.line, 0, sizeof (mod.line));
        mod.write = 2;
        for (auto& d : diffusers)
            std::memset (d.line, 0, sizeof (d.line));
        for (auto& band : eq)
            std::memset (band.hist, 0, sizeof (band.hist));
    }

    void processFrame (const double in[2], double out[2])
    {
        if (in[0] == 0.0 && in[1] == 0.0)
        {
            countdown = countdown - 1;
            if (countdown < 1)
            {
                countdown = 1;
                out[0] = 0.0;
                out[1] = 0.0;
                return;
            }
        }
        else
        {
            countdown = hold;
        }

        double result[2];
        result[0] = in[0] * dryGain[0];
        result[1] = in[1] * dryGain[1];

        double p[2];
        for (int c = 0; c < 2; ++c)
        {
            p[c] = pre.line[pre.pos][c];
            pre.line[pre.pos][c] = in[c];
        }
        pre.pos = pre.pos - 1;
        if (pre.pos <= 0)
            pre.pos = pre.length;

        double e[2] = {0.0, 0.0};
        for (auto& tap : taps)
        {
            for (int c = 0; c < 2; ++c)
            {
                double out1 = tap.gain[c] * tap.line[c][tap.pos[c]];
                tap.line[c][tap.pos[c]] = p[c];
                tap.pos[c] = tap.pos[c] - 1;
                if (tap.pos[c] <= 0)
                    tap.pos[c] = tap.length[c];
                e[c] = e[c] + out1;
            }
        }

        double combIn[2] = {2.0 * p[0] + p[1], 2.0 * p[1] + p[0]};
        double s[2] = {e[0], e[1]};
        for (auto& comb : combs)
        {
            for (int c = 0; c < 2; ++c)
            {
                double x = comb.line[c][comb.pos[c]];
                comb.state[c] = comb.lpA[c] * x - comb.lpB[c] * comb.state[c];
                double y = (comb.state[c] * comb.dampShare[c] + x * comb.directShare[c]) * comb.feedback[c];
                comb.line[c][comb.pos[c]] = comb.inputGain[c] * combIn[c] + y;
                comb.pos[c] = comb.pos[c] - 1;
                if (comb.pos[c] <= 0)
                    comb.pos[c] = comb.length[c];
                s[c] = s[c] + y;
            }
        }

        double d[2];
        mod.process (s, d);

        for (auto& diffuser : diffusers)
        {
            for (int c = 0; c < 2; ++c)
            {
                double delayed = diffuser.line[diffuser.pos][c];
                double w = d[c] - diffuser.coef[c] * delayed;
                diffuser.line[diffuser.pos][c] = w;
                d[c] = diffuser.coef[c] * w + delayed;
            }
            diffuser.pos = diffuser.pos - 1;
            if (diffuser.pos <= 0)
                diffuser.pos = diffuser.length;
        }

        double q[2];
        for (int c = 0; c < 2; ++c)
            q[c] = d[c] * reverbGain[c] + e[c] * earlyGain[c];
        for (auto& band : eq)
        {
            for (int c = 0; c < 2; ++c)
            {
                double* h = band.hist[c];
                const BiquadFilter::Coefficients& k = band.coefficients;
                double y = (k.b0 * q[c] + k.b1 * h[0] + k.b2 * h[1] - k.a1 * h[2] - k.a2 * h[3]) / k.a0;
                h[1] = h[0];
                h[0] = q[c];
                h[3] = h[2];
                h[2] = y;
                q[c] = y;
            }
        }

        out[0] = result[0] + (q[0] + crossfeed[0] * q[1]) * wetGain[0];
        out[1] = result[1] + (q[1] + crossfeed[1] * q[0]) * wetGain[1];
    }

    void setDryLevel (double g) { dryLevel = g; gains (); }
    void setEarlyLevel (double g) { earlyLevel = g; gains (); }
    void setReverbLevel (double g) { reverbLevel = g * ReverbEngine::kReverbOutputScale; gains (); }
    void setWetLevel (double g) { wetLevel = g * ReverbEngine::kWetOutputScale; gains (); }
    void setDryBypass (bool b) { dryBypass = b; gains (); }
    void setEarlyBypass (bool b) { earlyBypass = b; gains (); }
    void setReverbBypass (bool b) { reverbBypass = b; gains (); }
    void setWetBypass (bool b) { wetBypass = b; gains (); }
    void setWidth (double w) { crossfeed[0] = crossfeed[1] = 1.0 - clampTo (w, 0.0, 1.0); }
    void setPredelay (double v)
    {
        pre.time = clampTo (clampTo (v, 0.0, 1.0) * 200.0, 0.01, 200.0);
        pre.length = delayLengthFromMs (pre.time, pre.rate, kPreCap);
    }
    void setEarlyVariation (int32_t v)
    {
        int32_t index = (v >= 2 && v <= 12) ? v - 1 : 0;
        erDelays = kEarlyDelayTables[index];
        erGains = kEarlyGainTables[index];
        applyTaps ();
    }
    void setReverbVariation (int32_t v)
    {
        int32_t gainSet = (v == 4 || v == 5 || v == 6) ? 1 : 0;
        int32_t delaySet = 2;
        if (v == 1 || v == 2 || v == 4 || v == 5 || v == 6)
            delaySet = v - 1;
        for (int k = 0; k < 10; ++k)
        {
            Comb& comb = combs[k];
            for (int c = 0; c < 2; ++c)
            {
                comb.time[c] = clampTo (kCombDelayTables[delaySet][c][k], 0.01, 100.0);
                comb.length[c] = delayLengthFromMs (comb.time[c], comb.rate, kCombCap);
                comb.inputGain[c] = kCombInputGainTables[gainSet][c][k];
            }
            comb.updateFeedback ();
        }
    }
    void setDecayTime (double x)
    {
        decay = clampTo (x, 0.0, 1.0) * 19.8 + 0.2;
        if (decay < 1.2)
            diffScale = (decay - 0.2) * 0.6 + 0.4;
        else
            diffScale = 1.0;
        double d = decay;
        for (auto& comb : combs)
        {
            comb.decay[0] = comb.decay[1] = d;
            comb.updateFeedback ();
            d = d + 0.0093335;
        }
        applyDiffuserCoefficients ();
        hold = (int32_t) ((decay + 5.0) * sampleRate);
    }
    void setRoomSize (double v)
    {
        room = clampTo (v, 0.0, 1.0) * 1.1 + 0.5;
        applyTaps ();
        for (int k = 0; k < 5; ++k)
        {
            diffusers[k].time = clampTo (kDiffuserDelayTable[k] * room, 0.01, 50.0);
            diffusers[k].length = delayLengthFromMs (diffusers[k].time, diffusers[k].rate, kDiffCap);
        }
    }
    void setDiffusion (double v)
    {
        diffusion = clampTo (v, 0.0, 1.0);
        applyDiffuserCoefficients ();
    }
    void setDampIntensity (double v)
    {
        double x = clampTo (v, 0.0, 1.0);
        for (auto& comb : combs)
            for (int c = 0; c < 2; ++c)
            {
                comb.dampShare[c] = x * x;
                comb.directShare[c] = 1.0 - x * x;
            }
    }
    void setDampFrequency (double hz)
    {
        double f = hz;
        for (auto& comb : combs)
        {
            comb.dampHz[0] = comb.dampHz[1] = clampTo (f, 20.0, 22049.9);
            comb.updateDamping ();
            f = f - 11.0;
        }
    }
    void setEqFrequency (int32_t band, double hz)
    {
        if (band < 0 || band > 2)
            return;
        eq[band].freq = hz;
        eq[band].design ();
    }
    void setEqGain (int32_t band, double v)
    {
        if (band < 0 || band > 2)
            return;
        double g;
        if (v >= 0.5)
            g = v * 24.0 - 12.0;
        else
            g = v * 48.0 - 24.0;
        Band& b = eq[band];
        if (band == 1)
        {
            b.q = 0.7;
            b.gain = g;
        }
        else if (g <= -24.0)
        {
            b.q = 0.5;
            b.gain = -80.0;
            b.type = band == 0 ? 1 : 0;
        }
        else
        {
            b.type = band == 0 ? 5 : 6;
            b.q = 0.7;
            b.gain = g;
        }
        b.design ();
    }
    void setModulationSpeed (double v)
    {
        double x = clampTo (v, 0.0, 1.0);
        mod.lfoRate = 20.0 * (x * x * x);
        mod.update ();
    }
    void setModulationDepth (double v)
    {
        double x = clampTo (v, 0.0, 1.0);
        double x4 = x * x * x * x;
        double ms = 20.0 * x4;
        if (ms < 0.1)
        {
            mod.ms = 0.1;
            mod.depth = clampTo (x4 / 0.005, 0.0, 1.0);
        }
        else
        {
            mod.ms = ms;
            mod.depth = 1.0;
        }
        mod.update ();
    }

private:
    static constexpr int32_t kPreCap = 38748;
    static constexpr int32_t kTapCap = 76800;
    static constexpr int32_t kCombCap = 38400;
    static constexpr int32_t kDiffCap = 19200;
    static constexpr int32_t kModCap = 7710;

    struct PreDelay
    {
        double rate = 44100.0;
        int32_t pos = 2;
        int32_t length = 882;
        double time = 20.0;
        double line[kPreCap][2];
    };
    struct Tap
    {
        double gain[2] = {1.0, 1.0};
        int32_t pos[2] = {2, 2};
        int32_t length[2] = {1764, 2205};
        double rate = 44100.0;
        double time[2] = {40.0, 50.0};
        double line[2][kTapCap];
    };
    struct Comb
    {
        double inputGain[2] = {1.0, 1.0};
        double time[2] = {40.0, 50.0};
        double decay[2] = {5.0, 5.0};
        double feedback[2] = {0.0, 0.0};
        double dampHz[2] = {1600.0, 1600.0};
        double state[2] = {0.0, 0.0};
        double lpA[2] = {0.0, 0.0};
        double lpB[2] = {0.0, 0.0};
        double dampShare[2] = {1.0, 1.0};
        double directShare[2] = {0.0, 0.0};
        double rate = 44100.0;
        int32_t pos[2] = {2, 2};
        int32_t length[2] = {1764, 2205};
        double line[2][kCombCap];

        void updateFeedback ()
        {
            for (int c = 0; c < 2; ++c)
                feedback[c] = DampedComb::feedbackFor (time[c], decay[c]);
        }
        void updateDamping ()
        {
            for (int c = 0; c < 2; ++c)
            {
                const DampedComb::LowPass l = DampedComb::lowPassFor (dampHz[c], rate);
                lpA[c] = l.a;
                lpB[c] = l.b;
            }
        }
    };
    struct Diffuser
    {
        double coef[2] = {0.5, 0.5};
        int32_t pos = 2;
        int32_t length = 882;
        double rate = 44100.0;
        double time = 20.0;
        double line[kDiffCap][2];
    };
    struct Modulation
    {
        int32_t length = 442;
        int32_t write = 2;
        double phase = 0.0;
        double step = 0.0;
        double lfoRate = 20.0;
        double depth = 1.0;
        double rate = 44100.0;
        double ms = 10.0;
        double centre = 663.0;
        double swing[2] = {0.0, 0.0};
        double table[514];
        double line[kModCap][2];

        void update ()
        {
            const ModulatedDelay::Geometry g = ModulatedDelay::geometryFor (ms, depth, lfoRate, rate);
            length = g.length;
            centre = g.centre;
            swing[0] = g.depthSamples;
            swing[1] = -g.depthSamples;
            step = g.phaseStep;
        }
        void process (const double in[2], double out[2])
        {
            while (phase > 512.0)
                phase = phase - 512.0;
            int32_t i = (int32_t) phase;
            double lfo = table[i] + (phase - i) * (table[i + 1] - table[i]);
            phase = phase + step;
            if (write >= length)
            {
                line[length][0] = in[0];
                line[length][1] = in[1];
                write = 0;
            }
            line[write][0] = in[0];
            line[write][1] = in[1];
            for (int c = 0; c < 2; ++c)
            {
                double t = centre + swing[c] * lfo;
                int32_t j = (int32_t) t;
                double f = t - j;
                int32_t k = (j + write) % length;
                out[c] = line[k][c] + f * (line[k + 1][c] - line[k][c]);
            }
            write = write + 1;
        }
    };
    struct Band
    {
        double rate = 44100.0;
        double freq = 1000.0;
        double q = 0.7;
        double gain = 0.0;
        uint32_t type = 0;
        BiquadFilter::Coefficients coefficients {1, 0, 0, 0, 0, 1};
        double hist[2][4] = {}; // x1, x2, y1, y2 per channel

        void design ()
        {
            coefficients = BiquadFilter::designFor (type, freq, q, gain, rate);
        }
    };

    void gains ()
    {
        dryGain[0] = dryGain[1] = dryBypass ? 0.0 : dryLevel;
        earlyGain[0] = earlyGain[1] = earlyBypass ? 0.0 : earlyLevel;
        reverbGain[0] = reverbGain[1] = reverbBypass ? 0.0 : reverbLevel;
        wetGain[0] = wetGain[1] = wetBypass ? 0.0 : wetLevel;
    }
    void applyTaps ()
    {
        double s = room + 0.2;
        for (int k = 0; k < 10; ++k)
        {
            for (int c = 0; c < 2; ++c)
            {
                taps[k].time[c] = clampTo (s * erDelays[2 * k + c], 0.01, 200.0);
                taps[k].length[c] = delayLengthFromMs (taps[k].time[c], taps[k].rate, kTapCap);
                taps[k].gain[c] = erGains[2 * k + c];
            }
        }
    }
    void applyDiffuserCoefficients ()
    {
        for (int k = 0; k < 5; ++k)
            for (int c = 0; c < 2; ++c)
            {
                double g = kDiffuserCoefTables[c][k] * diffScale;
                if (k >= 2)
                    g = g * diffusion;
                diffusers[k].coef[c] = g;
            }
    }

    PreDelay pre;
    Tap taps[10];
    Comb combs[10];
    Modulation mod;
    Diffuser diffusers[5];
    Band eq[3];
    const double* erDelays = kEarlyDelayTables[0];
    const double* erGains = kEarlyGainTables[0];
    double dryGain[2] = {}, earlyGain[2] = {}, reverbGain[2] = {}, wetGain[2] = {}, crossfeed[2] = {};
    double dryLevel = 0, earlyLevel = 0, reverbLevel = 0, wetLevel = 0;
    bool dryBypass = false, earlyBypass = false, reverbBypass = false, wetBypass = false;
    double room = 0.5, diffScale = 1.0, diffusion = 1.0;
    double sampleRate = 44100.0;
    double decay = 1.0;
    int32_t hold = 0;
    int32_t countdown = 44100;
};
