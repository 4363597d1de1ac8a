// The bundle loaded as a VST 2.4 plug-in, the way a Linux VST 2 host loads
// it, and compared with the same bundle loaded as VST 3.
#include "Vst2Harness.h"

#include "BundleFixture.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <set>
#include <thread>

namespace {

using namespace Vst2Test;
using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr VstInt32 kParameterCount = 27;
constexpr VstInt32 kDryIndex = 0;
constexpr VstInt32 kPredelayIndex = 1;
constexpr VstInt32 kEarlyVariationIndex = 3;
constexpr VstInt32 kDecayIndex = 5;
constexpr VstInt32 kRoomSizeIndex = 6;
constexpr VstInt32 kWetIndex = 18;
constexpr VstInt32 kBypassReverbIndex = 21;
constexpr VstInt32 kBypassIndex = 25; // its VST 3 ID is 19
constexpr ParamID kBypassId = 19;
constexpr size_t kStateSize = 167;

std::unique_ptr<Vst2Plugin> loadPlugin ()
{
	std::string error;
	EXPECT_TRUE (pluginLibrary (error)) << error;
	auto plugin = Vst2Plugin::load ();
	EXPECT_TRUE (plugin);
	return plugin;
}

int64_t readInt64 (const std::vector<char>& bytes, size_t offset)
{
	uint64_t value = 0;
	for (int i = 7; i >= 0; --i)
		value = (value << 8) | static_cast<unsigned char> (bytes[offset + static_cast<size_t> (i)]);
	return static_cast<int64_t> (value);
}

void writeInt64 (std::vector<char>& bytes, size_t offset, int64_t value)
{
	for (size_t i = 0; i < 8; ++i)
		bytes[offset + i] = static_cast<char> ((static_cast<uint64_t> (value) >> (8 * i)) & 0xFF);
}

// A noise burst followed by silence, so the reverb tail is in the output.
template <typename Sample>
struct StereoSignal
{
	explicit StereoSignal (size_t frames, bool burst = true) : left (frames), right (frames)
	{
		uint32_t seed = 12345;
		for (size_t i = 0; i < frames && burst && i < 600; ++i)
		{
			seed = seed * 1664525u + 1013904223u;
			left[i] = Sample (static_cast<int32_t> (seed) / 4294967296.0);
			seed = seed * 1664525u + 1013904223u;
			right[i] = Sample (static_cast<int32_t> (seed) / 4294967296.0);
		}
	}
	Sample** channels ()
	{
		pointers[0] = left.data ();
		pointers[1] = right.data ();
		return pointers;
	}
	std::vector<Sample> left, right;
	Sample* pointers[2];
};

// Settings a test applies identically through both formats. The list value
// is an exact list position, as a restored state reports it.
struct Setting
{
	VstInt32 index;
	float value;
};
const std::vector<Setting> kSettings = {
    {kDryIndex, 0.7f},  {kPredelayIndex, 0.05f}, {kEarlyVariationIndex, 6.f / 11.f},
    {kDecayIndex, 0.3f}, {kRoomSizeIndex, 0.45f}, {kWetIndex, 0.8f},
};

// The same bundle as a VST 3 host sees it, processing in blocks of blockSize
// with the settings as parameter changes of the first block.
template <typename Sample>
StereoSignal<Sample> renderAsVst3 (const std::vector<Setting>& settings, size_t frames,
                                   int32 blockSize)
{
	auto fx = QuillmereTest::newActiveEffect (44100.0, sizeof (Sample) == 4 ? kSample32 : kSample64,
	                                          blockSize);
	StereoSignal<Sample> signal (frames);
	if (!fx)
		return signal;
	ParameterChanges changes;
	for (const Setting& setting : settings)
	{
		int32 index;
		auto info = fx->parameterInfo (setting.index);
		changes.addParameterData (info->id, index)->addPoint (0, setting.value, index);
	}
	for (size_t done = 0; done < frames; done += static_cast<size_t> (blockSize))
	{
		auto n = static_cast<int32> (std::min (frames - done, static_cast<size_t> (blockSize)));
		Sample* channels[2] = {signal.left.data () + done, signal.right.data () + done};
		fx->process (channels, 2, channels, 2, n, done == 0 ? &changes : nullptr);
	}
	return signal;
}

// Through the VST 2 entry, in host calls of callLength frames.
template <typename Sample>
StereoSignal<Sample> renderAsVst2 (Vst2Plugin& plugin, size_t frames, VstInt32 callLength)
{
	StereoSignal<Sample> input (frames);
	StereoSignal<Sample> output (frames, false);
	for (size_t done = 0; done < frames; done += static_cast<size_t> (callLength))
	{
		auto n = static_cast<VstInt32> (std::min (frames - done, static_cast<size_t> (callLength)));
		Sample* in[2] = {input.left.data () + done, input.right.data () + done};
		Sample* out[2] = {output.left.data () + done, output.right.data () + done};
		plugin.process (in, out, n);
	}
	return output;
}

template <typename Sample>
void expectSameAudio (const StereoSignal<Sample>& actual, const StereoSignal<Sample>& expected)
{
	ASSERT_EQ (actual.left.size (), expected.left.size ());
	double energy = 0.;
	for (size_t i = 0; i < actual.left.size (); ++i)
	{
		ASSERT_EQ (actual.left[i], expected.left[i]) << "left, frame " << i;
		ASSERT_EQ (actual.right[i], expected.right[i]) << "right, frame " << i;
		energy += double (actual.left[i]) * actual.left[i];
	}
	EXPECT_GT (energy, 0.) << "silent output proves nothing";
}

//------------------------------------------------------------------------
TEST (Vst2Entry, ReportsIdentityAndCapabilities)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	AEffect* e = plugin->effect ();
	EXPECT_EQ (e->magic, kEffectMagic);
	EXPECT_EQ (e->uniqueID, vstFourCharCode ('t', 'w', 'k', 'n'));
	EXPECT_EQ (e->numParams, kParameterCount);
	EXPECT_EQ (e->numInputs, 2);
	EXPECT_EQ (e->numOutputs, 2);
	EXPECT_EQ (e->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing |
	                         effFlagsProgramChunks);
	EXPECT_EQ (plugin->dispatch (effGetVstVersion), 2400);
	EXPECT_EQ (plugin->dispatch (effGetPlugCategory), kPlugCategRoomFx);
	EXPECT_EQ (plugin->dispatch (effGetVendorVersion), 2020);
	EXPECT_EQ (plugin->dispatch (effGetTailSize), 1102500); // 25 s at 44100 Hz

