#pragma once
// Parameter values the audio thread applied, waiting for the main thread to fold them into
// its settings block. One slot per setting, so nothing is ever lost or allocated: the
// newest value of each setting wins.
//
// Each value is recorded with the generation of the restored state the audio thread had
// taken when it applied it. A value applied before the newest restore reached the audio
// thread is dropped, because that restore replaces it in the engine too: the saved state
// and the sound agree whichever thread got there first.

#include "SettingsBlock.h"
#include "QuillmereIds.h"
#include <atomic>
#include <cstdint>

namespace Steinberg {
namespace Vst {

class AudioSideChanges
{
public:
	// Audio thread: a value applied on top of the restore of this generation.
	void record (ParamID id, ParamValue value, uint32_t generation)
	{
		values[id].store (value, std::memory_order_relaxed);
		uint64_t seen = pending.load (std::memory_order_relaxed);
		uint64_t next;
		do
		{
			// Values from before this restore are stale: it replaced them in the engine.
			const uint64_t kept = generationOf (seen) == generation ? seen & kMaskBits : 0;
			next = (uint64_t (generation) << 32) | kept | (uint64_t (1) << id);
		} while (!pending.compare_exchange_weak (seen, next, std::memory_order_release,
		                                         std::memory_order_relaxed));
	}

	// Main thread: moves into the block every value recorded on top of the newest restore.
	void foldInto (SettingsBlock& block, uint32_t newestRestore)
	{
		const uint64_t taken = pending.exchange (0, std::memory_order_acquire);
		if (generationOf (taken) != newestRestore)
			return;
		uint64_t mask = taken & kMaskBits;
		for (ParamID id = 0; mask != 0; ++id, mask >>= 1)
			if (mask & 1)
				block.store (id, values[id].load (std::memory_order_relaxed));
	}

private:
	static const uint64_t kMaskBits = 0xffffffffu;
	static uint32_t generationOf (uint64_t word) { return static_cast<uint32_t> (word >> 32); }

	std::atomic<double> values[kLastSettingId + 1] {};
	// The generation in the upper half, one bit per recorded setting in the lower.
	std::atomic<uint64_t> pending {0};
};

} // namespace Vst
} // namespace Steinberg
