#pragma once
// Number reading for typed parameter values: the first decimal number found anywhere in
// the text (a comma counts as the decimal point). Texts come from hosts and users, so any
// UTF-16 content must be safe; only finite numbers count.

#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

bool scanNumber (const TChar* text, double& value);

// Prints with printf-style format into a UTF-16 parameter text.
void printNumber (String128 text, const char* format, double value);
void printNumber (String128 text, const char* format, int precision, double value);

} // namespace Vst
} // namespace Steinberg