	char text[256];
	ASSERT_EQ (plugin->dispatch (effGetEffectName, 0, 0, text), 1);
	EXPECT_STREQ (text, "Quillmere");
	ASSERT_EQ (plugin->dispatch (effGetProductString, 0, 0, text), 1);
	EXPECT_STREQ (text, "Quillmere");
	ASSERT_EQ (plugin->dispatch (effGetVendorString, 0, 0, text), 1);
	auto module = QuillmereTest::bundle ();
	ASSERT_TRUE (module);
	EXPECT_STREQ (text, module->factoryInfo ().vendor);
	EXPECT_NE (text[0], 0);

	EXPECT_EQ (plugin->dispatch (effCanDo, 0, 0, const_cast<char*> ("bypass")), 1);
	EXPECT_EQ (plugin->dispatch (effCanDo, 0, 0, const_cast<char*> ("receiveVstTimeInfo")), -1);
	EXPECT_EQ (plugin->dispatch (effCanDo, 0, 0, const_cast<char*> ("receiveVstMidiEvent")), -1);
	EXPECT_EQ (plugin->dispatch (effCanDo, 0, 0, const_cast<char*> ("somethingNew")), 0);

	VstPinProperties pin;
	ASSERT_EQ (plugin->dispatch (effGetOutputProperties, 1, 0, &pin), 1);
	EXPECT_TRUE (pin.flags & kVstPinIsActive);
	EXPECT_EQ (plugin->dispatch (effGetInputProperties, 2, 0, &pin), 0);
}

