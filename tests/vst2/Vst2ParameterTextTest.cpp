// Parameter texts through the VST 2.4 entry: they stay inside the host's buffers whatever
// the host sets, and every display text typed back gives the same display.
#include "TextChecks.h"
#include "Vst2Harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

using namespace Vst2Test;
using namespace QuillmereTest;

constexpr VstInt32 kParameterCount = 27;
constexpr size_t kDisplayBytes = 32; // what the plug-in writes at most
constexpr size_t kLabelBytes = 8;

class Vst2ParameterText : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		ASSERT_TRUE (pluginLibrary (error)) << error;
		plugin = Vst2Plugin::load ();
		ASSERT_TRUE (plugin);
	}
	bool typeIn (VstInt32 index, const std::string& text)
	{
		return plugin->dispatch (effString2Parameter, index, 0,
		                         const_cast<char*> (text.c_str ())) == 1;
	}
	std::unique_ptr<Vst2Plugin> plugin;
};

// Reads a text into a buffer whose bytes past the limit are canaries.
std::string guardedText (Vst2Plugin& plugin, VstInt32 opcode, VstInt32 index, size_t limit)
{
	char buffer[256];
	std::memset (buffer, 'x', sizeof (buffer));
	plugin.dispatch (opcode, index, 0, buffer);
	for (size_t i = limit; i < sizeof (buffer); ++i)
		if (buffer[i] != 'x')
		{
			ADD_FAILURE () << "byte " << i << " written, past the " << limit << " allowed";
			break;
		}
	return std::string (buffer, strnlen (buffer, limit));
}

// Name and label within the documented 8 bytes, display within 32, at ordinary values
// and at what a sloppy host sets.
TEST_F (Vst2ParameterText, AnyHostValueShowsWithinTheHostsBuffers)
{
	const float kValues[] = {0.f,
	                         0.123456f,
	                         0.5f,
	                         0.987654f,
	                         1.f,
	                         1e30f,
	                         -1e30f,
	                         std::numeric_limits<float>::infinity (),
	                         -std::numeric_limits<float>::infinity (),
	                         std::numeric_limits<float>::quiet_NaN (),
	                         std::numeric_limits<float>::max (),
	                         2.f,
	                         -1.f};
	for (VstInt32 index = 0; index < kParameterCount; ++index)
		for (float value : kValues)
		{
			SCOPED_TRACE (testing::Message () << "index " << index << " value " << value);
			plugin->set (index, value);
			const std::string shown = guardedText (*plugin, effGetParamDisplay, index, kDisplayBytes);
			EXPECT_FALSE (shown.empty ());
			EXPECT_FALSE (showsANonNumber (shown)) << shown;
			guardedText (*plugin, effGetParamLabel, index, kLabelBytes);
			guardedText (*plugin, effGetParamName, index, kLabelBytes);
		}
}

TEST_F (Vst2ParameterText, EveryDisplayTypedBackShowsTheSame)
{
	for (VstInt32 index = 0; index < kParameterCount; ++index)
	{
		int failures = 0;
		for (int k = 0; k <= 64; ++k)
		{
			plugin->set (index, static_cast<float> (k / 64.0));
			const std::string shown = plugin->display (index);
			const bool taken = typeIn (index, shown);
			const std::string again = plugin->display (index);
			if ((!taken || !sameReading (again, shown)) && ++failures <= 3)
				ADD_FAILURE () << "parameter " << index << " at " << k << "/64 shows \"" << shown
				               << "\"; typed back it is " << (taken ? "" : "refused and ")
				               << "shows \"" << again << "\"";
		}
	}
}

TEST_F (Vst2ParameterText, TypedNumbersIgnoreTheHostsLocale)
{
	const VstInt32 kPredelayIndex = 1;
	ASSERT_TRUE (typeIn (kPredelayIndex, "12,5"));
	EXPECT_EQ (plugin->display (kPredelayIndex), "12.5");
	for (const char* typed : {"inf", "1e309", "nan"})
		EXPECT_FALSE (typeIn (kPredelayIndex, typed)) << typed;
	EXPECT_EQ (plugin->display (kPredelayIndex), "12.5");

	CommaLocale locale;
	if (!locale.active ())
		GTEST_SKIP () << "no locale with a decimal comma is installed";
	EXPECT_EQ (plugin->display (kPredelayIndex), "12.5");
	ASSERT_TRUE (typeIn (kPredelayIndex, "37.5"));
	EXPECT_EQ (plugin->display (kPredelayIndex), "37.5");
	ASSERT_TRUE (typeIn (kPredelayIndex, "12,5"));
	EXPECT_EQ (plugin->display (kPredelayIndex), "12.5");
}

} // namespace
