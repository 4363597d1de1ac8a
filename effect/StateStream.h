#pragma once
// The saved state: the settings block, field by field, little-endian, after a version
// number. Older versions (0 to 4) are read and converted to today's meanings.

#include "SettingsBlock.h"
#include "pluginterfaces/base/ibstream.h"

namespace Steinberg {
namespace Vst {

static const uint64 kStateVersion = 5;
static const int32 kStateSize = 167;

// Fails when any write is short or answered with an error.
bool writeState (IBStream* stream, const SettingsBlock& block);

// Reads a complete state into block. Fails (and leaves block as it was) when the stream
// ends early, answers a read with an error, or holds a value that is not a finite number. Values outside 0 to 1 and
// list indices outside their lists are brought into range.
bool readState (IBStream* stream, SettingsBlock& block);

} // namespace Vst
} // namespace Steinberg