TEST (Vst2Entry, ParameterTextsComeFromTheVst3Parameters)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	// Names and labels keep to the documented 8 bytes.
	EXPECT_EQ (plugin->name (kDryIndex), "Dry");
	EXPECT_EQ (plugin->name (kDecayIndex), "Decay t");
	EXPECT_EQ (plugin->name (kBypassIndex), "Bypass");
	EXPECT_EQ (plugin->label (kPredelayIndex), "ms");
	EXPECT_EQ (plugin->label (kDecayIndex), "sec");
	EXPECT_EQ (plugin->label (kEarlyVariationIndex), "");

	plugin->set (kDryIndex, 0.5f);
	EXPECT_EQ (plugin->display (kDryIndex), "-6.02");
	plugin->set (kEarlyVariationIndex, 1.f);
	EXPECT_EQ (plugin->display (kEarlyVariationIndex), "Variation 12");
	plugin->set (kBypassIndex, 1.f);
	EXPECT_EQ (plugin->display (kBypassIndex), "On");

	EXPECT_EQ (plugin->dispatch (effCanBeAutomated, kDecayIndex), 1);
	EXPECT_EQ (plugin->dispatch (effCanBeAutomated, 26), 0); // read-only "VuPPM"

	// A typed level is read as that many dB below 0.
	EXPECT_EQ (plugin->dispatch (effString2Parameter, kWetIndex, 0, const_cast<char*> ("6")), 1);
	EXPECT_NEAR (plugin->get (kWetIndex), 0.50119, 1e-4);
	EXPECT_EQ (plugin->dispatch (effString2Parameter, kWetIndex, 0, const_cast<char*> ("-oo")), 1);
	EXPECT_EQ (plugin->get (kWetIndex), 0.f);
}

// Hosts that ask for the properties show their label instead of the 8-byte
// name, so every parameter gets its full title, and switches and lists say
// what they are.
TEST (Vst2Entry, ParameterPropertiesCarryFullTitlesSwitchesAndListSteps)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	auto fx = QuillmereTest::newEffect ();
	ASSERT_TRUE (fx);

	std::set<std::string> labels;
	for (VstInt32 i = 0; i < kParameterCount; ++i)
	{
		SCOPED_TRACE (i);
		VstParameterProperties properties;
		std::memset (&properties, 0x55, sizeof (properties));
		ASSERT_EQ (plugin->dispatch (effGetParameterProperties, i, 0, &properties), 1);
		ASSERT_TRUE (std::memchr (properties.label, 0, sizeof (properties.label)));
		ASSERT_TRUE (std::memchr (properties.shortLabel, 0, sizeof (properties.shortLabel)));
		ASSERT_TRUE (std::memchr (properties.categoryLabel, 0, sizeof (properties.categoryLabel)));
		auto info = fx->parameterInfo (i);
		ASSERT_TRUE (info);
		EXPECT_EQ (properties.label, QuillmereHost::toUtf8 (info->title));
		EXPECT_EQ (properties.shortLabel, plugin->name (i));
		labels.insert (properties.label);

		const bool isSwitch = info->stepCount == 1;
		const bool isList = info->stepCount > 1;
		EXPECT_EQ ((properties.flags & kVstParameterIsSwitch) != 0, isSwitch);
		EXPECT_EQ ((properties.flags & kVstParameterUsesIntegerMinMax) != 0, isList);
		EXPECT_EQ ((properties.flags & kVstParameterUsesIntStep) != 0, isList);
		if (isList)
		{
			EXPECT_EQ (properties.minInteger, 0);
			EXPECT_EQ (properties.maxInteger, info->stepCount);
			EXPECT_EQ (properties.stepInteger, 1);
			EXPECT_EQ (properties.largeStepInteger, 1);
		}
	}
	EXPECT_EQ (labels.size (), static_cast<size_t> (kParameterCount)) << "no two alike";

	VstParameterProperties properties {};
	ASSERT_EQ (plugin->dispatch (effGetParameterProperties, kDecayIndex, 0, &properties), 1);
	EXPECT_STREQ (properties.label, "Decay time");
	EXPECT_EQ (properties.flags, 0);
	ASSERT_EQ (plugin->dispatch (effGetParameterProperties, kBypassReverbIndex, 0, &properties), 1);
	EXPECT_STREQ (properties.label, "Bypass Reverb");
	EXPECT_EQ (properties.flags, kVstParameterIsSwitch);
	ASSERT_EQ (plugin->dispatch (effGetParameterProperties, kEarlyVariationIndex, 0, &properties), 1);
	EXPECT_EQ (properties.maxInteger - properties.minInteger + 1, 12) << "entries";
	ASSERT_EQ (plugin->dispatch (effGetParameterProperties, kEarlyVariationIndex + 1, 0, &properties), 1);
	EXPECT_EQ (properties.maxInteger - properties.minInteger + 1, 5) << "entries";

	for (VstInt32 index : {-1, kParameterCount})
		EXPECT_EQ (plugin->dispatch (effGetParameterProperties, index, 0, &properties), 0);
	EXPECT_EQ (plugin->dispatch (effGetParameterProperties, 0, 0, nullptr), 0);
}

