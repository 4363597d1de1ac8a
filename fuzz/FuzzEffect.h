#pragma once
// What every fuzzer needs: one effect made in-process (the same class the module's
// factory makes), its saved state as bytes, and a way to stop loudly on a broken rule.

#include "FuzzRequire.h"
#include "Quillmere.h"
#include "public.sdk/source/common/memorystream.h"

#include <cstdint>
#include <vector>

namespace QuillmereFuzz {

using Bytes = std::vector<std::uint8_t>;

// One initialized effect for the whole run: making one clears tens of MB of delay memory.
inline Steinberg::Vst::Quillmere& sharedEffect ()
{
	static Steinberg::Vst::Quillmere* effect = [] {
		auto* made = new Steinberg::Vst::Quillmere ();
		made->initialize (nullptr);
		return made;
	}();
	return *effect;
}

inline Bytes savedState (Steinberg::Vst::IComponent& component)
{
	Steinberg::MemoryStream stream;
	FUZZ_REQUIRE (component.getState (&stream) == Steinberg::kResultOk, "getState works");
	auto* data = reinterpret_cast<const std::uint8_t*> (stream.getData ());
	return Bytes (data, data + stream.getSize ());
}

inline Steinberg::tresult loadState (Steinberg::Vst::IComponent& component, const std::uint8_t* data,
                                     size_t size)
{
	// The stream only reads; it never writes into the fuzzer's buffer.
	Steinberg::MemoryStream stream (const_cast<std::uint8_t*> (data), static_cast<Steinberg::TSize> (size));
	return component.setState (&stream);
}

// What a host can see of a loaded state: the saved bytes, and every setting's
// normalized value, which must lie in [0, 1].
inline void requireSettingsInRange (Steinberg::Vst::Quillmere& effect)
{
	for (Steinberg::Vst::ParamID id = 0; id <= Steinberg::Vst::kLastSettingId; ++id)
	{
		const double value = effect.getParamNormalized (id);
		FUZZ_REQUIRE (value >= 0.0 && value <= 1.0, "parameters show values in [0, 1]");
		const double stored = effect.currentSettings ().normalized (id);
		FUZZ_REQUIRE (stored >= 0.0 && stored <= 1.0, "the settings block holds values in [0, 1]");
	}
}

// A state the effect accepted saves to bytes that load back to the same bytes.
inline void requireStableRoundTrip (Steinberg::Vst::Quillmere& effect)
{
	const Bytes first = savedState (effect);
	FUZZ_REQUIRE (loadState (effect, first.data (), first.size ()) == Steinberg::kResultOk,
	              "a saved state loads");
	FUZZ_REQUIRE (savedState (effect) == first, "a saved state loads back to the same bytes");
}

} // namespace QuillmereFuzz
