// The generated .vstpreset files, read back as a host reads them.

#include "BundleFixture.h"
#include "PresetFiles.h"
#include "Quillmere.h"
#include "QuillmereIds.h"
#include "editor/FactoryPresets.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// What the effect holds after the editor applies the preset, in this process.
std::vector<std::uint8_t> stateAfterApplying (int32 index)
{
	IPtr<Quillmere> effect = owned (new Quillmere ());
	EXPECT_EQ (effect->initialize (nullptr), kResultOk);
	effect->applyPreset (kFactoryPresets[index]);
	MemoryStream stream;
	EXPECT_EQ (effect->getState (&stream), kResultOk);
	effect->terminate ();
	const auto* data = reinterpret_cast<const std::uint8_t*> (stream.getData ());
	return {data, data + stream.getSize ()};
}

std::string presetPath (int32 index)
{
	return std::string (QUILLMERE_PRESET_DIR) + "/" + QuillmereTools::presetFileName (kFactoryPresetNames[index]);
}

std::vector<std::uint8_t> fileBytes (const std::string& path)
{
	std::ifstream in (path, std::ios::binary);
	return {std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char> ()};
}

} // namespace

TEST (PresetFiles, EveryFactoryPresetRestoresItsStateInTheBundleByteForByte)
{
	for (int32 i = 0; i < kNumFactoryPresets; ++i)
	{
		SCOPED_TRACE (kFactoryPresetNames[i]);
		const auto expected = stateAfterApplying (i);

		QuillmereTools::PresetContents contents;
		std::string error;
		ASSERT_TRUE (QuillmereTools::readPresetFile (presetPath (i), contents, error)) << error;
		EXPECT_EQ (contents.classId, QuillmereClassId);
		EXPECT_EQ (contents.componentState, expected);

		auto effect = QuillmereTest::newEffect ();
		ASSERT_TRUE (effect);
		ASSERT_EQ (effect->setState (contents.componentState), kResultOk);
		std::vector<std::uint8_t> restored;
		ASSERT_EQ (effect->getState (restored), kResultOk);
		EXPECT_EQ (restored, expected);
	}
}

TEST (PresetFiles, TheSdkPresetLoaderRestoresThemIntoTheBundle)
{
	// The SDK's own loader, the way a host's preset browser applies a file.
	for (int32 i : {0, 29, 33, 34})
	{
		SCOPED_TRACE (kFactoryPresetNames[i]);
		auto bytes = fileBytes (presetPath (i));
		ASSERT_FALSE (bytes.empty ());
		MemoryStream stream (bytes.data (), static_cast<TSize> (bytes.size ()));
		auto effect = QuillmereTest::newEffect ();
		ASSERT_TRUE (effect);
		ASSERT_TRUE (PresetFile::loadPreset (&stream, QuillmereClassId, effect->component ()));
		std::vector<std::uint8_t> restored;
		ASSERT_EQ (effect->getState (restored), kResultOk);
		EXPECT_EQ (restored, stateAfterApplying (i));
	}
}

TEST (PresetFiles, TheBundleShowsAPresetsTextRulesAfterLoadingItsFile)
{
	// "Dim. expander B" holds Reverb 10.39, which the level parser reads as -10.39 dB.
	QuillmereTools::PresetContents contents;
	std::string error;
	ASSERT_TRUE (QuillmereTools::readPresetFile (std::string (QUILLMERE_PRESET_DIR) + "/Dim. expander B.vstpreset",
	                                             contents, error)) << error;
	auto effect = QuillmereTest::newEffect ();
	ASSERT_TRUE (effect);
	ASSERT_EQ (effect->setState (contents.componentState), kResultOk);
	const auto reverb = effect->findParameterByTitle ("Reverb");
	ASSERT_TRUE (reverb);
	EXPECT_EQ (effect->valueToText (reverb->id, effect->getParamNormalized (reverb->id)), "-10.39");
	const auto damp = effect->findParameterByTitle ("Damp");
	ASSERT_TRUE (damp);
	EXPECT_EQ (effect->valueToText (damp->id, effect->getParamNormalized (damp->id)), "22020.0");
}

TEST (PresetFiles, NamesStayReadableAndSafeForFileSystems)
{
	EXPECT_EQ (QuillmereTools::presetFileName ("Dim. expander A"), "Dim. expander A.vstpreset");
	EXPECT_EQ (QuillmereTools::presetFileName ("Drums/Room"), "Drums-Room.vstpreset");
	EXPECT_EQ (QuillmereTools::presetFileName (".hidden"), "_.hidden.vstpreset");
	size_t files = 0;
	for (const auto& entry : std::filesystem::directory_iterator (QUILLMERE_PRESET_DIR))
		files += entry.path ().extension () == ".vstpreset";
	EXPECT_EQ (files, static_cast<size_t> (kNumFactoryPresets));
}

TEST (PresetFiles, ReadingRefusesFilesThatAreNotPresets)
{
	const std::string path = testing::TempDir () + "not-a-preset.vstpreset";
	{
		std::ofstream out (path, std::ios::binary);
		out << "VST3 but not really a preset";
	}
	QuillmereTools::PresetContents contents;
	std::string error;
	EXPECT_FALSE (QuillmereTools::readPresetFile (path, contents, error));
	EXPECT_NE (error.find ("not a VST 3 preset"), std::string::npos) << error;
	EXPECT_FALSE (QuillmereTools::readPresetFile (path + ".missing", contents, error));
	EXPECT_NE (error.find ("cannot open"), std::string::npos) << error;
	std::filesystem::remove (path);
}

TEST (PresetFiles, ReadingRefusesChunksOutsideTheFileWhateverTheirNumbers)
{
	// A real preset whose chunk list claims the component state lies far beyond the end.
	const auto original = fileBytes (presetPath (0));
	ASSERT_GT (original.size (), 48u);
	std::int64_t listOffset = 0;
	std::memcpy (&listOffset, original.data () + 40, sizeof (listOffset)); // after 'VST3', version, class ID
	const size_t entry = static_cast<size_t> (listOffset) + 8;             // after 'List' and the count
	ASSERT_LE (entry + 20, original.size ());
	ASSERT_EQ (std::string (reinterpret_cast<const char*> (original.data () + entry), 4), "Comp");

	const std::int64_t huge = INT64_MAX - 16;
	for (const auto& [offset, size] : {std::pair<std::int64_t, std::int64_t> {huge, huge}, {8, huge}, {huge, 8},
	                                   {static_cast<std::int64_t> (original.size ()), 1}})
	{
		SCOPED_TRACE (std::to_string (offset) + " + " + std::to_string (size));
		auto bytes = original;
		std::memcpy (bytes.data () + entry + 4, &offset, sizeof (offset));
		std::memcpy (bytes.data () + entry + 12, &size, sizeof (size));
		const std::string path = testing::TempDir () + "far-chunk-" + std::to_string (getpid ()) + ".vstpreset";
		std::ofstream (path, std::ios::binary).write (reinterpret_cast<const char*> (bytes.data ()),
		                                              static_cast<std::streamsize> (bytes.size ()));
		QuillmereTools::PresetContents contents;
		std::string error;
		EXPECT_FALSE (QuillmereTools::readPresetFile (path, contents, error));
		EXPECT_NE (error.find ("no component state"), std::string::npos) << error;
		std::filesystem::remove (path);
	}
}
