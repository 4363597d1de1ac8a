#pragma once
// Parameter values the audio thread applied, waiting for the main thread to fold them into
// its settings block. One slot per setting, so nothing is ever lost or allocated: the
// newest value of each setting wins.

#include "SettingsBlock.h"
#include "QuillmereIds.h"
#include <atomic>

namespace Steinberg {
namespace Vst {

class AudioSideChanges
{
public:
	// Audio thread.
	void record (ParamID id, ParamValue value)
	{
		values[id].store (value, std::memory_order_relaxed);
		pending.fetch_or (1u << id, std::memory_order_release);
	}

	// Main thread: moves every recorded value into the block.
	void foldInto (SettingsBlock& block)
	{
		uint32_t mask = pending.exchange (0, std::memory_order_acquire);
		for (ParamID id = 0; mask != 0; ++id, mask >>= 1)
			if (mask & 1)
				block.store (id, values[id].load (std::memory_order_relaxed));
	}

	// Main thread: forget what the audio thread applied (a restored state replaces it).
	void discard () { pending.store (0, std::memory_order_release); }

private:
	std::atomic<double> values[kLastSettingId + 1] {};
	std::atomic<uint32_t> pending {0};
};

} // namespace Vst
} // namespace Steinberg
