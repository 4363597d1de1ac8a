// The audio thread neither allocates nor locks nor sleeps: every process call into the
// built bundle, VST 3 and VST 2, 32 and 64 bit, runs inside a guarded section, across
// parameter changes, bypass toggles, restores handed over from another thread and
// sample-rate changes made while inactive. Setup and the host's own bookkeeping stay
// outside the sections.

#include "AudioThreadGuard.h"
#include "BundleFixture.h"
#include "ParameterChanges.h"
#include "vst2abi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <random>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const int32 kMaxBlock = 8192;
const ParamID kBypassParam = 19;
const double kRates[] = {22050.0, 44100.0, 48000.0, 96000.0, 192000.0, 384000.0};

struct GuardReport
{
	long count;
	const char* first;
};
GuardReport takeReport ()
{
	GuardReport report {AudioThreadGuard::violationCount (), AudioThreadGuard::firstViolation ()};
	AudioThreadGuard::reset ();
	return report;
}
#define EXPECT_AUDIO_THREAD_CLEAN(context)                                                         \
	do                                                                                             \
	{                                                                                              \
		GuardReport report = takeReport ();                                                        \
		EXPECT_EQ (report.count, 0) << (context) << ": first forbidden call "                      \
		                            << (report.first ? report.first : "?");                        \
	} while (0)

// Stereo input and output storage for the largest block, allocated once.
template <typename Sample>
struct Buffers
{
	std::vector<Sample> storage = std::vector<Sample> (4 * kMaxBlock);
	Sample* in[2] = {storage.data (), storage.data () + kMaxBlock};
	Sample* out[2] = {storage.data () + 2 * kMaxBlock, storage.data () + 3 * kMaxBlock};

	void fillNoise (std::mt19937& rng, int32 frames)
	{
		std::uniform_real_distribution<double> noise (-1.0, 1.0);
		for (int32 i = 0; i < frames; ++i)
		{
			in[0][i] = static_cast<Sample> (noise (rng));
			in[1][i] = static_cast<Sample> (noise (rng));
		}
	}
};

// A VST 3 process call made straight on the processor, so only the plug-in runs inside
// the guarded section.
class DirectProcess
{
public:
	DirectProcess (IAudioProcessor* processor, int32 sampleSize)
	    : processor (processor), inputChanges (32, 4), outputChanges (32, 16)
	{
		data.processMode = kRealtime;
		data.symbolicSampleSize = sampleSize;
		data.numInputs = 1;
		data.numOutputs = 1;
		data.inputs = &inputBus;
		data.outputs = &outputBus;
		data.inputParameterChanges = &inputChanges;
		data.outputParameterChanges = &outputChanges;
		data.processContext = &context;
		inputBus.numChannels = 2;
		outputBus.numChannels = 2;
	}

	ParameterChanges& changes () { return inputChanges; }

	void change (ParamID id, ParamValue value)
	{
		int32 index = 0;
		if (IParamValueQueue* queue = inputChanges.addParameterData (id, index))
			queue->addPoint (0, value, index);
	}

	template <typename Sample>
	void run (Sample** in, Sample** out, int32 frames, uint64 inputSilence)
	{
		setChannels (inputBus, in);
		setChannels (outputBus, out);
		inputBus.silenceFlags = inputSilence;
		outputBus.silenceFlags = 0;
		data.numSamples = frames;
		outputChanges.clear ();
		{
			AudioThreadGuard::Section section;
			processor->process (data);
		}
		inputChanges.clear ();
		context.projectTimeSamples += frames;
	}

private:
	static void setChannels (AudioBusBuffers& bus, float** channels) { bus.channelBuffers32 = channels; }
	static void setChannels (AudioBusBuffers& bus, double** channels) { bus.channelBuffers64 = channels; }

	IAudioProcessor* processor;
	ProcessData data;
	AudioBusBuffers inputBus;
	AudioBusBuffers outputBus;
	ParameterChanges inputChanges;
	ParameterChanges outputChanges;
	ProcessContext context {};
};

// One block with a random mix of what hosts send: random sizes (now and then the
// largest), random parameter values, bypass toggles, in-place buffers, flagged silence.
template <typename Sample>
void runHostileBlock (DirectProcess& process, Buffers<Sample>& buffers, std::mt19937& rng)
{
	std::uniform_int_distribution<int32> smallBlock (1, 1024);
	std::uniform_int_distribution<int> percent (0, 99);
	std::uniform_real_distribution<double> unit (0.0, 1.0);
	const int32 frames = percent (rng) < 5 ? kMaxBlock : smallBlock (rng);
	const int changeCount = percent (rng) % 8;
	for (int i = 0; i < changeCount; ++i)
		process.change (static_cast<ParamID> (percent (rng) % 28), unit (rng));
	if (percent (rng) < 15)
		process.change (kBypassParam, percent (rng) < 50 ? 1.0 : 0.0);
	if (percent (rng) < 3)
		process.change (1000, 0.5); // no such parameter
	const bool silent = percent (rng) < 20;
	if (!silent)
		buffers.fillNoise (rng, frames);
	Sample** out = percent (rng) < 30 ? buffers.in : buffers.out;
	process.run (buffers.in, out, frames, silent ? 3 : 0);
}

