// The saved-state reader, through the effect's setState: a refused stream changes
// nothing; an accepted one leaves every setting in range and saves back stably.

#include "FuzzEffect.h"

using namespace QuillmereFuzz;

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
	Steinberg::Vst::Quillmere& effect = sharedEffect ();
	const Bytes before = savedState (effect);
	if (loadState (effect, data, size) != Steinberg::kResultOk)
	{
		FUZZ_REQUIRE (savedState (effect) == before, "a refused state changes nothing");
		return 0;
	}
	requireSettingsInRange (effect);
	requireStableRoundTrip (effect);
	return 0;
}
