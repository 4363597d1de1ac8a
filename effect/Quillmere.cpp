#include "Quillmere.h"

#include "../editor/QuillmereEditorView.h"
#include "LogMapping.h"
#include "ParameterTable.h"
#include "QuillmereIds.h"
#include "StateStream.h"
#include "TextScan.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {
const double kMinSampleRate = 44000.0;
const double kMaxSampleRate = 192000.0;
const double kTailSeconds = 25.0;
// The equaliser's top frequency, 22000 Hz, is the Nyquist frequency of the lowest engine
// rate: a band designed there has a double pole at -1 and rings up for minutes. Below
// 44100 Hz the bands keep to the fraction of the rate that 22000 Hz is at 44100 Hz.
const double kMaxEqFrequencyPerRate = 22000.0 / 44100.0;

bool isTwoChannels (SpeakerArrangement arrangement)
{
	return SpeakerArr::getChannelCount (arrangement) == 2;
}

// Narrowing for the host: values too small for a normal float become zero, so no
// subnormal ever reaches a 32-bit output (an inaudible change, far below -700 dBFS), and
// values too large for a float stay at its largest rather than becoming infinite.
inline void narrow (double value, float& out)
{
	const double largest = static_cast<double> (FLT_MAX);
	out = std::fabs (value) < static_cast<double> (FLT_MIN)
	          ? 0.0f
	          : static_cast<float> (std::min (std::max (value, -largest), largest));
}
inline void narrow (double value, double& out) { out = value; }

template <typename Sample>
Sample** channelBuffers (AudioBusBuffers& bus);
template <>
float** channelBuffers<float> (AudioBusBuffers& bus) { return bus.channelBuffers32; }
template <>
double** channelBuffers<double> (AudioBusBuffers& bus) { return bus.channelBuffers64; }
} // namespace

Quillmere::Quillmere () : settings (SettingsBlock::defaults ())
{
	processingBypass = settings.bypass;
	applySettingsToEngine (settings);
	// Equaliser changes glide while sound passes: a preset or a restored state must not
	// make the bands ring.
	engine.setEqGlide (true);
}

FUnknown* Quillmere::createInstance (void*)
{
	return static_cast<IAudioProcessor*> (new Quillmere ());
}

//------------------------------------------------------------------------ setup

tresult PLUGIN_API Quillmere::initialize (FUnknown* context)
{
	tresult result = SingleComponentEffect::initialize (context);
	if (result != kResultOk)
		return result;
	addAudioInput (STR16 ("Stereo In"), SpeakerArr::kStereo);
	addAudioOutput (STR16 ("Stereo Out"), SpeakerArr::kStereo);
	registerParameters ();
	showSettingsInParameters (settings);
	setKnobMode (kLinearMode);
	return kResultOk;
}

tresult PLUGIN_API Quillmere::terminate ()
{
	editorViews.clear ();
	return SingleComponentEffect::terminate ();
}

tresult PLUGIN_API Quillmere::setupProcessing (ProcessSetup& setup)
{
	clampedSampleRate = std::min (std::max (setup.sampleRate, kMinSampleRate), kMaxSampleRate);
	if (!(clampedSampleRate == clampedSampleRate))
		clampedSampleRate = 44100.0; // a NaN rate from a broken host
	engine.setSampleRate (clampedSampleRate);
	const SettingsBlock current = currentSettings ();
	for (ParamID id : {kLowShelfFrequencyId, kPeakFrequencyId, kHighShelfFrequencyId})
		driveEngine (id, current.normalized (id)); // their ceiling follows the rate
	return SingleComponentEffect::setupProcessing (setup);
}

