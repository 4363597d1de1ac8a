#pragma once
// Hands whole settings blocks from the main thread to the audio thread without locks:
// a triple buffer, so the writer never touches the slot the reader is using and the
// reader always sees one complete block. Each block carries a generation number, so
// both sides can tell which restore a value was applied on top of.

#include <atomic>
#include <cstdint>

namespace Steinberg {
namespace Vst {

template <class Block>
class SettingsHandoff
{
public:
	// Main thread: publish a complete block; returns its generation.
	uint32_t publish (const Block& block)
	{
		slots[writeSlot] = {block, ++lastPublished};
		writeSlot = middle.exchange (writeSlot | kFresh, std::memory_order_acq_rel) & kSlotMask;
		return lastPublished;
	}

	// Main thread: the generation of the newest published block (0 before the first).
	uint32_t newestGeneration () const { return lastPublished; }

	// Audio thread: the newest published block, or null if nothing new arrived.
	const Block* takeNewest ()
	{
		if (!(middle.load (std::memory_order_acquire) & kFresh))
			return nullptr;
		readSlot = middle.exchange (readSlot, std::memory_order_acq_rel) & kSlotMask;
		return &slots[readSlot].block;
	}

	// Audio thread: the generation of the block it took last (0 before the first).
	uint32_t takenGeneration () const { return slots[readSlot].generation; }

private:
	static const uint32_t kFresh = 4;
	static const uint32_t kSlotMask = 3;

	struct Slot
	{
		Block block;
		uint32_t generation;
	};

	Slot slots[3] {};
	uint32_t writeSlot = 0;
	uint32_t readSlot = 1;
	uint32_t lastPublished = 0;
	std::atomic<uint32_t> middle {2};
};

} // namespace Vst
} // namespace Steinberg
