#pragma once
// Hands whole settings blocks from the main thread to the audio thread without locks:
// a triple buffer, so the writer never touches the slot the reader is using and the
// reader always sees one complete block.

#include <atomic>
#include <cstdint>

namespace Steinberg {
namespace Vst {

template <class Block>
class SettingsHandoff
{
public:
	// Main thread: publish a complete block.
	void publish (const Block& block)
	{
		slots[writeSlot] = block;
		writeSlot = middle.exchange (writeSlot | kFresh, std::memory_order_acq_rel) & kSlotMask;
	}

	// Audio thread: the newest published block, or null if nothing new arrived.
	const Block* takeNewest ()
	{
		if (!(middle.load (std::memory_order_acquire) & kFresh))
			return nullptr;
		readSlot = middle.exchange (readSlot, std::memory_order_acq_rel) & kSlotMask;
		return &slots[readSlot];
	}

private:
	static const uint32_t kFresh = 4;
	static const uint32_t kSlotMask = 3;

	Block slots[3] {};
	uint32_t writeSlot = 0;
	uint32_t readSlot = 1;
	std::atomic<uint32_t> middle {2};
};

} // namespace Vst
} // namespace Steinberg