// The VST 2 path gives the VST 3 path's audio bit for bit, also when the host's
// calls are longer than the block size and the adapter splits them.
template <typename Sample>
void expectVst2EqualsVst3 (int32 blockSize, VstInt32 callLength)
{
	constexpr size_t frames = 6000;
	auto expected = renderAsVst3<Sample> (kSettings, frames, blockSize);
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	for (const Setting& setting : kSettings)
		plugin->set (setting.index, setting.value);
	ASSERT_TRUE (plugin->resume (44100.f, blockSize, sizeof (Sample) == 8));
	expectSameAudio (renderAsVst2<Sample> (*plugin, frames, callLength), expected);
}

TEST (Vst2Entry, ProcessingEqualsTheVst3PathInBothPrecisionsAndInPieces)
{
	{
		SCOPED_TRACE ("float");
		expectVst2EqualsVst3<float> (512, 512);
	}
	{
		SCOPED_TRACE ("double");
		expectVst2EqualsVst3<double> (512, 512);
	}
	{
		SCOPED_TRACE ("calls longer than the block size");
		expectVst2EqualsVst3<float> (256, 1000);
	}
}

// A host may leave any channel out (null) of a call the adapter splits into
// pieces of the block size: the channel stays out of every piece, and the
// channels that are there get the same audio as with nothing left out.
template <typename Sample>
void expectLeftOutChannelsStayOut (bool doublePrecision)
{
	constexpr VstInt32 blockSize = 64;
	constexpr VstInt32 frames = 4096;
	auto reference = loadPlugin ();
	ASSERT_TRUE (reference);
	ASSERT_TRUE (reference->resume (44100.f, blockSize, doublePrecision));
	const auto full = renderAsVst2<Sample> (*reference, frames, frames);

	const char* const names[] = {"inputs[0]", "inputs[1]", "outputs[0]", "outputs[1]"};
	for (int missing = 0; missing < 4; ++missing)
	{
		SCOPED_TRACE (names[missing]);
		auto plugin = loadPlugin ();
		ASSERT_TRUE (plugin);
		ASSERT_TRUE (plugin->resume (44100.f, blockSize, doublePrecision));
		StereoSignal<Sample> input (frames);
		StereoSignal<Sample> output (frames, false);
		Sample** in = input.channels ();
		Sample** out = output.channels ();
		(missing < 2 ? in : out)[missing % 2] = nullptr;
		plugin->process (in, out, frames);

		for (int c = 0; c < 2; ++c)
		{
			if (!out[c])
				continue;
			const std::vector<Sample>& written = c == 0 ? output.left : output.right;
			const std::vector<Sample>& expected = c == 0 ? full.left : full.right;
			for (size_t i = 0; i < written.size (); ++i)
			{
				ASSERT_TRUE (std::isfinite (written[i])) << "channel " << c << ", frame " << i;
			}
			if (missing >= 2)
			{
				EXPECT_EQ (written, expected) << "channel " << c;
			}
		}
	}
}

