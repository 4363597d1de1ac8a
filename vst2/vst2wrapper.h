// Presents one VST 3 audio effect (component, processor and edit controller)
// to a VST 2.4 host through an AEffect.
#pragma once

#include "serializedcalls.h"
#include "vst2abi.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

#include <atomic>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace Steinberg {
namespace Vst {

class ParameterChanges;
class Vst2Editor;

class Vst2Wrapper final : public IComponentHandler, public IHostApplication
{
public:
	// Creates the class classID from factory and wraps it. Takes over the
	// caller's reference to factory (released before returning, also on
	// failure) and keeps a reference of its own until effClose. Returns
	// nullptr when factory or audioMaster is missing or the effect cannot be
	// created and initialized.
	static AEffect* create (IPluginFactory* factory, const TUID classID, VstInt32 vst2ID,
	                        audioMasterCallback audioMaster);

	// The wrapper behind an AEffect made by create, or nullptr.
	static Vst2Wrapper* fromEffect (AEffect* effect);

	// AEffect::object holds the wrapper as its IComponentHandler, so code
	// outside the module can reach it through FUnknown::queryInterface.
	AEffect* getAeffect () { return &effect; }
	IEditController* getController () const { return controller; }

	// IComponentHandler: edits reported by the effect go to the host.
	tresult PLUGIN_API beginEdit (ParamID id) SMTG_OVERRIDE;
	tresult PLUGIN_API performEdit (ParamID id, ParamValue valueNormalized) SMTG_OVERRIDE;
	tresult PLUGIN_API endEdit (ParamID id) SMTG_OVERRIDE;
	tresult PLUGIN_API restartComponent (int32 flags) SMTG_OVERRIDE;

	// IHostApplication
	tresult PLUGIN_API getName (String128 name) SMTG_OVERRIDE;
	tresult PLUGIN_API createInstance (TUID cid, TUID iid, void** obj) SMTG_OVERRIDE;

	// The wrapper lives from create to effClose; references do not own it.
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

	// Bytes a parameter name or display text may take in the host's buffer,
	// terminator included. See vst2wrapper.cpp for why the display is longer.
	static constexpr size_t kParamNameBytes = kVstMaxParamStrLen;
	static constexpr size_t kParamLabelBytes = kVstMaxParamStrLen;
	static constexpr size_t kParamDisplayBytes = 32;

private:
	// Latest value the host set for one parameter, read by the audio thread
	// (pendingForProcessor) and by the main thread (pendingForController);
	// and the value getParameter answers on any thread without reaching into
	// the controller.
	struct HostParameterSlot
	{
		std::atomic<float> value {0.f};
		std::atomic<bool> pendingForProcessor {false};
		std::atomic<bool> pendingForController {false};
		std::atomic<float> hostValue {0.f};
	};

	Vst2Wrapper (IPluginFactory* factory, audioMasterCallback audioMaster, VstInt32 vst2ID);
	~Vst2Wrapper ();
	Vst2Wrapper (const Vst2Wrapper&) = delete;
	Vst2Wrapper& operator= (const Vst2Wrapper&) = delete;

	bool init (const TUID classID);
	bool createController (const TUID classID);
	void readParameters ();
	void readBuses ();
	void readIdentity (const TUID classID);

	// AEffect entry points.
	static VstIntPtr dispatchCallback (AEffect* e, VstInt32 opcode, VstInt32 index,
	                                   VstIntPtr value, void* ptr, float opt);
	static void processReplacingCallback (AEffect* e, float** inputs, float** outputs,
	                                      VstInt32 frames);
	static void processDoubleReplacingCallback (AEffect* e, double** inputs, double** outputs,
	                                            VstInt32 frames);
	static void setParameterCallback (AEffect* e, VstInt32 index, float value);
	static float getParameterCallback (AEffect* e, VstInt32 index);