tresult PLUGIN_API Quillmere::setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
                                                  SpeakerArrangement* outputs, int32 numOuts)
{
	if (numIns != 1 || numOuts != 1 || !inputs || !outputs)
		return kResultFalse;
	if (audioInputs.empty () || !FCast<AudioBus> (audioInputs.at (0).get ()))
		return kResultFalse;
	const bool accepted = isTwoChannels (inputs[0]) && isTwoChannels (outputs[0]);
	removeAudioBusses ();
	addAudioInput (STR16 ("Stereo In"), accepted ? inputs[0] : SpeakerArr::kStereo);
	addAudioOutput (STR16 ("Stereo Out"), accepted ? outputs[0] : SpeakerArr::kStereo);
	return accepted ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API Quillmere::canProcessSampleSize (int32 symbolicSampleSize)
{
	return (symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64) ? kResultTrue
	                                                                              : kResultFalse;
}

tresult PLUGIN_API Quillmere::setActive (TBool state)
{
	if (!state)
		engine.reset ();
	active.store (state != 0, std::memory_order_release);
	return kResultOk;
}

uint32 PLUGIN_API Quillmere::getTailSamples ()
{
	return static_cast<uint32> (clampedSampleRate * kTailSeconds);
}

//------------------------------------------------------------------------ settings to engine

double Quillmere::eqFrequency (double hz) const
{
	return std::min (hz, engine.getSampleRate () * kMaxEqFrequencyPerRate);
}

void Quillmere::driveEngine (ParamID id, ParamValue v)
{
	const ParameterSpec* row = findParameterSpec (id);
	if (!row)
		return;
	const EngineInput& input = row->engine;
	double value = v;
	switch (input.conversion)
	{
		case EngineConversion::kNone: return;
		case EngineConversion::kEntryNumber:
			(engine.*input.entry) (SettingsBlock::listIndex (v, listEntries (*row)) + 1);
			return;
		case EngineConversion::kOnOff: (engine.*input.onOff) (v > 0.5); return;
		case EngineConversion::kAsIs: break;
		case EngineConversion::kSquared: value = v * v; break;
		case EngineConversion::kHertz: value = logToPlain (row->min, row->max, v); break;
		case EngineConversion::kEqHertz: value = eqFrequency (logToPlain (row->min, row->max, v)); break;
	}
	if (input.band)
		(engine.*input.band) (input.bandIndex, value);
	else
		(engine.*input.number) (value);
}

void Quillmere::applyParameterChange (ParamID id, ParamValue value)
{
	if (id > kLastSettingId || !std::isfinite (value))
		return;
	// Normalized values live in 0 to 1; a host sending more must not overdrive the engine,
	// and the saved state must read back as it was written.
	value = std::min (std::max (value, 0.0), 1.0);
	if (id == kBypassId)
		processingBypass = value > 0.5;
	driveEngine (id, value);
	audioSideChanges.record (id, value, restoredSettings.takenGeneration ());
}

void Quillmere::applySettingsToEngine (const SettingsBlock& block)
{
	// Ascending ids are the engine's documented setter order.
	for (ParamID id = 0; id <= kLastSettingId; ++id)
		driveEngine (id, block.normalized (id));
}

void Quillmere::foldAudioSideChanges ()
{
	audioSideChanges.foldInto (settings, restoredSettings.newestGeneration ());
}

SettingsBlock Quillmere::currentSettings ()
{
	foldAudioSideChanges ();
	return settings;
}

//------------------------------------------------------------------------ process

tresult PLUGIN_API Quillmere::process (ProcessData& data)
{
	if (const SettingsBlock* restored = restoredSettings.takeNewest ())
	{
		applySettingsToEngine (*restored);
		processingBypass = restored->bypass;
	}

	if (IParameterChanges* changes = data.inputParameterChanges)
	{
		const int32 count = changes->getParameterCount ();
		for (int32 i = 0; i < count; ++i)
		{
			IParamValueQueue* queue = changes->getParameterData (i);
			if (!queue)
				continue;
			// Only the last point counts: the whole block runs with the final values.
			int32 sampleOffset = 0;
			ParamValue value = 0.0;
			if (queue->getPoint (queue->getPointCount () - 1, sampleOffset, value) == kResultTrue)
				applyParameterChange (queue->getParameterId (), value);
		}
	}

	if (data.numInputs == 0 || data.numOutputs == 0 || !data.inputs || !data.outputs ||
	    data.numSamples <= 0)
		return kResultOk;

	if (data.symbolicSampleSize == kSample64)
		processAudio<double> (data);
	else
		processAudio<float> (data);
	return kResultOk;
}

template <typename Sample>
void Quillmere::processAudio (ProcessData& data)
{
	AudioBusBuffers& in = data.inputs[0];
	AudioBusBuffers& out = data.outputs[0];
	Sample** inputs = channelBuffers<Sample> (in);
	Sample** outputs = channelBuffers<Sample> (out);
	const int32 numFrames = data.numSamples;
	// A negative channel count from a careless host means no channels.
	const int32 numIn = inputs ? std::max (in.numChannels, 0) : 0;
	const int32 numOut = outputs ? std::max (out.numChannels, 0) : 0;

	// A single input channel feeds both sides; missing channels count as silence.
	const Sample* sourceLeft = numIn > 0 ? inputs[0] : nullptr;
	const Sample* sourceRight = numIn > 1 ? inputs[1] : sourceLeft;
	const uint64 silentMask = numIn > 1 ? 3 : 1;
	const bool inputSilent = !sourceLeft || !sourceRight || (in.silenceFlags & silentMask) == silentMask;
	const uint64 allOutputsSilent = numOut >= 64 ? ~uint64 (0) : ((uint64 (1) << numOut) - 1);

	if (processingBypass)
	{
		// The engine keeps its state so the tail resumes when bypass is lifted.
		for (int32 c = 0; c < numOut; ++c)
		{
			Sample* target = outputs[c];
			const Sample* source = c == 0 ? sourceLeft : sourceRight;
			if (!target || target == source)
				continue;
			if (source)
				std::memcpy (target, source, sizeof (Sample) * numFrames);
			else
				std::memset (target, 0, sizeof (Sample) * numFrames);
		}
		out.silenceFlags = inputSilent ? allOutputsSilent : 0;
		return;
	}

	if (inputSilent && engine.isIdle ())
	{
		// The tail has died away: nothing to compute.
		for (int32 c = 0; c < numOut; ++c)
			if (outputs[c])
				std::memset (outputs[c], 0, sizeof (Sample) * numFrames);
		out.silenceFlags = allOutputsSilent;
		return;
	}

	Sample* targetLeft = numOut > 0 ? outputs[0] : nullptr;
	Sample* targetRight = numOut > 1 ? outputs[1] : nullptr;
	for (int32 start = 0; start < numFrames; start += kChunkFrames)
	{
		const int32 frames = std::min (kChunkFrames, numFrames - start);
		if (inputSilent)
		{
			std::fill (scratchLeft, scratchLeft + frames, 0.0);
			std::fill (scratchRight, scratchRight + frames, 0.0);
		}
		else
		{
			for (int32 i = 0; i < frames; ++i)
			{
				scratchLeft[i] = sourceLeft[start + i];
				scratchRight[i] = sourceRight[start + i];
			}
		}
		engine.processBlock (scratchLeft, scratchRight, scratchLeft, scratchRight, frames);
		if (targetLeft)
			for (int32 i = 0; i < frames; ++i)
				narrow (scratchLeft[i], targetLeft[start + i]);
		if (targetRight)
			for (int32 i = 0; i < frames; ++i)
				narrow (scratchRight[i], targetRight[start + i]);
	}
	out.silenceFlags = 0;
}

//------------------------------------------------------------------------ state

tresult PLUGIN_API Quillmere::getState (IBStream* state)
{
	return writeState (state, currentSettings ()) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API Quillmere::setState (IBStream* state)
{
	SettingsBlock restored = settings;
	if (!readState (state, restored))
		return kResultFalse;

	// The audio thread takes the block at the start of its next block, so no setter ever
	// overlaps a frame; an inactive effect takes it at once, for hosts that never process.
	// What the audio thread applies before taking it is then dropped from the settings, as
	// the restore replaces it in the engine.
	settings = restored;
	restoredSettings.publish (restored);
	if (!active.load (std::memory_order_acquire))
		applySettingsToEngine (restored);
	showSettingsInParameters (restored);
	// Calling the host back from inside its own restore can deadlock it (Ardour holds a
	// lock around preset loading that its restartComponent takes again). A host that
	// follows with setComponentState reads the values itself; for any other, the news
	// waits for the next editor tick.
	hostUpdateDue.store (true, std::memory_order_relaxed);
	return kResultOk;
}

tresult PLUGIN_API Quillmere::setComponentState (IBStream* state)
{
	// Component and controller are one object, so the component's state is ours already:
	// the stream is only checked, never applied a second time.
	SettingsBlock check = settings;
	if (!readState (state, check))
		return kResultFalse;
	// Right after a restore the host reads the values on its own. Otherwise the host is
	// bringing a fresh controller in step (Ardour does on insert) and is told what plays.
	if (!hostUpdateDue.exchange (false, std::memory_order_relaxed))
		tellHostValuesChanged ();
	return kResultOk;
}

void Quillmere::sendDeferredHostUpdate ()
{
	if (hostUpdateDue.exchange (false, std::memory_order_relaxed))
		tellHostValuesChanged ();
}

//------------------------------------------------------------------------ controller

tresult PLUGIN_API Quillmere::setParamNormalized (ParamID tag, ParamValue value)
{
	if (!std::isfinite (value))
		return kResultFalse;
	tresult result = SingleComponentEffect::setParamNormalized (tag, value);
	if (tag <= kLastSettingId)
	{
		foldAudioSideChanges ();
		settings.store (tag, std::min (std::max (value, 0.0), 1.0));
	}
	// The list may change while editors are told, so re-read its length each step.
	for (size_t i = 0; i < editorViews.size (); ++i)
		if (QuillmereEditorView* view = editorViews[i])
			view->updateParameter (tag, value);
	return result;
}

tresult PLUGIN_API Quillmere::setComponentHandler (IComponentHandler* handler)
{
	const tresult result = SingleComponentEffect::setComponentHandler (handler);
	// The host shows the parameter-info defaults until told; what plays is the settings.
	tellHostValuesChanged ();
	return result;
}

void Quillmere::tellHostValuesChanged ()
{
	if (componentHandler)
		componentHandler->restartComponent (kParamValuesChanged);
}

tresult PLUGIN_API Quillmere::getParameterInfo (int32 paramIndex, ParameterInfo& info)
{
	// The container would throw for an index past its end; a host gets a refusal instead.
	if (paramIndex < 0 || paramIndex >= getParameterCount ())
		return kResultFalse;
	return SingleComponentEffect::getParameterInfo (paramIndex, info);
}

// The SDK's text conversions can throw on malformed UTF-16; nothing may leave the module
// as an exception.
tresult PLUGIN_API Quillmere::getParamStringByValue (ParamID tag, ParamValue valueNormalized,
                                                     String128 string)
{
	if (!string)
		return kInvalidArgument;
	try
	{
		// Hosts send anything; out of range, the SDK's number printing overruns the text.
		return SingleComponentEffect::getParamStringByValue (tag, clampNormalized (valueNormalized),
		                                                     string);
	}
	catch (...)
	{
		string[0] = 0;
		return kResultFalse;
	}
}

tresult PLUGIN_API Quillmere::getParamValueByString (ParamID tag, TChar* string,
                                                     ParamValue& valueNormalized)
{
	if (!string)
		return kInvalidArgument;
	try
	{
		ParamValue parsed = 0.0;
		const tresult result = SingleComponentEffect::getParamValueByString (tag, string, parsed);
		if (result != kResultOk)
			return result;
		if (!std::isfinite (parsed))
			return kResultFalse;
		// The switches parse with the SDK's plain parameter, which takes any number as the
		// normalized value ("5" would give 5).
		valueNormalized = std::min (std::max (parsed, 0.0), 1.0);
		return kResultOk;
	}
	catch (...)
	{
		return kResultFalse;
	}
}

IPlugView* PLUGIN_API Quillmere::createView (FIDString name)
{
	if (!name || std::strcmp (name, "editor") != 0)
		return nullptr;
	return new QuillmereEditorView (this);
}

tresult PLUGIN_API Quillmere::setKnobMode (KnobMode mode)
{
	if (mode != kLinearMode)
		return kResultFalse;
	return SingleComponentEffect::setKnobMode (mode);
}

void Quillmere::editorAttached (EditorView* editor)
{
	if (auto* view = dynamic_cast<QuillmereEditorView*> (editor))
		editorViews.push_back (view);
}

void Quillmere::editorRemoved (EditorView* editor)
{
	auto* view = dynamic_cast<QuillmereEditorView*> (editor);
	if (!view)
		return;
	auto found = std::find (editorViews.begin (), editorViews.end (), view);
	if (found != editorViews.end ())
		editorViews.erase (found);
}

void Quillmere::showSettingsInParameters (const SettingsBlock& block)
{
	for (ParamID id : kSettingsOrder)
		setParamNormalized (id, block.normalized (id));
}

} // namespace Vst
} // namespace Steinberg
