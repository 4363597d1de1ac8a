#pragma once

// Constant patterns of the early reflections, the comb bank and the diffusers.

#include <cstdint>

constexpr int32_t kEarlyTapCount = 10;
constexpr int32_t kEarlyVariationCount = 12;
constexpr int32_t kEarlyTableSize = 2 * kEarlyTapCount; // (L, R) per tap
constexpr int32_t kCombCount = 10;
constexpr int32_t kCombGainSetCount = 2;  // A, B
constexpr int32_t kCombDelaySetCount = 6; // delays 1..6
constexpr int32_t kDiffuserCount = 5;

// [variation - 1][2 * tap + channel]; delays in ms before room scaling.
extern const double kEarlyDelayTables[kEarlyVariationCount][kEarlyTableSize];
extern const double kEarlyGainTables[kEarlyVariationCount][kEarlyTableSize];

// [set][channel][comb]; delays in ms.
extern const double kCombInputGainTables[kCombGainSetCount][2][kCombCount];
extern const double kCombDelayTables[kCombDelaySetCount][2][kCombCount];

// [channel][diffuser] and [diffuser] (ms before room scaling).
extern const double kDiffuserCoefTables[2][kDiffuserCount];
extern const double kDiffuserDelayTable[kDiffuserCount];

// Variation number to table index; numbers outside the known range fall back.
int32_t earlyVariationIndex (int32_t variation);     // 0..11, anything else -> 0
int32_t combGainSetIndex (int32_t reverbVariation);  // 0 (A) or 1 (B)
int32_t combDelaySetIndex (int32_t reverbVariation); // 0..5, anything else -> 2
