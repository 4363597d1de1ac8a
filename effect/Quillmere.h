#pragma once
// The effect: audio processor and edit controller in one object. It owns the reverb engine
// by value, keeps every setting in its settings block, and drives the engine from it.

#include "AudioSideChanges.h"
#include "ReverbEngine.h"
#include "SettingsBlock.h"
#include "SettingsHandoff.h"
#include "singlecomponenteffect.h"

#include <atomic>
#include <vector>

namespace Steinberg {
namespace Vst {

class QuillmereEditorView;
struct PresetValues;

class Quillmere : public SingleComponentEffect
{
public:
	Quillmere ();

	static FUnknown* createInstance (void* context);

	// IPluginBase
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	tresult PLUGIN_API terminate () SMTG_OVERRIDE;

	// IAudioProcessor / IComponent
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) SMTG_OVERRIDE;
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
	                                       SpeakerArrangement* outputs,
	                                       int32 numOuts) SMTG_OVERRIDE;
	tresult PLUGIN_API canProcessSampleSize (int32 symbolicSampleSize) SMTG_OVERRIDE;
	tresult PLUGIN_API setActive (TBool state) SMTG_OVERRIDE;
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE;
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE;
	tresult PLUGIN_API setState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API getState (IBStream* state) SMTG_OVERRIDE;

	// IEditController
	tresult PLUGIN_API setParamNormalized (ParamID tag, ParamValue value) SMTG_OVERRIDE;
	tresult PLUGIN_API setComponentHandler (IComponentHandler* handler) SMTG_OVERRIDE;
	tresult PLUGIN_API setComponentState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API getParameterInfo (int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;
	tresult PLUGIN_API getParamStringByValue (ParamID tag, ParamValue valueNormalized,
	                                          String128 string) SMTG_OVERRIDE;
	tresult PLUGIN_API getParamValueByString (ParamID tag, TChar* string,
	                                          ParamValue& valueNormalized) SMTG_OVERRIDE;
	IPlugView* PLUGIN_API createView (FIDString name) SMTG_OVERRIDE;
	tresult PLUGIN_API setKnobMode (KnobMode mode) SMTG_OVERRIDE;
	void editorAttached (EditorView* editor) SMTG_OVERRIDE;
	void editorRemoved (EditorView* editor) SMTG_OVERRIDE;

	// Stores a value from the host's parameter queues and drives the engine. Audio thread.
	void applyParameterChange (ParamID id, ParamValue value);
	// Pushes a whole settings block into the engine.
	void applySettingsToEngine (const SettingsBlock& block);

	// Writes one factory preset into parameters 0 to 25, as edits.
	void applyPreset (const PresetValues& preset);

	// The settings as the main thread sees them, with everything the audio thread applied.
	SettingsBlock currentSettings ();

	// Editor fields: only the editor reads and writes them; none is saved with the state.
	bool presetLock = false;
	int32 presetIndex = 0;
	int32 skin = 1;

	const std::vector<QuillmereEditorView*>& openEditors () const { return editorViews; }
	// Editor ticks: tells the host of a restore it was not told of during the call.
	void sendDeferredHostUpdate ();

	OBJ_METHODS (Quillmere, SingleComponentEffect)

private:
	// Converts one setting and calls its engine setter; shared by both appliers.
	void driveEngine (ParamID id, ParamValue value);
	// An equaliser band's frequency, kept clear of the engine's Nyquist frequency.
	double eqFrequency (double hz) const;
	void registerParameters ();
	void showSettingsInParameters (const SettingsBlock& block);
	// Main thread: takes in what the audio thread applied since the newest restore.
	void foldAudioSideChanges ();
	// Asks the host to read every parameter's value again. Main thread.
	void tellHostValuesChanged ();
	template <typename Sample>
	void processAudio (ProcessData& data);

	static constexpr int32 kChunkFrames = 256;

	double inputFrame[2] {};
	double outputFrame[2] {};
	ReverbEngine engine;
	SettingsBlock settings;
	double clampedSampleRate = 44100.0;
	std::vector<QuillmereEditorView*> editorViews;

	// Audio-thread side: its own view of the global bypass, and block-sized scratch.
	bool processingBypass = false;
	double scratchLeft[kChunkFrames] {};
	double scratchRight[kChunkFrames] {};

	AudioSideChanges audioSideChanges;
	SettingsHandoff<SettingsBlock> restoredSettings;
	std::atomic<bool> active {false};
	// A restore the host has not yet been told of (see setState).
	std::atomic<bool> hostUpdateDue {false};
};

} // namespace Vst
} // namespace Steinberg
