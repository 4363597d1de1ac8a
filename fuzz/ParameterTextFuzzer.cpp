// The parameters' text parsers: arbitrary UTF-16 (unpaired surrogates, no digits, huge
// exponents, 127 characters and more) into getParamValueByString of every parameter.
// A parsed value is a normalized value in [0, 1]; nothing throws, nothing reads past the
// terminator.

#include "FuzzEffect.h"

#include <cmath>
#include <memory>

using namespace QuillmereFuzz;
using namespace Steinberg;
using namespace Steinberg::Vst;

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
	Quillmere& effect = sharedEffect ();
	// The text exactly as long as the input, then its terminator, on the heap so the
	// address sanitizer sees any read beyond it.
	const size_t length = size / 2;
	std::unique_ptr<TChar[]> text (new TChar[length + 1]);
	for (size_t i = 0; i < length; ++i)
		text[i] = static_cast<TChar> (data[2 * i] | (data[2 * i + 1] << 8));
	text[length] = 0;

	const int32 count = effect.getParameterCount ();
	for (int32 index = 0; index < count; ++index)
	{
		ParameterInfo info {};
		FUZZ_REQUIRE (effect.getParameterInfo (index, info) == kResultOk, "every parameter has an info");
		ParamValue value = -1.0;
		if (effect.getParamValueByString (info.id, text.get (), value) != kResultOk)
			continue;
		FUZZ_REQUIRE (std::isfinite (value) && value >= 0.0 && value <= 1.0,
		              "a parsed text gives a normalized value in [0, 1]");
		// Its own text parses again, to the same value once shown.
		String128 shown {};
		FUZZ_REQUIRE (effect.getParamStringByValue (info.id, value, shown) == kResultOk,
		              "a parsed value has a text");
		ParamValue again = -1.0;
		if (effect.getParamValueByString (info.id, shown, again) == kResultOk)
			FUZZ_REQUIRE (again >= 0.0 && again <= 1.0, "a shown text parses into [0, 1]");
	}
	// Ids that are no parameter are refused, whatever the text.
	ParamValue ignored = 0.0;
	FUZZ_REQUIRE (effect.getParamValueByString (26, text.get (), ignored) != kResultOk,
	              "id 26 is no parameter");
	return 0;
}