template <typename Sample>
void exerciseVst3 (int32 sampleSize)
{
	auto effect = QuillmereTest::newEffect ();
	ASSERT_TRUE (effect);
	ASSERT_EQ (effect->setupProcessing (44100.0, kMaxBlock, sampleSize), kResultOk);
	ASSERT_EQ (effect->setActive (true), kResultOk);
	effect->setProcessing (true);
	DirectProcess process (effect->processor (), sampleSize);
	Buffers<Sample> buffers;
	std::mt19937 rng (7);
	AudioThreadGuard::reset ();

	for (int block = 0; block < 200; ++block)
		runHostileBlock (process, buffers, rng);
	EXPECT_AUDIO_THREAD_CLEAN ("blocks with parameter changes and bypass toggles");

	// States saved now and restored from the main thread while the audio thread runs.
	std::vector<std::vector<uint8_t>> states (2);
	ASSERT_EQ (effect->getState (states[0]), kResultOk);
	ASSERT_EQ (effect->setParamNormalized (5, 0.9), kResultOk);
	ASSERT_EQ (effect->setParamNormalized (kBypassParam, 1.0), kResultOk);
	ASSERT_EQ (effect->getState (states[1]), kResultOk);
	std::atomic<bool> restoring {true};
	std::atomic<int> blocksDone {0};
	std::thread audioThread ([&] {
		std::mt19937 audioRng (11);
		while (restoring.load () || blocksDone.load () < 20)
		{
			runHostileBlock (process, buffers, audioRng);
			blocksDone.fetch_add (1);
		}
	});
	for (int restore = 0; restore < 40; ++restore)
	{
		EXPECT_EQ (effect->setState (states[restore % 2]), kResultOk);
		const int target = blocksDone.load () + 2;
		while (blocksDone.load () < target)
			std::this_thread::yield ();
		blocksDone.store (0);
	}
	restoring.store (false);
	audioThread.join ();
	EXPECT_AUDIO_THREAD_CLEAN ("blocks taking restored states");

	// New rates are set only while inactive; the first blocks after must be clean too.
	for (double rate : kRates)
	{
		effect->setProcessing (false);
		ASSERT_EQ (effect->setActive (false), kResultOk);
		ASSERT_EQ (effect->setupProcessing (rate, kMaxBlock, sampleSize), kResultOk);
		ASSERT_EQ (effect->setActive (true), kResultOk);
		effect->setProcessing (true);
		for (int block = 0; block < 10; ++block)
			runHostileBlock (process, buffers, rng);
	}
	EXPECT_AUDIO_THREAD_CLEAN ("blocks after sample-rate changes");
}

//------------------------------------------------------------------------ VST 2