TEST (Vst2Entry, LeftOutChannelsStayOutOfEveryPieceInBothPrecisions)
{
	expectLeftOutChannelsStayOut<float> (false);
	expectLeftOutChannelsStayOut<double> (true);
}

TEST (Vst2Entry, OutputIsSilentWhileSuspendedOrInTheOtherPrecision)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	StereoSignal<float> input (64);
	StereoSignal<float> output (64);
	plugin->process (input.channels (), output.channels (), 64);
	for (float s : output.left)
		ASSERT_EQ (s, 0.f);

	ASSERT_TRUE (plugin->resume (44100.f, 64));
	StereoSignal<double> wideIn (64);
	StereoSignal<double> wideOut (64);
	plugin->process (wideIn.channels (), wideOut.channels (), 64);
	for (double s : wideOut.right)
		ASSERT_EQ (s, 0.);
}

TEST (Vst2Entry, BypassGoesThroughTheBypassParameter)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	ASSERT_EQ (plugin->dispatch (effSetBypass, 0, 1), 1);
	EXPECT_EQ (plugin->get (kBypassIndex), 1.f);
	ASSERT_TRUE (plugin->resume (44100.f, 256));
	StereoSignal<float> input (256);
	StereoSignal<float> output (256, false);
	plugin->process (input.channels (), output.channels (), 256);
	EXPECT_EQ (output.left, input.left);
	EXPECT_EQ (output.right, input.right);
}

TEST (Vst2Entry, HostAutomationReachesControllerAndAudio)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	plugin->set (kRoomSizeIndex, 0.25f);
	EXPECT_EQ (plugin->get (kRoomSizeIndex), 0.25f);
	EXPECT_EQ (plugin->display (kRoomSizeIndex), "25.00");

	// From another thread (automation played on the audio thread): visible
	// at once, and in the controller's state after the next main-thread call.
	std::thread automation ([&] { plugin->set (kRoomSizeIndex, 0.75f); });
	automation.join ();
	EXPECT_EQ (plugin->get (kRoomSizeIndex), 0.75f);
	std::vector<char> chunk = plugin->getChunk ();
	ASSERT_EQ (chunk.size (), 16 + kStateSize);
	double roomSize;
	std::memcpy (&roomSize, chunk.data () + 16 + 40, sizeof (roomSize)); // settings field
	EXPECT_EQ (roomSize, 0.75);
}

TEST (Vst2Entry, HostsMayCreateOnAWorkerThread)
{
	std::unique_ptr<Vst2Plugin> plugin;
	std::thread creator ([&] { plugin = Vst2Plugin::load (); });
	creator.join ();
	ASSERT_TRUE (plugin);
	plugin->set (kRoomSizeIndex, 0.75f);
	std::vector<char> chunk = plugin->getChunk ();
	ASSERT_EQ (chunk.size (), 16 + kStateSize);
	double roomSize;
	std::memcpy (&roomSize, chunk.data () + 16 + 40, sizeof (roomSize));
	EXPECT_EQ (roomSize, 0.75) << "the chunk call made this the user-interface thread";
}

