// Text conversions between the VST 3 side (UTF-16) and a VST 2 host's
// fixed-size char buffers (UTF-8).
#pragma once

#include <cstddef>

namespace Steinberg {
namespace Vst {

// Writes source as UTF-8 into dest, at most destSize bytes including the
// terminator. A character that does not fit whole is left out entirely, so
// the result is always valid UTF-8. Unpaired surrogates become U+FFFD.
void copyUtf16ToUtf8 (const char16_t* source, char* dest, size_t destSize);

// Copies UTF-8 (or ASCII) text with the same guarantees as above.
void copyUtf8Limited (const char* source, char* dest, size_t destSize);

// Converts UTF-8 to UTF-16 into dest of destCount units, terminator
// included. Malformed bytes become U+FFFD.
void copyUtf8ToUtf16 (const char* source, char16_t* dest, size_t destCount);

} // namespace Vst
} // namespace Steinberg