// A host callback that answers without allocating, so whatever the plug-in asks of
// the host from its audio thread does not count against it.
VstIntPtr quietHost (AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
{
	if (opcode == audioMasterVersion)
		return 2400;
	if (opcode == audioMasterGetProductString && ptr)
	{
		std::strcpy (static_cast<char*> (ptr), "Guard");
		return 1;
	}
	return 0;
}

AEffect* openVst2 ()
{
	static void* library = dlopen (QUILLMERE_BUNDLE_SO, RTLD_NOW | RTLD_LOCAL);
	if (!library)
		return nullptr;
	auto entry = reinterpret_cast<AEffect* (*) (audioMasterCallback)> (dlsym (library, "VSTPluginMain"));
	AEffect* effect = entry ? entry (&quietHost) : nullptr;
	if (effect)
		effect->dispatcher (effect, effOpen, 0, 0, nullptr, 0.f);
	return effect;
}

void resumeVst2 (AEffect* effect, float rate, bool doublePrecision)
{
	effect->dispatcher (effect, effSetSampleRate, 0, 0, nullptr, rate);
	effect->dispatcher (effect, effSetBlockSize, 0, 1024, nullptr, 0.f);
	effect->dispatcher (effect, effSetProcessPrecision, 0,
	                    doublePrecision ? kVstProcessPrecision64 : kVstProcessPrecision32, nullptr,
	                    0.f);
	effect->dispatcher (effect, effMainsChanged, 0, 1, nullptr, 0.f);
}

void processVst2 (AEffect* effect, float** in, float** out, VstInt32 frames)
{
	effect->processReplacing (effect, in, out, frames);
}
void processVst2 (AEffect* effect, double** in, double** out, VstInt32 frames)
{
	effect->processDoubleReplacing (effect, in, out, frames);
}

// Blocks of any size (also past the block size the host announced, which the adapter
// splits), with automation set from the audio thread itself as VST 2 hosts do.
template <typename Sample>
void runVst2Block (AEffect* effect, Buffers<Sample>& buffers, std::mt19937& rng)
{
	std::uniform_int_distribution<int32> size (1, 3000);
	std::uniform_int_distribution<int> percent (0, 99);
	std::uniform_real_distribution<float> unit (0.f, 1.f);
	const int32 frames = size (rng);
	buffers.fillNoise (rng, frames);
	Sample** out = percent (rng) < 30 ? buffers.in : buffers.out;
	AudioThreadGuard::Section section;
	const int changeCount = percent (rng) % 6;
	for (int i = 0; i < changeCount; ++i)
		effect->setParameter (effect, percent (rng) % effect->numParams, unit (rng));
	processVst2 (effect, buffers.in, out, frames);
}

// The adapter tells the host's threads apart: values set on the thread that created
// the effect go to the controller at once, so the audio always runs on a thread of its own.
template <typename Work>
void onAudioThread (Work work)
{
	std::thread audioThread (work);
	audioThread.join ();
}

template <typename Sample>
void exerciseVst2 (bool doublePrecision)
{
	AEffect* effect = openVst2 ();
	ASSERT_NE (effect, nullptr);
	resumeVst2 (effect, 44100.f, doublePrecision);
	Buffers<Sample> buffers;
	std::mt19937 rng (5);
	AudioThreadGuard::reset ();
	onAudioThread ([&] {
		for (int block = 0; block < 150; ++block)
			runVst2Block (effect, buffers, rng);
	});
	EXPECT_AUDIO_THREAD_CLEAN ("VST 2 blocks with automation");

	// Chunks loaded on the main thread while the audio thread runs.
	void* chunkData = nullptr;
	const VstIntPtr chunkSize = effect->dispatcher (effect, effGetChunk, 0, 0, &chunkData, 0.f);
	ASSERT_GT (chunkSize, 0);
	std::vector<char> chunk (static_cast<const char*> (chunkData),
	                         static_cast<const char*> (chunkData) + chunkSize);
	std::atomic<bool> loading {true};
	std::thread audioThread ([&] {
		std::mt19937 audioRng (13);
		while (loading.load ())
			runVst2Block (effect, buffers, audioRng);
	});
	for (int load = 0; load < 30; ++load)
	{
		EXPECT_EQ (effect->dispatcher (effect, effSetChunk, 0, chunkSize, chunk.data (), 0.f), 1);
		std::this_thread::sleep_for (std::chrono::milliseconds (1));
	}
	loading.store (false);
	audioThread.join ();
	EXPECT_AUDIO_THREAD_CLEAN ("VST 2 blocks taking loaded chunks");

	for (double rate : kRates)
	{
		effect->dispatcher (effect, effMainsChanged, 0, 0, nullptr, 0.f);
		resumeVst2 (effect, static_cast<float> (rate), doublePrecision);
		onAudioThread ([&] {
			for (int block = 0; block < 8; ++block)
				runVst2Block (effect, buffers, rng);
		});
	}
	EXPECT_AUDIO_THREAD_CLEAN ("VST 2 blocks after sample-rate changes");
	effect->dispatcher (effect, effMainsChanged, 0, 0, nullptr, 0.f);
	effect->dispatcher (effect, effClose, 0, 0, nullptr, 0.f);
}

} // namespace

TEST (AudioThreadGuard, SeesAllocationsAndLocksInsideASectionOnly)
{
	AudioThreadGuard::reset ();
	std::vector<int> outside (100);
	EXPECT_EQ (AudioThreadGuard::violationCount (), 0);
	const int expected = AudioThreadGuard::provokeViolations ();
	EXPECT_EQ (AudioThreadGuard::violationCount (), expected);
	EXPECT_NE (AudioThreadGuard::firstViolation (), nullptr);
	AudioThreadGuard::reset ();
}

// The module's own allocations reach the guard too: its factory makes the effect with new.
TEST (AudioThreadGuard, SeesTheModulesAllocations)
{
	auto module = QuillmereTest::bundle ();
	ASSERT_TRUE (module);
	PClassInfo2 info;
	ASSERT_TRUE (module->findClass (kVstAudioEffectClass, info));
	AudioThreadGuard::reset ();
	FUnknown* instance = nullptr;
	{
		AudioThreadGuard::Section section;
		module->factory ()->createInstance (info.cid, FUnknown::iid, reinterpret_cast<void**> (&instance));
	}
	ASSERT_NE (instance, nullptr);
	EXPECT_GT (AudioThreadGuard::violationCount (), 0);
	instance->release ();
	AudioThreadGuard::reset ();
}

TEST (AudioThread, Vst3SinglePrecisionNeitherAllocatesNorLocks) { exerciseVst3<float> (kSample32); }
TEST (AudioThread, Vst3DoublePrecisionNeitherAllocatesNorLocks) { exerciseVst3<double> (kSample64); }
TEST (AudioThread, Vst2ProcessReplacingNeitherAllocatesNorLocks) { exerciseVst2<float> (false); }
TEST (AudioThread, Vst2ProcessDoubleReplacingNeitherAllocatesNorLocks) { exerciseVst2<double> (true); }
