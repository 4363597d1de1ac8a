// One effect created through a module's factory and driven the way a DAW
// drives it: initialize, set up, activate, process blocks, save and restore
// state, and talk to its edit controller. Call everything from one thread.
#pragma once

#include "ComponentHandlerRecorder.h"
#include "ParameterChanges.h"
#include "PluginModule.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Steinberg {
namespace Vst {
class HostApplication;
}
} // namespace Steinberg

namespace QuillmereHost {

std::string toUtf8 (const Steinberg::Vst::TChar* text);
void toString128 (const std::string& utf8, Steinberg::Vst::String128 out);

class EffectInstance
{
public:
	// Creates the first class of category "Audio Module Class" (or the given
	// class), initializes it with a host context and installs the recorder
	// as component handler. Returns nullptr with a message on failure.
	static std::unique_ptr<EffectInstance> create (std::shared_ptr<PluginModule> module,
	                                               std::string& error);
	static std::unique_ptr<EffectInstance> create (std::shared_ptr<PluginModule> module,
	                                               const Steinberg::TUID classId,
	                                               std::string& error);
	// Stops processing, deactivates, terminates and releases everything.
	~EffectInstance ();

	EffectInstance (const EffectInstance&) = delete;
	EffectInstance& operator= (const EffectInstance&) = delete;

	Steinberg::Vst::IComponent* component () const { return comp; }
	Steinberg::Vst::IAudioProcessor* processor () const { return audioProcessor; }
	Steinberg::Vst::IEditController* controller () const { return editController; }
	bool hasSeparateController () const { return separateController; }
	ComponentHandlerRecorder& handler () { return recorder; }

	// --- audio setup ---
	Steinberg::tresult setupProcessing (double sampleRate, Steinberg::int32 maxBlockSize,
	                                    Steinberg::int32 sampleSize = Steinberg::Vst::kSample32,
	                                    Steinberg::int32 processMode = Steinberg::Vst::kRealtime);
	Steinberg::tresult setBusArrangements (
	    std::vector<Steinberg::Vst::SpeakerArrangement> inputs,
	    std::vector<Steinberg::Vst::SpeakerArrangement> outputs);
	Steinberg::tresult setActive (bool state);
	Steinberg::tresult setProcessing (bool state);

	// Runs one block on the first input and output bus. inputs == nullptr
	// (or outputs == nullptr) passes no bus at all; the channel counts may
	// be below the bus width, and inputs may equal outputs (in place).
	// The sample type must match the sample size given to setupProcessing.
	Steinberg::tresult process (float* const* inputs, Steinberg::int32 numInputChannels,
	                            float* const* outputs, Steinberg::int32 numOutputChannels,
	                            Steinberg::int32 numSamples,
	                            Steinberg::Vst::IParameterChanges* changes = nullptr,
	                            Steinberg::uint64 inputSilenceFlags = 0,
	                            Steinberg::uint64* outputSilenceFlags = nullptr);
	Steinberg::tresult process (double* const* inputs, Steinberg::int32 numInputChannels,
	                            double* const* outputs, Steinberg::int32 numOutputChannels,
	                            Steinberg::int32 numSamples,
	                            Steinberg::Vst::IParameterChanges* changes = nullptr,
	                            Steinberg::uint64 inputSilenceFlags = 0,
	                            Steinberg::uint64* outputSilenceFlags = nullptr);
	// What the plug-in wrote into the last block's output changes.
	Steinberg::Vst::ParameterChanges& outputChanges () { return outputParameterChanges; }

	// --- parameters (through the edit controller) ---
	Steinberg::int32 parameterCount () const;
	std::optional<Steinberg::Vst::ParameterInfo> parameterInfo (Steinberg::int32 index) const;
	std::optional<Steinberg::Vst::ParameterInfo> findParameterById (Steinberg::Vst::ParamID id) const;
	std::optional<Steinberg::Vst::ParameterInfo> findParameterByTitle (const std::string& title) const;
	Steinberg::Vst::ParamValue getParamNormalized (Steinberg::Vst::ParamID id) const;
	Steinberg::tresult setParamNormalized (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value);
	// Value text as UTF-8; empty when the controller refuses.
	std::string valueToText (Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) const;
	Steinberg::tresult textToValue (Steinberg::Vst::ParamID id, const std::string& text,
	                                Steinberg::Vst::ParamValue& value) const;
	Steinberg::Vst::ParamValue normalizedToPlain (Steinberg::Vst::ParamID id,
	                                             Steinberg::Vst::ParamValue value) const;
	Steinberg::Vst::ParamValue plainToNormalized (Steinberg::Vst::ParamID id,
	                                             Steinberg::Vst::ParamValue plain) const;

	// --- state (the component's stream; a separate controller is told too) ---
	Steinberg::tresult getState (std::vector<std::uint8_t>& bytes);
	Steinberg::tresult setState (const std::vector<std::uint8_t>& bytes);

private:
	EffectInstance () = default;
	template <typename Sample>
	Steinberg::tresult processBlock (Sample* const* inputs, Steinberg::int32 numInputChannels,
	                                 Sample* const* outputs, Steinberg::int32 numOutputChannels,
	                                 Steinberg::int32 numSamples,
	                                 Steinberg::Vst::IParameterChanges* changes,
	                                 Steinberg::uint64 inputSilenceFlags,
	                                 Steinberg::uint64* outputSilenceFlags);
	void connectParts (bool connect);

	std::shared_ptr<PluginModule> module; // keeps the code loaded while we exist
	// The SDK's host context counts no references: we own it and drop it
	// only after the plug-in has been terminated.
	std::unique_ptr<Steinberg::Vst::HostApplication> hostContext;
	Steinberg::Vst::IComponent* comp = nullptr;
	Steinberg::Vst::IAudioProcessor* audioProcessor = nullptr;
	Steinberg::Vst::IEditController* editController = nullptr;
	bool separateController = false;
	bool active = false;
	bool processing = false;
	Steinberg::Vst::ProcessSetup setup {Steinberg::Vst::kRealtime, Steinberg::Vst::kSample32, 0, 44100.0};
	Steinberg::Vst::ProcessContext context {};
	Steinberg::Vst::ParameterChanges outputParameterChanges;
	ComponentHandlerRecorder recorder;
};

} // namespace QuillmereHost