	VstIntPtr dispatch (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

	// Parameters.
	bool isValidIndex (VstInt32 index) const;
	int32 indexOf (ParamID id) const;
	void setParameter (VstInt32 index, float value);
	float getParameter (VstInt32 index) const;
	// Takes every hostValue from the controller again. Inside serialized.
	void refreshHostValues ();
	ParamValue currentValue (VstInt32 index) const;
	VstIntPtr getParameterName (VstInt32 index, char* text) const;
	VstIntPtr getParameterLabel (VstInt32 index, char* text) const;
	// One text field of a parameter's info, cut to the host's buffer size.
	VstIntPtr copyParameterText (VstInt32 index, String128 ParameterInfo::*field, char* text,
	                             size_t bytes) const;
	VstIntPtr getParameterDisplay (VstInt32 index, char* text) const;
	VstIntPtr getParameterProperties (VstInt32 index, VstParameterProperties* properties) const;
	VstIntPtr string2Parameter (VstInt32 index, const char* text);
	VstIntPtr canBeAutomated (VstInt32 index) const;
	VstIntPtr setBypass (bool bypass);
	void applyPendingToController ();
	void discardPendingValues ();

	// Processing.
	void resume ();
	void suspend ();
	VstIntPtr setProcessPrecision (VstIntPtr precision);
	VstIntPtr tailSize () const;
	template <typename Sample>
	void processBlock (Sample** inputs, Sample** outputs, VstInt32 frames, int32 sampleSize);
	void setChannelArrays (Sample32**& inputs, Sample32**& outputs);
	void setChannelArrays (Sample64**& inputs, Sample64**& outputs);
	template <typename Sample>
	void clearOutputs (Sample** outputs, VstInt32 frames) const;
	void collectHostParameterChanges ();
	void forwardOutputParameterChanges ();

	// Chunks.
	VstIntPtr getChunk (void** data);
	VstIntPtr setChunk (const void* data, VstIntPtr size);

	// Editor: the controller's view in the host's window.
	void makeEditor ();
	VstIntPtr editGetRect (ERect** rect);
	VstIntPtr editOpen (void* parentWindow);
	VstIntPtr editClose ();
	VstIntPtr editIdle ();
	VstIntPtr editKey (bool down, VstInt32 character, VstIntPtr virtualKey, float modifiers);

	VstIntPtr canDo (const char* feature) const;
	VstIntPtr pinProperties (bool input, VstInt32 index, VstPinProperties* properties) const;
	VstIntPtr setKnobMode (VstIntPtr mode);
	bool onMainThread () const { return std::this_thread::get_id () == mainThread.load (); }
	static bool isUserInterfaceCall (VstInt32 opcode);
	static bool mayComeFromAudioThread (VstInt32 opcode);
	VstIntPtr dispatchOpcode (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
	                          float opt);
	VstIntPtr callHost (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
	static bool isNotification (VstInt32 opcode);
	// Asks the host to read every parameter again, or, while a chunk loads, notes that
	// the chunk's one request is due.
	void requestDisplayUpdate ();

	AEffect effect {};
	audioMasterCallback audioMaster;
	IPluginFactory* factory;
	// The host's user-interface thread: where the adapter was made, or where
	// the host last opened the effect or called the chunks (a host may create
	// plug-ins on a worker thread and use them from another). Values it sets
	// reach the controller at once, others at the next serialized call.
	std::atomic<std::thread::id> mainThread;
	// The host hears from us only once VSTPluginMain has handed it the AEffect.
	std::atomic<bool> hostKnowsEffect {false};
	// Every call that reaches the controller or the editor, on any thread but the
	// audio thread, goes through here. Some hosts idle the editor from a thread of
	// their own (Ardour), so the editor's own edits and the host's calls meet here.
	SerializedCalls serialized;
	bool loadingChunk = false;
	bool displayUpdateDue = false;
	std::unique_ptr<Vst2Editor> editor;

	IComponent* component = nullptr;
	IAudioProcessor* processor = nullptr;
	IEditController* controller = nullptr;
	bool separateController = false;
	bool componentInitialized = false;
	bool controllerInitialized = false;
	bool componentsConnected = false;

	// Parameter i of the host is VST 3 parameter info index i.
	std::vector<ParamID> parameterIds;
	std::vector<std::pair<ParamID, int32>> indexById; // sorted by id
	std::unique_ptr<HostParameterSlot[]> slots;
	std::atomic<bool> anyPendingForProcessor {false};
	std::atomic<bool> anyPendingForController {false};
	int32 bypassIndex = -1;

	double sampleRate = 44100.;
	int32 maxBlockSize = 1024;
	int32 sampleSize = kSample32;
	int32 blockSizeInUse = 1024; // as given to setupProcessing
	bool resumed = false;
	std::atomic<bool> processing {false};

	// Everything process needs, made before the first block.
	ProcessData processData;
	AudioBusBuffers inputBus;
	AudioBusBuffers outputBus;
	int32 inputChannelCount = 0;
	int32 outputChannelCount = 0;
	std::vector<Sample32*> inputChannels32;
	std::vector<Sample32*> outputChannels32;
	std::vector<Sample64*> inputChannels64;
	std::vector<Sample64*> outputChannels64;
	std::unique_ptr<ParameterChanges> inputChanges;
	std::unique_ptr<ParameterChanges> outputChanges;
	char inputBusName[64] = {};
	char outputBusName[64] = {};

	char effectName[kVstMaxEffectNameLen] = {};
	char vendorName[kVstMaxVendorStrLen] = {};
	char productName[kVstMaxProductStrLen] = {};
	char programName[kVstMaxProgNameLen] = "Default";
	VstInt32 vendorVersion = 0;
	VstInt32 category = kPlugCategUnknown;

	std::vector<char> chunk; // the host reads it until the next effGetChunk
};

} // namespace Vst
} // namespace Steinberg

// Defined by the plug-in module.
extern bool InitModule ();
extern AEffect* createEffectInstance (audioMasterCallback audioMaster);

// The VST 2.4 entry point.
extern "C" __attribute__ ((visibility ("default"))) AEffect* VSTPluginMain (
    audioMasterCallback audioMaster);