TEST (Vst2Entry, EffectEditsGoToTheHostAndToTheAudio)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	// The component handler the effect's editor reports its edits to.
	auto* adapter = static_cast<FUnknown*> (static_cast<IComponentHandler*> (plugin->effect ()->object));
	IComponentHandler* handler = nullptr;
	ASSERT_EQ (adapter->queryInterface (IComponentHandler::iid, reinterpret_cast<void**> (&handler)),
	           kResultOk);
	plugin->clearHostCalls ();
	EXPECT_EQ (handler->beginEdit (kBypassId), kResultOk);
	EXPECT_EQ (handler->performEdit (kBypassId, 1.), kResultOk);
	EXPECT_EQ (handler->endEdit (kBypassId), kResultOk);
	EXPECT_NE (handler->performEdit (12345, 1.), kResultOk);

	const auto& calls = plugin->hostCalls ();
	ASSERT_EQ (calls.size (), 3u);
	EXPECT_EQ (calls[0].opcode, audioMasterBeginEdit);
	EXPECT_EQ (calls[0].index, kBypassIndex);
	EXPECT_EQ (calls[1].opcode, audioMasterAutomate);
	EXPECT_EQ (calls[1].index, kBypassIndex);
	EXPECT_EQ (calls[1].opt, 1.f);
	EXPECT_EQ (calls[2].opcode, audioMasterEndEdit);
	EXPECT_EQ (calls[2].index, kBypassIndex);

	ASSERT_TRUE (plugin->resume (44100.f, 128));
	StereoSignal<float> input (128);
	StereoSignal<float> output (128, false);
	plugin->process (input.channels (), output.channels (), 128);
	EXPECT_EQ (output.left, input.left) << "the edit reaches the audio as bypass";
}

TEST (Vst2Entry, ChunkCarriesSettingsAndSoundToAnotherInstance)
{
	auto source = loadPlugin ();
	ASSERT_TRUE (source);
	for (const Setting& setting : kSettings)
		source->set (setting.index, setting.value);
	std::vector<char> chunk = source->getChunk ();
	ASSERT_EQ (chunk.size (), 16 + kStateSize);
	EXPECT_EQ (readInt64 (chunk, 0), static_cast<int64_t> (kStateSize));
	EXPECT_EQ (readInt64 (chunk, 8), 0) << "the effect has no controller state";
	EXPECT_EQ (chunk[16], 5) << "state version";

	auto copy = loadPlugin ();
	ASSERT_TRUE (copy);
	ASSERT_EQ (copy->setChunk (chunk), 1);
	for (VstInt32 i = 0; i < kParameterCount; ++i)
	{
		EXPECT_EQ (copy->get (i), source->get (i)) << "index " << i;
		EXPECT_EQ (copy->display (i), source->display (i)) << "index " << i;
	}
	EXPECT_EQ (copy->getChunk (), chunk);

	ASSERT_TRUE (source->resume (44100.f, 512));
	ASSERT_TRUE (copy->resume (44100.f, 512));
	expectSameAudio (renderAsVst2<float> (*copy, 4000, 512), renderAsVst2<float> (*source, 4000, 512));
}

TEST (Vst2Entry, MalformedChunksAreRefusedWithoutChange)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	auto donor = loadPlugin ();
	ASSERT_TRUE (donor);
	donor->set (kDecayIndex, 0.9f);
	const std::vector<char> good = donor->getChunk ();
	ASSERT_EQ (good.size (), 16 + kStateSize);
	const std::vector<char> before = plugin->getChunk ();

	std::vector<char> tooShortForHeader (good.begin (), good.begin () + 15);
	EXPECT_EQ (plugin->setChunk (tooShortForHeader), 0);

	std::vector<char> cut (good.begin (), good.end () - 1);
	EXPECT_EQ (plugin->setChunk (cut), 0) << "sizes no longer add up";

	std::vector<char> extraController = good;
	writeInt64 (extraController, 8, 4);
	EXPECT_EQ (plugin->setChunk (extraController), 0);

	std::vector<char> negative = good;
	writeInt64 (negative, 0, -1);
	EXPECT_EQ (plugin->setChunk (negative), 0);

	std::vector<char> hugeSizes = good;
	writeInt64 (hugeSizes, 0, INT64_MAX);
	writeInt64 (hugeSizes, 8, INT64_MAX);
	EXPECT_EQ (plugin->setChunk (hugeSizes), 0);

	// Consistent sizes around a component state the effect cannot read.
	std::vector<char> shortState (good.begin (), good.begin () + 16 + 100);
	writeInt64 (shortState, 0, 100);
	EXPECT_EQ (plugin->setChunk (shortState), 0);

	EXPECT_EQ (plugin->dispatch (effSetChunk, 0, static_cast<VstIntPtr> (good.size ()), nullptr), 0);
	EXPECT_EQ (plugin->getChunk (), before);
	EXPECT_NE (plugin->get (kDecayIndex), 0.9f);
}

