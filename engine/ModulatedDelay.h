#pragma once

#include "StereoPair.h"

#include <cstdint>

// Short stereo delay whose read point is swept by a sine LFO, left and right
// in opposite directions.
class ModulatedDelay
{
public:
    static constexpr int32_t kCapacity = 7710; // frames, ring plus guard
    static constexpr int32_t kTableSize = 512;
    static constexpr double kMinMs = 0.1;
    static constexpr double kMaxMs = 20.0;
    static constexpr double kMinSampleRate = 44100.0;
    static constexpr double kMaxSampleRate = 384000.0;

    ModulatedDelay ();

    void setDelay (double ms);
    void setDepth (double depth);
    void setRate (double hz);
    void setSampleRate (double rate);
    void clear (); // zeroes the ring, write index back to 2; the LFO phase runs on

    // The ring and its swing for a size, depth, LFO rate and sample rate.
    struct Geometry
    {
        int32_t length; // ring frames
        int32_t half;
        double centre;
        double depthSamples;
        double phaseStep;
    };
    static Geometry geometryFor (double delayMs, double depth, double rate, double sampleRate);
    // sin over one turn in kTableSize steps, plus the two guard entries.
    static void fillSineTable (double* table);

    StereoPair process (StereoPair in)
    {
        Runner r (*this);
        const StereoPair out = r.process (in);
        r.storeState (*this);
        return out;
    }

    // Where one frame reads the ring, per channel: the whole part of the
    // read offset from the write index, less the ring length (the offset
    // lies between one and two lengths, so this leaves one wrap to do), and
    // the fraction between that frame and the next.
    struct ReadPoint
    {
        StereoFrame fraction;
        int32_t whole[2];
    };

    // Keeps the running state in registers across a block.
    struct Runner
    {
        explicit Runner (ModulatedDelay& d)
            : table (d.sineTable), frames (d.frames), phase (d.phase), phaseStep (d.phaseStep),
              tableLength (d.tableLength), centre (pairSplat (d.centre)), swing (loadAligned (d.swing)),
              length (d.length), writeIndex (d.writeIndex)
        {
        }

        // The phase of the next frame, wrapped into the table.
        double advancePhase ()
        {
            while (phase > tableLength)
                phase -= tableLength;
            const double current = phase;
            phase += phaseStep;
            return current;
        }

        // The read points of the next `count` frames. The sweep depends on
        // the LFO alone, so a block works it out ahead of the audio, away
        // from the audio's dependency chains.
        void sweep (int32_t count, ReadPoint* points)
        {
            for (int32_t i = 0; i < count; ++i)
            {
                const double at = advancePhase ();
                const int32_t step = static_cast<int32_t> (at);
                const double lfo = table[step] + (at - step) * (table[step + 1] - table[step]);
                const StereoPair t = centre + swing * pairSplat (lfo);
                storeFrame (points[i].fraction, truncateLanes (t, length, points[i].whole));
            }
        }

        // One frame through the ring, reading at a point from sweep().
        StereoPair process (StereoPair in, const ReadPoint& point)
        {
            if (writeIndex >= length)
            {
                storeFrame (frames[length], in); // guard copy of frame 0
                writeIndex = 0;
            }
            storeFrame (frames[writeIndex], in);
            const int32_t left = wrapIndex (point.whole[0]);
            const int32_t right = wrapIndex (point.whole[1]);
            const StereoPair a = loadSplit (&frames[left].left, &frames[right].right);
            const StereoPair b = loadSplit (&frames[left + 1].left, &frames[right + 1].right);
            ++writeIndex;
            return a + loadFrame (point.fraction) * (b - a);
        }

        StereoPair process (StereoPair in)
        {
            ReadPoint point;
            sweep (1, &point);
            return process (in, point);
        }

        void storeState (ModulatedDelay& d) const
        {
            d.phase = phase;
            d.writeIndex = writeIndex;
        }

        // (whole + writeIndex) mod length, always an index inside the ring.
        // The sum lies below 2 * length, so one subtraction settles it.
        int32_t wrapIndex (int32_t whole) const
        {
            const uint32_t ringLength = static_cast<uint32_t> (length);
            uint32_t sum = static_cast<uint32_t> (whole) + static_cast<uint32_t> (writeIndex);
            sum -= sum >= ringLength ? ringLength : 0;
            if (sum >= ringLength)
                sum %= ringLength; // a point no sweep makes; stays in bounds
            return static_cast<int32_t> (sum);
        }

        const double* table;
        StereoFrame* frames;
        double phase;
        double phaseStep;
        double tableLength;
        StereoPair centre;
        StereoPair swing;
        int32_t length;
        int32_t writeIndex;
    };

private:
    void update ();

    int32_t length;
    int32_t writeIndex;
    int32_t half;
    double phase;
    double phaseStep;
    double rate;
    double depth;
    double sampleRate;
    double delayMs;
    double centre;
    double tableLength;
    alignas (16) double swing[2];
    double sineTable[kTableSize + 2];
    StereoFrame frames[kCapacity];
};
