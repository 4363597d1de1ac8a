#include "FactoryPresets.h"

#include "effect/ParameterTable.h"

namespace Steinberg {
namespace Vst {

// In the order of kFactoryPresetNames.
const PresetValues kFactoryPresets[kNumFactoryPresets] = {
    defaultPresetValues (), // "Default", from the parameter table
    // Ambience
    {.dry = -0.87, .predelay = 0, .width = 100, .earlyVariation = 4, .reverbVariation = 0,
     .decay = 0.55, .roomSize = 22, .diffusion = 83, .dampIntensity = 92.5,
     .dampFrequency = 16914, .lowShelfFrequency = 118, .lowGain = 0, .peakFrequency = 1000,
     .peakGain = 0, .highShelfFrequency = 7402, .highGain = -6.36, .early = -2.87, .reverb = 0,
     .wet = -5.6, .modSpeed = 0, .modDepth = 0},
    // Dark Room
    {.dry = -4.17, .predelay = 0, .width = 100, .earlyVariation = 6, .reverbVariation = 0,
     .decay = 0.4, .roomSize = 30.44, .diffusion = 70.45, .dampIntensity = 100,
     .dampFrequency = 12922, .lowShelfFrequency = 570, .lowGain = 1.6, .peakFrequency = 7735,
     .peakGain = -1.5, .highShelfFrequency = 9045, .highGain = -24, .early = -0.8,
     .reverb = -7.06, .wet = -0.92, .modSpeed = 0, .modDepth = 0},
    // Studio A
    {.dry = -0.8, .predelay = 2, .width = 90.5, .earlyVariation = 4, .reverbVariation = 4,
     .decay = 0.83, .roomSize = 59, .diffusion = 84, .dampIntensity = 92.5,
     .dampFrequency = 16337.5, .lowShelfFrequency = 229.5, .lowGain = -3.24,
     .peakFrequency = 2207.2, .peakGain = -2.64, .highShelfFrequency = 7288.5, .highGain = -1.8,
     .early = -1.51, .reverb = 0, .wet = -10.95, .modSpeed = 0.79, .modDepth = 51.5},
    // Studio B
    {.dry = -2.28, .predelay = 0, .width = 100, .earlyVariation = 3, .reverbVariation = 3,
     .decay = 0.83, .roomSize = 37, .diffusion = 96.5, .dampIntensity = 96, .dampFrequency = 6127,
     .lowShelfFrequency = 511.7, .lowGain = 3.12, .peakFrequency = 1259.8, .peakGain = 3.12,
     .highShelfFrequency = 8910.3, .highGain = -2.88, .early = 0, .reverb = -2.67, .wet = -10.39,
     .modSpeed = 0.24, .modDepth = 59},
    // Little Room
    {.dry = 0, .predelay = 0, .width = 100, .earlyVariation = 1, .reverbVariation = 4,
     .decay = 0.31, .roomSize = 27.5, .diffusion = 37.5, .dampIntensity = 69,
     .dampFrequency = 6468.7, .lowShelfFrequency = 236.5, .lowGain = -2.52,
     .peakFrequency = 226.6, .peakGain = -4.68, .highShelfFrequency = 8000, .highGain = -1.32,
     .early = 0, .reverb = -4.4, .wet = -5.9, .modSpeed = 2.65, .modDepth = 43.1},
    // Presence
    {.dry = 0, .predelay = 0, .width = 100, .earlyVariation = 8, .reverbVariation = 0,
     .decay = 0.5, .roomSize = 0, .diffusion = 7.5, .dampIntensity = 100, .dampFrequency = 17484,
     .lowShelfFrequency = 320, .lowGain = -0.7, .peakFrequency = 7500, .peakGain = 0,
     .highShelfFrequency = 12000, .highGain = 0, .early = 0, .reverb = -8.8, .wet = 0,
     .modSpeed = 0, .modDepth = 0},
    // Large Room
    {.dry = -0.98, .predelay = 43, .width = 100, .earlyVariation = 6, .reverbVariation = 4,
     .decay = 1.08, .roomSize = 13.5, .diffusion = 70, .dampIntensity = 30,
     .dampFrequency = 6729.6, .lowShelfFrequency = 156.8, .lowGain = 2.28, .peakFrequency = 1587,
     .peakGain = -2.4, .highShelfFrequency = 6151.5, .highGain = 1.8, .early = 0, .reverb = 0,
     .wet = -4.9, .modSpeed = 0.11, .modDepth = 100},
    // Guitar Room
    {.dry = 0, .predelay = 19, .width = 100, .earlyVariation = 5, .reverbVariation = 4,
     .decay = 0.78, .roomSize = 83.5, .diffusion = 95, .dampIntensity = 29,
     .dampFrequency = 17640.8, .lowShelfFrequency = 83.9, .lowGain = -12, .peakFrequency = 2780.5,
     .peakGain = 1.56, .highShelfFrequency = 9052.9, .highGain = 5.88, .early = -1.46,
     .reverb = -4.61, .wet = -9.73, .modSpeed = 1.7, .modDepth = 71},
    // Kick Ambience
    {.dry = -1.41, .predelay = 0, .width = 100, .earlyVariation = 2, .reverbVariation = 4,
     .decay = 0.34, .roomSize = 9.5, .diffusion = 84, .dampIntensity = 27,
     .dampFrequency = 10942.3, .lowShelfFrequency = 155.2, .lowGain = 10.8,
     .peakFrequency = 1218.9, .peakGain = 3.96, .highShelfFrequency = 9776.1, .highGain = -4.44,
     .early = -5.82, .reverb = -5.74, .wet = -5.74, .modSpeed = 7.01, .modDepth = 25.5},
    // Plate
    {.dry = -1.8, .predelay = 6, .width = 100, .earlyVariation = 0, .reverbVariation = 2,
     .decay = 2.73, .roomSize = 83, .diffusion = 20, .dampIntensity = 38, .dampFrequency = 8881.6,
     .lowShelfFrequency = 166.3, .lowGain = -4.8, .peakFrequency = 5246, .peakGain = 2.04,
     .highShelfFrequency = 14446.7, .highGain = -24, .early = -0.58, .reverb = -1.56, .wet = -7.7,
     .modSpeed = 0.11, .modDepth = 100},
    // Vocal Hall
    {.dry = -1.67, .predelay = 25.3, .width = 100, .earlyVariation = 3, .reverbVariation = 1,
     .decay = 1.9, .roomSize = 55.94, .diffusion = 100, .dampIntensity = 48,
     .dampFrequency = 12411, .lowShelfFrequency = 653, .lowGain = -2.8, .peakFrequency = 4988,
     .peakGain = -1.9, .highShelfFrequency = 8730, .highGain = -1.6, .early = 0, .reverb = 0,
     .wet = -6.6, .modSpeed = 0, .modDepth = 0},
    // Percussion Room
    {.dry = 0, .predelay = 9, .width = 100, .earlyVariation = 6, .reverbVariation = 1,
     .decay = 1.4, .roomSize = 34.5, .diffusion = 87, .dampIntensity = 85.5,
     .dampFrequency = 14360, .lowShelfFrequency = 169, .lowGain = -3.9, .peakFrequency = 7000,
     .peakGain = 0, .highShelfFrequency = 9045, .highGain = -4.6, .early = 0, .reverb = 0,
     .wet = -10.4, .modSpeed = 0, .modDepth = 0},
    // Small Hall
    {.dry = -4.27, .predelay = 28, .width = 100, .earlyVariation = 1, .reverbVariation = 1,
     .decay = 1.3, .roomSize = 28.5, .diffusion = 100, .dampIntensity = 92.5,
     .dampFrequency = 17488, .lowShelfFrequency = 391, .lowGain = 1.2, .peakFrequency = 2320,
     .peakGain = 0, .highShelfFrequency = 6052, .highGain = -4.3, .early = 0, .reverb = -0.8,
     .wet = -9.1, .modSpeed = 0, .modDepth = 0},
    // Medium Hall A
    {.dry = -1.56, .predelay = 1, .width = 100, .earlyVariation = 4, .reverbVariation = 3,
     .decay = 1.88, .roomSize = 64, .diffusion = 64, .dampIntensity = 92,
     .dampFrequency = 15438.5, .lowShelfFrequency = 190.7, .lowGain = 1.44,
     .peakFrequency = 168.4, .peakGain = 0.72, .highShelfFrequency = 7877.3, .highGain = 2.64,
     .early = -1.31, .reverb = -3.93, .wet = -4.33, .modSpeed = 1.48, .modDepth = 66.6},
    // Medium Hall B
    {.dry = -4.6, .predelay = 21, .width = 100, .earlyVariation = 7, .reverbVariation = 1,
     .decay = 1.71, .roomSize = 65.5, .diffusion = 82, .dampIntensity = 33,
     .dampFrequency = 8718.7, .lowShelfFrequency = 190.7, .lowGain = -0.36,
     .peakFrequency = 1033.5, .peakGain = 1.08, .highShelfFrequency = 12523.9, .highGain = 0.12,
     .early = 0, .reverb = -3.62, .wet = -7.41, .modSpeed = 0.21, .modDepth = 91.6},
    // Vocal predelay
    {.dry = 0, .predelay = 64, .width = 100, .earlyVariation = 2, .reverbVariation = 1,
     .decay = 1.84, .roomSize = 49.5, .diffusion = 100, .dampIntensity = 92.5,
     .dampFrequency = 12018.5, .lowShelfFrequency = 120.1, .lowGain = -24,
     .peakFrequency = 2207.2, .peakGain = 0.12, .highShelfFrequency = 1929.3, .highGain = -16,
     .early = -2.39, .reverb = -0.85, .wet = -13.4, .modSpeed = 0.2, .modDepth = 100},
    // Piano Hall
    {.dry = 0, .predelay = 64, .width = 100, .earlyVariation = 2, .reverbVariation = 2,
     .decay = 5.68, .roomSize = 49, .diffusion = 70, .dampIntensity = 71, .dampFrequency = 8718.7,
     .lowShelfFrequency = 100, .lowGain = -6.72, .peakFrequency = 4713.5, .peakGain = -3.12,
     .highShelfFrequency = 11956.5, .highGain = -7.92, .early = -0.98, .reverb = -5.74,
     .wet = -4.75, .modSpeed = 0.66, .modDepth = 21},
    // Snare Hall
    {.dry = -1.86, .predelay = 12, .width = 100, .earlyVariation = 1, .reverbVariation = 2,
     .decay = 3.23, .roomSize = 77, .diffusion = 100, .dampIntensity = 23, .dampFrequency = 7542,
     .lowShelfFrequency = 83.9, .lowGain = -5.16, .peakFrequency = 226.6, .peakGain = 1.2,
     .highShelfFrequency = 8000, .highGain = 2.76, .early = 0, .reverb = 0, .wet = -5.5,
     .modSpeed = 6.71, .modDepth = 42.1},
    // Space synthesizers
    {.dry = 0, .predelay = 0, .width = 90.5, .earlyVariation = 1, .reverbVariation = 1,
     .decay = 7.71, .roomSize = 48.5, .diffusion = 79, .dampIntensity = 60.5,
     .dampFrequency = 20110.4, .lowShelfFrequency = 349.7, .lowGain = -5.76,
     .peakFrequency = 1000, .peakGain = 0, .highShelfFrequency = 4878.7, .highGain = 1.56,
     .early = -0.76, .reverb = -10.81, .wet = -1.08, .modSpeed = 0.66, .modDepth = 69.1},
    // Hall modulation A
    {.dry = 0, .predelay = 50, .width = 79.5, .earlyVariation = 6, .reverbVariation = 2,
     .decay = 6.88, .roomSize = 85, .diffusion = 93.5, .dampIntensity = 40.5,
     .dampFrequency = 10518, .lowShelfFrequency = 349.7, .lowGain = -5.76, .peakFrequency = 5035,
     .peakGain = -1.92, .highShelfFrequency = 8914, .highGain = -2.04, .early = -0.76,
     .reverb = -5.27, .wet = -5.12, .modSpeed = 2.58, .modDepth = 65.6},
    // Hall modulation B
    {.dry = -4.7, .predelay = 18, .width = 100, .earlyVariation = 7, .reverbVariation = 2,
     .decay = 1.82, .roomSize = 35.5, .diffusion = 91.5, .dampIntensity = 16.5,
     .dampFrequency = 11454.4, .lowShelfFrequency = 166.3, .lowGain = -4.92,
     .peakFrequency = 5035, .peakGain = -1.92, .highShelfFrequency = 10087.2, .highGain = 2.88,
     .early = 0, .reverb = -4.13, .wet = -6.4, .modSpeed = 5.75, .modDepth = 39.6},
    // Large Chamber
    {.dry = -0.94, .predelay = 19, .width = 100, .earlyVariation = 6, .reverbVariation = 1,
     .decay = 1.95, .roomSize = 48, .diffusion = 94.5, .dampIntensity = 18,
     .dampFrequency = 7299.7, .lowShelfFrequency = 126.4, .lowGain = -2.88,
     .peakFrequency = 148.8, .peakGain = 4.56, .highShelfFrequency = 12001.2, .highGain = -10.08,
     .early = 0, .reverb = -0.49, .wet = -7.7, .modSpeed = 6.71, .modDepth = 23},
    // Cathedral 1
    {.dry = 0, .predelay = 71, .width = 100, .earlyVariation = 2, .reverbVariation = 1,
     .decay = 5.1, .roomSize = 78.5, .diffusion = 94.5, .dampIntensity = 75,
     .dampFrequency = 7553, .lowShelfFrequency = 299, .lowGain = 0.96, .peakFrequency = 13212,
     .peakGain = 0, .highShelfFrequency = 6880, .highGain = -6.6, .early = 0, .reverb = 0,
     .wet = -4.58, .modSpeed = 0, .modDepth = 0},
    // Cathedral 2
    {.dry = -3.68, .predelay = 6, .width = 96, .earlyVariation = 1, .reverbVariation = 2,
     .decay = 6.8, .roomSize = 74, .diffusion = 94.5, .dampIntensity = 100,
     .dampFrequency = 7488.9, .lowShelfFrequency = 166.3, .lowGain = 4.44, .peakFrequency = 13212,
     .peakGain = 0, .highShelfFrequency = 9969.6, .highGain = -9.36, .early = -0.58,
     .reverb = -1.81, .wet = -9.24, .modSpeed = 0.33, .modDepth = 45},
    // Large Hall
    {.dry = -1.1, .predelay = 32, .width = 100, .earlyVariation = 2, .reverbVariation = 2,
     .decay = 2.3, .roomSize = 40.5, .diffusion = 91, .dampIntensity = 47.5,
     .dampFrequency = 19381, .lowShelfFrequency = 254, .lowGain = 0.5, .peakFrequency = 2320,
     .peakGain = -0.2, .highShelfFrequency = 5842, .highGain = -2.4, .early = -1.16, .reverb = 0,
     .wet = -0.8, .modSpeed = 0, .modDepth = 0},
    // Deep cave
    {.dry = -2.44, .predelay = 192, .width = 90.5, .earlyVariation = 2, .reverbVariation = 2,
     .decay = 12.91, .roomSize = 72.5, .diffusion = 100, .dampIntensity = 97,
     .dampFrequency = 5578.4, .lowShelfFrequency = 433.6, .lowGain = 0.12, .peakFrequency = 1000,
     .peakGain = -3, .highShelfFrequency = 1855.6, .highGain = -12, .early = -6.06, .reverb = 0,
     .wet = -3.37, .modSpeed = 0.49, .modDepth = 65.6},
    // Mega Hall 1
    {.dry = -4.74, .predelay = 18.5, .width = 100, .earlyVariation = 3, .reverbVariation = 1,
     .decay = 11.8, .roomSize = 60.5, .diffusion = 100, .dampIntensity = 62.5,
     .dampFrequency = 19677, .lowShelfFrequency = 147, .lowGain = 0, .peakFrequency = 5000,
     .peakGain = 0, .highShelfFrequency = 8000, .highGain = 0, .early = -2.57, .reverb = 0,
     .wet = 0, .modSpeed = 0, .modDepth = 0},
    // Mega Hall 2
    {.dry = -0.5, .predelay = 36.5, .width = 92, .earlyVariation = 1, .reverbVariation = 2,
     .decay = 6.76, .roomSize = 84, .diffusion = 95, .dampIntensity = 15, .dampFrequency = 7442.6,
     .lowShelfFrequency = 147, .lowGain = -5.28, .peakFrequency = 7677.4, .peakGain = 2.88,
     .highShelfFrequency = 9630.2, .highGain = 4.8, .early = 0, .reverb = -2.5, .wet = -1.08,
     .modSpeed = 0.08, .modDepth = 48},
    // Corridor
    {.dry = -4.9, .predelay = 14, .width = 87, .earlyVariation = 10, .reverbVariation = 0,
     .decay = 1.35, .roomSize = 8.5, .diffusion = 20.5, .dampIntensity = 100,
     .dampFrequency = 4600, .lowShelfFrequency = 147, .lowGain = 0.8, .peakFrequency = 13012,
     .peakGain = 0, .highShelfFrequency = 10200, .highGain = -24, .early = 0, .reverb = 0,
     .wet = -2.7, .modSpeed = 0, .modDepth = 0},
    // Vibration 1
    {.dry = 0, .predelay = 73, .width = 100, .earlyVariation = 7, .reverbVariation = 4,
     .decay = 2.85, .roomSize = 83.5, .diffusion = 100, .dampIntensity = 24,
     .dampFrequency = 19878, .lowShelfFrequency = 83.9, .lowGain = -5.16, .peakFrequency = 226.6,
     .peakGain = 1.2, .highShelfFrequency = 8000, .highGain = 0.48, .early = 0, .reverb = -3.37,
     .wet = -2.07, .modSpeed = 15.32, .modDepth = 44.5},
    // Vibration 2
    {.dry = -1.86, .predelay = 0, .width = 95, .earlyVariation = 4, .reverbVariation = 4,
     .decay = 2.2, .roomSize = 52, .diffusion = 39, .dampIntensity = 100, .dampFrequency = 4000,
     .lowShelfFrequency = 118, .lowGain = 0, .peakFrequency = 1000, .peakGain = 0,
     .highShelfFrequency = 7402, .highGain = -4.44, .early = -4.33, .reverb = 0, .wet = 0,
     .modSpeed = 17.42, .modDepth = 58.5},
    // Dim. expander A
    {.dry = 0, .predelay = 0, .width = 100, .earlyVariation = 1, .reverbVariation = 4,
     .decay = 0.2, .roomSize = 27.5, .diffusion = 100, .dampIntensity = 92.5,
     .dampFrequency = 16337.5, .lowShelfFrequency = 102.9, .lowGain = 0, .peakFrequency = 2207.2,
     .peakGain = 0.24, .highShelfFrequency = 9333.2, .highGain = -5.76, .early = 0,
     .reverb = -22.64, .wet = 0, .modSpeed = 0.93, .modDepth = 100},
    // Dim. expander B
    {.dry = 0, .predelay = 0, .width = 100, .earlyVariation = 5, .reverbVariation = 4,
     .decay = 0.2, .roomSize = 14.5, .diffusion = 67, .dampIntensity = 81.5,
     .dampFrequency = 22020, .lowShelfFrequency = 196.2, .lowGain = -12, .peakFrequency = 2207.2,
     .peakGain = 0.24, .highShelfFrequency = 16030.8, .highGain = -12, .early = 0,
     .reverb = 10.39, .wet = 0, .modSpeed = 0.26, .modDepth = 100},
    // Chorus A
    {.dry = -3.31, .predelay = 0, .width = 100, .earlyVariation = 7, .reverbVariation = 4,
     .decay = 0.2, .roomSize = 0, .diffusion = 43.5, .dampIntensity = 16.5,
     .dampFrequency = 11454.4, .lowShelfFrequency = 100, .lowGain = -3.48,
     .peakFrequency = 1033.5, .peakGain = 1.32, .highShelfFrequency = 10087.2, .highGain = 0.12,
     .early = -120, .reverb = 0, .wet = 0, .modSpeed = 0.75, .modDepth = 74},
    // Chorus B
    {.dry = -5.74, .predelay = 0, .width = 100, .earlyVariation = 2, .reverbVariation = 4,
     .decay = 0.2, .roomSize = 6, .diffusion = 18, .dampIntensity = 0, .dampFrequency = 18000,
     .lowShelfFrequency = 187, .lowGain = -6.12, .peakFrequency = 1033.5, .peakGain = 0.36,
     .highShelfFrequency = 10087.2, .highGain = 0.24, .early = -14.51, .reverb = 0, .wet = 0,
     .modSpeed = 3.8, .modDepth = 64},
};

} // namespace Vst
} // namespace Steinberg