TEST (Vst2Entry, RefusesHostsWithoutAVersionOrCallback)
{
	std::string error;
	ASSERT_TRUE (pluginLibrary (error)) << error;
	EXPECT_FALSE (Vst2Plugin::load (0));
	PluginEntry entry = pluginEntry ();
	ASSERT_TRUE (entry);
	EXPECT_EQ (entry (nullptr), nullptr);
}

TEST (Vst2Entry, BadIndicesAndNullPointersAnswerZero)
{
	auto plugin = loadPlugin ();
	ASSERT_TRUE (plugin);
	for (VstInt32 index : {-1, kParameterCount, 1000})
	{
		EXPECT_EQ (plugin->get (index), 0.f);
		plugin->set (index, 0.5f);
		EXPECT_EQ (plugin->name (index), "");
		EXPECT_EQ (plugin->label (index), "");
		EXPECT_EQ (plugin->display (index), "");
		EXPECT_EQ (plugin->dispatch (effCanBeAutomated, index), 0);
		EXPECT_EQ (plugin->dispatch (effString2Parameter, index, 0, const_cast<char*> ("1")), 0);
	}
	for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay,
	                        effString2Parameter, effGetEffectName, effGetVendorString,
	                        effGetProductString, effGetProgramName, effSetProgramName,
	                        effGetProgramNameIndexed, effCanDo, effGetChunk, effSetChunk,
	                        effGetInputProperties, effGetOutputProperties, effEditGetRect})
		EXPECT_EQ (plugin->dispatch (opcode, 0, 16, nullptr), 0) << "opcode " << opcode;
	EXPECT_EQ (plugin->dispatch (9999), 0);
	EXPECT_EQ (plugin->effect ()->getParameter (nullptr, 0), 0.f);
}

TEST (Vst2Entry, InstancesAreIndependent)
{
	auto first = loadPlugin ();
	auto second = loadPlugin ();
	ASSERT_TRUE (first && second);
	const float secondBefore = second->get (kPredelayIndex);
	first->set (kPredelayIndex, 0.9f);
	EXPECT_EQ (first->get (kPredelayIndex), 0.9f);
	EXPECT_EQ (second->get (kPredelayIndex), secondBefore);
	EXPECT_NE (first->getChunk (), second->getChunk ());
}

TEST (Vst2Entry, CloseReleasesTheFactoryReference)
{
	std::string error;
	void* library = pluginLibrary (error);
	ASSERT_TRUE (library) << error;
	using GetFactory = IPluginFactory* (*) ();
	auto getFactory = reinterpret_cast<GetFactory> (dlsym (library, "GetPluginFactory"));
	ASSERT_TRUE (getFactory);
	IPluginFactory* factory = getFactory ();
	auto referencesNow = [factory] {
		uint32 count = factory->addRef ();
		factory->release ();
		return count;
	};
	const uint32 before = referencesNow ();
	{
		auto plugin = loadPlugin ();
		ASSERT_TRUE (plugin);
		plugin->resume (44100.f, 64);
		EXPECT_EQ (referencesNow (), before + 1) << "one reference per open instance";
	}
	EXPECT_EQ (referencesNow (), before);
	factory->release ();
}

} // namespace
