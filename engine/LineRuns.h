#pragma once

#include <cstdint>

// Block kernels walk a group of stereo delay lines (taps or combs) in runs:
// stretches of frames in which no line of the group reaches its reload, so
// frame i of a run uses slot left[k] - i of line k. Line needs position[2],
// length[2], lineLeft and lineRight, counting down as in its per-frame code.
template <typename Line, int32_t count>
struct LineRuns
{
    // Length of the run that starts now, at most `limit`; points left and
    // right at each line's current slot.
    int32_t start (Line* lines, int32_t limit)
    {
        int32_t run = limit;
        for (int32_t k = 0; k < count; ++k)
        {
            if (lines[k].position[0] < run)
                run = lines[k].position[0];
            if (lines[k].position[1] < run)
                run = lines[k].position[1];
            left[k] = lines[k].lineLeft + lines[k].position[0];
            right[k] = lines[k].lineRight + lines[k].position[1];
        }
        return run;
    }

    // Moves every line past a finished run, reloading those that reached 0.
    static void advance (Line* lines, int32_t run)
    {
        for (int32_t k = 0; k < count; ++k)
        {
            Line& line = lines[k];
            line.position[0] -= run;
            line.position[1] -= run;
            if (line.position[0] <= 0)
                line.position[0] = line.length[0];
            if (line.position[1] <= 0)
                line.position[1] = line.length[1];
        }
    }

    double* left[count];
    double* right[count];
};
