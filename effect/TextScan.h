#pragma once
// Parameter texts both ways. Reading takes the first decimal number found anywhere in the
// text (a comma counts as the decimal point). Texts come from hosts and users, so any
// UTF-16 content must be safe; only finite numbers count. Printing never depends on the
// host's locale and never writes past the String128.

#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

bool scanNumber (const TChar* text, double& value);

// True when text is word, ignoring case and surrounding spaces.
bool textIsWord (const TChar* text, const char* word);

// Copies an ASCII word into a UTF-16 parameter text.
void printWord (String128 text, const char* word);

// Prints with printf-style format into a UTF-16 parameter text.
void printNumber (String128 text, const char* format, double value);
void printNumber (String128 text, const char* format, int precision, double value);

// A normalized value from a host may be anything: NaN counts as 0, the rest is clamped.
inline ParamValue clampNormalized (ParamValue value)
{
	if (!(value > 0.0))
		return 0.0;
	return value < 1.0 ? value : 1.0;
}

} // namespace Vst
} // namespace Steinberg
