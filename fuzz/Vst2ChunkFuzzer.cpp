// The VST 2 chunk reader (effSetChunk) of the adapter, made through the same entry
// point a VST 2 host calls. A refused chunk changes nothing; an accepted one saves back
// stably.

#include "FuzzRequire.h"
#include "vst2abi.h"
#include "vst2wrapper.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

VstIntPtr host (AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
	if (opcode == audioMasterVersion)
		return 2400;
	if (opcode == audioMasterGetProductString && ptr)
	{
		std::strcpy (static_cast<char*> (ptr), "Fuzz");
		return 1;
	}
	return 0;
}

AEffect* sharedEffect ()
{
	static AEffect* effect = [] {
		AEffect* made = VSTPluginMain (&host);
		FUZZ_REQUIRE (made != nullptr, "VSTPluginMain gives an effect");
		made->dispatcher (made, effOpen, 0, 0, nullptr, 0.f);
		return made;
	}();
	return effect;
}

std::vector<char> chunk (AEffect* effect)
{
	void* data = nullptr;
	const VstIntPtr size = effect->dispatcher (effect, effGetChunk, 0, 0, &data, 0.f);
	FUZZ_REQUIRE (size > 0 && data, "effGetChunk gives a chunk");
	return std::vector<char> (static_cast<char*> (data), static_cast<char*> (data) + size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
	AEffect* effect = sharedEffect ();
	const std::vector<char> before = chunk (effect);
	// A copy of exactly the input's size, so reading past its end is caught.
	std::vector<std::uint8_t> bytes (data, data + size);
	void* pointer = size ? bytes.data () : nullptr;
	if (effect->dispatcher (effect, effSetChunk, 0, static_cast<VstIntPtr> (size), pointer, 0.f) == 0)
	{
		FUZZ_REQUIRE (chunk (effect) == before, "a refused chunk changes nothing");
		return 0;
	}
	std::vector<char> first = chunk (effect);
	FUZZ_REQUIRE (effect->dispatcher (effect, effSetChunk, 0, static_cast<VstIntPtr> (first.size ()),
	                                  first.data (), 0.f) == 1,
	              "a saved chunk loads");
	FUZZ_REQUIRE (chunk (effect) == first, "a saved chunk loads back to the same bytes");
	for (VstInt32 index = 0; index < effect->numParams; ++index)
	{
		const float value = effect->getParameter (effect, index);
		FUZZ_REQUIRE (value >= 0.f && value <= 1.f, "parameters show values in [0, 1]");
	}
	return 0;
}
