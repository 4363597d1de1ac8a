// Texts handed to a VST 2 host must fit its buffer and stay valid UTF-8.
#include "vst2text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace Steinberg::Vst;

std::string toUtf8 (const char16_t* text, size_t bytes)
{
	char buffer[64];
	std::memset (buffer, 'x', sizeof (buffer));
	copyUtf16ToUtf8 (text, buffer, bytes);
	EXPECT_EQ (buffer[bytes], 'x') << "wrote past the limit";
	return buffer;
}

TEST (Vst2Text, CutsAtTheLimitWithoutSplittingACharacter)
{
	EXPECT_EQ (toUtf8 (u"Decay time", 8), "Decay t");
	EXPECT_EQ (toUtf8 (u"Decay", 8), "Decay");
	// "ö" takes two bytes: with room for one, it is left out entirely.
	EXPECT_EQ (toUtf8 (u"Größe", 4), "Gr");
	EXPECT_EQ (toUtf8 (u"Größe", 5), "Grö");
	EXPECT_EQ (toUtf8 (u"Größe", 1), "");
	// A pair of surrogates is one four-byte character.
	EXPECT_EQ (toUtf8 (u"a\U0001D11E", 6), "a\xF0\x9D\x84\x9E");
	EXPECT_EQ (toUtf8 (u"a\U0001D11E", 5), "a");
}

TEST (Vst2Text, ReplacesBrokenInput)
{
	const char16_t lonelyHigh[] = {u'a', 0xD834, u'b', 0};
	EXPECT_EQ (toUtf8 (lonelyHigh, 16), "a\xEF\xBF\xBD"
	                                     "b");
	char out[16];
	copyUtf8Limited ("a\xC3", out, sizeof (out)); // truncated sequence
	EXPECT_STREQ (out, "a\xEF\xBF\xBD");
	copyUtf8Limited ("\xE6\x97\xA5\xE6\x97\xA5", out, 6); // two three-byte characters, room for one
	EXPECT_STREQ (out, "\xE6\x97\xA5");
}

TEST (Vst2Text, Utf8ToUtf16RoundTrip)
{
	char16_t wide[9];
	copyUtf8ToUtf16 ("-6 dB \xF0\x9D\x84\x9E", wide, 9);
	EXPECT_EQ (std::u16string (wide), u"-6 dB \U0001D11E");
	copyUtf8ToUtf16 ("-6 dB \xF0\x9D\x84\x9E", wide, 8); // no room for the pair
	EXPECT_EQ (std::u16string (wide), u"-6 dB ");
	char back[16];
	copyUtf16ToUtf8 (u"-6 dB", back, sizeof (back));
	EXPECT_STREQ (back, "-6 dB");
}

} // namespace
