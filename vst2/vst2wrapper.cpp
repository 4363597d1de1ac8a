#include "vst2wrapper.h"

#include "vst2editor.h"
#include "vst2text.h"

#include "ParameterChanges.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "public.sdk/source/common/memorystream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace Steinberg {
namespace Vst {

// Names and labels keep to the 8 bytes the VST 2.4 interface documents.
// Display texts get 32 bytes: at 8 the list entries "Variation 10" to
// "Variation 12" would all read "Variati". 32 is what hosts provide in
// practice (the SDK's own adapter writes that much too); a host with a
// strict 8-byte buffer is not known to us.
static_assert (Vst2Wrapper::kParamDisplayBytes == 32, "see above before changing");

namespace {

constexpr VstIntPtr kVstVersion = 2400;
constexpr int32 kMaxPointsPerOutputQueue = 16;

// "2.0.2.0" -> 2020, the usual VST 2 way of writing a version as a number.
VstInt32 versionNumberOf (const char* text)
{
	int parts[4] = {0, 0, 0, 0};
	std::sscanf (text, "%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]);
	for (int i = 1; i < 4; ++i)
		parts[i] = std::clamp (parts[i], 0, 9);
	return std::max (parts[0], 0) * 1000 + parts[1] * 100 + parts[2] * 10 + parts[3];
}

VstInt32 categoryOf (const char* subCategories)
{
	struct Match
	{
		const char* word;
		VstInt32 category;
	};
	static const Match matches[] = {
	    {"Reverb", kPlugCategRoomFx},        {"Instrument", kPlugCategSynth},
	    {"Analyzer", kPlugCategAnalysis},    {"Mastering", kPlugCategMastering},
	    {"Spatial", kPlugCategSpacializer},  {"Restoration", kPlugCategRestoration},
	    {"Generator", kPlugCategGenerator},  {"Fx", kPlugCategEffect},
	};
	for (const Match& match : matches)
		if (std::strstr (subCategories, match.word))
			return match.category;
	return kPlugCategUnknown;
}

int64 readInt64LittleEndian (const unsigned char* bytes)
{
	uint64 value = 0;
	for (int i = 7; i >= 0; --i)
		value = (value << 8) | bytes[i];
	return static_cast<int64> (value);
}

void writeInt64LittleEndian (int64 value, char* bytes)
{
	auto bits = static_cast<uint64> (value);
	for (int i = 0; i < 8; ++i)
		bytes[i] = static_cast<char> ((bits >> (8 * i)) & 0xFF);
}

// A channel the host left out (null) stays out of every piece of a block.
template <typename Sample>
Sample* pieceOf (Sample* channel, VstInt32 offset)
{
	return channel ? channel + offset : nullptr;
}

// Releases the reference a caller handed over, however create ends.
struct ReferenceHandover
{
	FUnknown* object;
	~ReferenceHandover ()
	{
		if (object)
			object->release ();
	}
};

} // namespace

//------------------------------------------------------------------------
// Creation and teardown
//------------------------------------------------------------------------
AEffect* Vst2Wrapper::create (IPluginFactory* factory, const TUID classID, VstInt32 vst2ID,
                              audioMasterCallback audioMaster)
{
	ReferenceHandover callersReference {factory};
	if (!factory || !classID || !audioMaster)
		return nullptr;
	auto* wrapper = new Vst2Wrapper (factory, audioMaster, vst2ID);
	if (!wrapper->init (classID))
	{
		delete wrapper;
		return nullptr;
	}
	// Nothing runs between here and VSTPluginMain's return: from now on the host
	// may hear from us (before, it might not know the AEffect it would be told about).
	wrapper->hostKnowsEffect.store (true);
	return wrapper->getAeffect ();
}

Vst2Wrapper* Vst2Wrapper::fromEffect (AEffect* e)
{
	if (!e || e->magic != kEffectMagic || e->dispatcher != &Vst2Wrapper::dispatchCallback)
		return nullptr;
	return static_cast<Vst2Wrapper*> (static_cast<IComponentHandler*> (e->object));
}

Vst2Wrapper::Vst2Wrapper (IPluginFactory* factory, audioMasterCallback audioMaster,
                          VstInt32 vst2ID)
: audioMaster (audioMaster), factory (factory), mainThread (std::this_thread::get_id ()),
  serialized ([this] (const SerializedCalls::Notification& notification) {
	  callHost (notification.opcode, notification.index, notification.value, nullptr,
	            notification.opt);
  })
{
	factory->addRef ();
	effect.magic = kEffectMagic;
	effect.dispatcher = &Vst2Wrapper::dispatchCallback;
	effect.process = &Vst2Wrapper::processReplacingCallback;
	effect.setParameter = &Vst2Wrapper::setParameterCallback;
	effect.getParameter = &Vst2Wrapper::getParameterCallback;
	effect.processReplacing = &Vst2Wrapper::processReplacingCallback;
	effect.processDoubleReplacing = &Vst2Wrapper::processDoubleReplacingCallback;
	effect.numPrograms = 1;
	effect.ioRatio = 1.f;
	effect.object = static_cast<IComponentHandler*> (this);
	effect.uniqueID = vst2ID;
	effect.flags = effFlagsCanReplacing | effFlagsProgramChunks;
}

Vst2Wrapper::~Vst2Wrapper ()
{
	// The view goes before the controller it belongs to.
	editor.reset ();
	if (resumed)
		suspend ();
	if (componentsConnected)
	{
		FUnknownPtr<IConnectionPoint> componentPoint (component);
		FUnknownPtr<IConnectionPoint> controllerPoint (controller);
		componentPoint->disconnect (controllerPoint);
		controllerPoint->disconnect (componentPoint);
	}
	if (controller)
	{
		controller->setComponentHandler (nullptr);
		if (controllerInitialized)
			controller->terminate ();
		controller->release ();
	}
	if (componentInitialized)
		component->terminate ();
	if (processor)
		processor->release ();
	if (component)
		component->release ();
	factory->release ();
}

bool Vst2Wrapper::init (const TUID classID)
{
	if (factory->createInstance (classID, IComponent::iid, reinterpret_cast<void**> (&component)) !=
	        kResultOk ||
	    !component)
	{
		component = nullptr;
		return false;
	}
	if (component->queryInterface (IAudioProcessor::iid, reinterpret_cast<void**> (&processor)) !=
	        kResultOk ||
	    !processor)
	{
		processor = nullptr;
		return false;
	}
	componentInitialized = true;
	if (component->initialize (static_cast<IHostApplication*> (this)) != kResultOk)
	{
		componentInitialized = false;
		return false;
	}
	if (!createController (classID))
		return false;
	controller->setComponentHandler (this);

	if (processor->canProcessSampleSize (kSample64) == kResultTrue)
		effect.flags |= effFlagsCanDoubleReplacing;
	effect.initialDelay = static_cast<VstInt32> (processor->getLatencySamples ());

	readParameters ();
	readBuses ();
	readIdentity (classID);
	makeEditor ();
	return true;
}

// A single-component effect is its own controller; otherwise the factory
// makes the controller the component names, and the two are connected.
bool Vst2Wrapper::createController (const TUID classID)
{
	if (component->queryInterface (IEditController::iid, reinterpret_cast<void**> (&controller)) ==
	        kResultOk &&
	    controller)
		return true;
	controller = nullptr;

	TUID controllerClass;
	if (component->getControllerClassId (controllerClass) != kResultOk ||
	    factory->createInstance (controllerClass, IEditController::iid,
	                             reinterpret_cast<void**> (&controller)) != kResultOk ||
	    !controller)
	{
		controller = nullptr;
		return false;
	}
	separateController = true;
	controllerInitialized = true;
	if (controller->initialize (static_cast<IHostApplication*> (this)) != kResultOk)
	{
		controllerInitialized = false;
		return false;
	}
	FUnknownPtr<IConnectionPoint> componentPoint (component);
	FUnknownPtr<IConnectionPoint> controllerPoint (controller);
	if (componentPoint && controllerPoint)
	{
		componentPoint->connect (controllerPoint);
		controllerPoint->connect (componentPoint);
		componentsConnected = true;
	}
	MemoryStream state;
	if (component->getState (&state) == kResultOk)
	{
		state.seek (0, IBStream::kIBSeekSet, nullptr);
		controller->setComponentState (&state);
	}
	return true;
}

void Vst2Wrapper::readParameters ()
{
	int32 count = std::max (controller->getParameterCount (), 0);
	parameterIds.resize (static_cast<size_t> (count));
	for (int32 i = 0; i < count; ++i)
	{
		ParameterInfo info {};
		if (controller->getParameterInfo (i, info) != kResultOk)
			info.id = std::numeric_limits<ParamID>::max ();
		parameterIds[static_cast<size_t> (i)] = info.id;
		indexById.emplace_back (info.id, i);
		if ((info.flags & ParameterInfo::kIsBypass) && bypassIndex < 0)
			bypassIndex = i;
	}
	std::sort (indexById.begin (), indexById.end ());
	slots.reset (new HostParameterSlot[static_cast<size_t> (count)]);
	refreshHostValues ();
	effect.numParams = count;
	inputChanges.reset (new ParameterChanges (std::max (count, 1), 1));
	outputChanges.reset (new ParameterChanges (std::max (count, 1), kMaxPointsPerOutputQueue));
}

void Vst2Wrapper::readBuses ()
{
	auto readMainBus = [this] (BusDirection direction, char* name, size_t nameBytes) {
		if (component->getBusCount (kAudio, direction) <= 0)
			return 0;
		BusInfo info {};
		if (component->getBusInfo (kAudio, direction, 0, info) != kResultOk)
			return 0;
		component->activateBus (kAudio, direction, 0, true);
		copyUtf16ToUtf8 (info.name, name, nameBytes);
		return std::max (info.channelCount, 0);
	};
	inputChannelCount = readMainBus (kInput, inputBusName, sizeof (inputBusName));
	outputChannelCount = readMainBus (kOutput, outputBusName, sizeof (outputBusName));
	effect.numInputs = inputChannelCount;
	effect.numOutputs = outputChannelCount;

	inputChannels32.assign (static_cast<size_t> (inputChannelCount), nullptr);
	outputChannels32.assign (static_cast<size_t> (outputChannelCount), nullptr);
	inputChannels64.assign (static_cast<size_t> (inputChannelCount), nullptr);
	outputChannels64.assign (static_cast<size_t> (outputChannelCount), nullptr);
	inputBus.numChannels = inputChannelCount;
	outputBus.numChannels = outputChannelCount;
	processData.processMode = kRealtime;
	processData.inputs = &inputBus;
	processData.outputs = &outputBus;
	processData.inputParameterChanges = inputChanges.get ();
	processData.outputParameterChanges = outputChanges.get ();
}

void Vst2Wrapper::readIdentity (const TUID classID)
{
	PFactoryInfo factoryInfo {};
	if (factory->getFactoryInfo (&factoryInfo) == kResultOk)
		copyUtf8Limited (factoryInfo.vendor, vendorName, sizeof (vendorName));

	const char* name = nullptr;
	FUnknownPtr<IPluginFactory2> factory2 (factory);
	PClassInfo2 info2 {};
	PClassInfo info {};
	for (int32 i = 0; i < factory->countClasses () && !name; ++i)
	{
		if (factory2 && factory2->getClassInfo2 (i, &info2) == kResultOk &&
		    std::memcmp (info2.cid, classID, sizeof (TUID)) == 0)
		{
			name = info2.name;
			if (info2.vendor[0])
				copyUtf8Limited (info2.vendor, vendorName, sizeof (vendorName));
			vendorVersion = versionNumberOf (info2.version);
			category = categoryOf (info2.subCategories);
		}
		else if (!factory2 && factory->getClassInfo (i, &info) == kResultOk &&
		         std::memcmp (info.cid, classID, sizeof (TUID)) == 0)
			name = info.name;
	}
	if (name)
	{
		copyUtf8Limited (name, effectName, sizeof (effectName));
		copyUtf8Limited (name, productName, sizeof (productName));
	}
	effect.version = vendorVersion;
}

//------------------------------------------------------------------------
// AEffect entry points
//------------------------------------------------------------------------
VstIntPtr Vst2Wrapper::dispatchCallback (AEffect* e, VstInt32 opcode, VstInt32 index,
                                         VstIntPtr value, void* ptr, float opt)
{
	Vst2Wrapper* wrapper = fromEffect (e);
	if (!wrapper)
		return 0;
	if (opcode == effClose)
	{
		// A call still running on another thread (an idle) ends first.
		{
			SerializedCalls::Scope finishing (wrapper->serialized);
		}
		delete wrapper;
		return 1;
	}
	return wrapper->dispatch (opcode, index, value, ptr, opt);
}

void Vst2Wrapper::processReplacingCallback (AEffect* e, float** inputs, float** outputs,
                                            VstInt32 frames)
{
	if (Vst2Wrapper* wrapper = fromEffect (e))
		wrapper->processBlock (inputs, outputs, frames, kSample32);
}

void Vst2Wrapper::processDoubleReplacingCallback (AEffect* e, double** inputs, double** outputs,
                                                  VstInt32 frames)
{
	if (Vst2Wrapper* wrapper = fromEffect (e))
		wrapper->processBlock (inputs, outputs, frames, kSample64);
}

void Vst2Wrapper::setParameterCallback (AEffect* e, VstInt32 index, float value)
{
	if (Vst2Wrapper* wrapper = fromEffect (e))
		wrapper->setParameter (index, value);
}

float Vst2Wrapper::getParameterCallback (AEffect* e, VstInt32 index)
{
	Vst2Wrapper* wrapper = fromEffect (e);
	return wrapper ? wrapper->getParameter (index) : 0.f;
}

VstIntPtr Vst2Wrapper::dispatch (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt)
{
	if (opcode == effEditIdle)
		return editIdle ();
	if (mayComeFromAudioThread (opcode))
		return dispatchOpcode (opcode, index, value, ptr, opt);
	SerializedCalls::Scope inside (serialized);
	if (isUserInterfaceCall (opcode))
		mainThread.store (std::this_thread::get_id ());
	// Values the host set from another thread reach the controller here.
	applyPendingToController ();
	return dispatchOpcode (opcode, index, value, ptr, opt);
}

VstIntPtr Vst2Wrapper::dispatchOpcode (VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                       void* ptr, float opt)
{
	char* text = static_cast<char*> (ptr);
	switch (opcode)
	{
		case effGetProgram: return 0;
		case effSetProgramName:
			if (!text)
				return 0;
			copyUtf8Limited (text, programName, sizeof (programName));
			return 1;
		case effGetProgramName:
			if (!text)
				return 0;
			copyUtf8Limited (programName, text, kVstMaxProgNameLen);
			return 1;
		case effGetProgramNameIndexed:
			if (!text || index != 0)
				return 0;
			copyUtf8Limited (programName, text, kVstMaxProgNameLen);
			return 1;
		case effGetParamLabel: return getParameterLabel (index, text);
		case effGetParamDisplay: return getParameterDisplay (index, text);
		case effGetParamName: return getParameterName (index, text);
		case effGetParameterProperties:
			return getParameterProperties (index, static_cast<VstParameterProperties*> (ptr));
		case effCanBeAutomated: return canBeAutomated (index);
		case effString2Parameter: return string2Parameter (index, text);
		case effSetSampleRate:
			if (opt > 0.f)
				sampleRate = opt;
			return 0;
		case effSetBlockSize:
			if (value > 0 && value <= std::numeric_limits<int32>::max ())
				maxBlockSize = static_cast<int32> (value);
			return 0;
		case effMainsChanged:
			if (value)
				resume ();
			else
				suspend ();
			return 0;
		case effSetProcessPrecision: return setProcessPrecision (value);
		case effGetTailSize: return tailSize ();
		case effSetBypass: return setBypass (value != 0);
		case effGetChunk: return getChunk (static_cast<void**> (ptr));
		case effSetChunk: return setChunk (ptr, value);
		case effEditGetRect: return editGetRect (static_cast<ERect**> (ptr));
		case effEditOpen: return editOpen (ptr);
		case effEditClose: return editClose ();
		case effEditKeyDown: return editKey (true, index, value, opt);
		case effEditKeyUp: return editKey (false, index, value, opt);
		case effSetEditKnobMode: return setKnobMode (value);
		case effGetInputProperties:
			return pinProperties (true, index, static_cast<VstPinProperties*> (ptr));
		case effGetOutputProperties:
			return pinProperties (false, index, static_cast<VstPinProperties*> (ptr));
		case effGetPlugCategory: return category;
		case effGetEffectName:
			if (!text)
				return 0;
			copyUtf8Limited (effectName, text, kVstMaxEffectNameLen);
			return 1;
		case effGetVendorString:
			if (!text)
				return 0;
			copyUtf8Limited (vendorName, text, kVstMaxVendorStrLen);
			return 1;
		case effGetProductString:
			if (!text)
				return 0;
			copyUtf8Limited (productName, text, kVstMaxProductStrLen);
			return 1;
		case effGetVendorVersion: return vendorVersion;
		case effCanDo: return canDo (text);
		case effGetVstVersion: return kVstVersion;
		default: return 0;
	}
}

// Calls that only a host's user-interface thread makes. Not the editor's: Ardour
// opens, idles and closes it from an event-loop thread of its own.
bool Vst2Wrapper::isUserInterfaceCall (VstInt32 opcode)
{
	switch (opcode)
	{
		case effOpen:
		case effGetChunk:
		case effSetChunk: return true;
		default: return false;
	}
}

// Calls some hosts make from the audio thread, which never waits for a lock. None
// of them reaches the controller except through setParameter, which sees to itself.
bool Vst2Wrapper::mayComeFromAudioThread (VstInt32 opcode)
{
	switch (opcode)
	{
		case effProcessEvents:
		case effStartProcess:
		case effStopProcess:
		case effSetBypass: return true;
		default: return false;
	}
}

VstIntPtr Vst2Wrapper::callHost (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt)
{
	if (!hostKnowsEffect.load ())
		return 0;
	if (isNotification (opcode) && serialized.hold ({opcode, index, value, opt}))
		return 0;
	return audioMaster (&effect, opcode, index, value, ptr, opt);
}

// What we tell the host without asking anything back (no pointer, no answer used).
bool Vst2Wrapper::isNotification (VstInt32 opcode)
{
	switch (opcode)
	{
		case audioMasterAutomate:
		case audioMasterBeginEdit:
		case audioMasterEndEdit:
		case audioMasterUpdateDisplay:
		case audioMasterIOChanged:
		case audioMasterSizeWindow: return true;
		default: return false;
	}
}

void Vst2Wrapper::requestDisplayUpdate ()
{
	if (loadingChunk)
		displayUpdateDue = true;
	else
		callHost (audioMasterUpdateDisplay, 0, 0, nullptr, 0.f);
}

//------------------------------------------------------------------------
// Parameters
//------------------------------------------------------------------------
bool Vst2Wrapper::isValidIndex (VstInt32 index) const
{
	return index >= 0 && index < static_cast<VstInt32> (parameterIds.size ());
}

// Binary search: the audio thread uses it too, so no map and no allocation.
int32 Vst2Wrapper::indexOf (ParamID id) const
{
	auto found = std::lower_bound (indexById.begin (), indexById.end (),
	                               std::make_pair (id, std::numeric_limits<int32>::min ()));
	return (found != indexById.end () && found->first == id) ? found->second : -1;
}

// May come from any thread: the audio thread sees the value through the
// slot at its next block, the controller at once on the main thread and
// otherwise at the next main-thread call.
void Vst2Wrapper::setParameter (VstInt32 index, float value)
{
	if (!isValidIndex (index) || std::isnan (value))
		return;
	value = std::clamp (value, 0.f, 1.f);
	HostParameterSlot& slot = slots[static_cast<size_t> (index)];
	slot.value.store (value);
	slot.hostValue.store (value);
	slot.pendingForProcessor.store (true);
	anyPendingForProcessor.store (true);
	if (onMainThread ())
	{
		SerializedCalls::Scope inside (serialized);
		slot.pendingForController.store (false);
		controller->setParamNormalized (parameterIds[static_cast<size_t> (index)], value);
	}
	else
	{
		slot.pendingForController.store (true);
		anyPendingForController.store (true);
	}
}

ParamValue Vst2Wrapper::currentValue (VstInt32 index) const
{
	const HostParameterSlot& slot = slots[static_cast<size_t> (index)];
	if (slot.pendingForController.load ())
		return slot.value.load ();
	return controller->getParamNormalized (parameterIds[static_cast<size_t> (index)]);
}

// Any thread, the audio thread too: the controller may be busy with the
// editor on another one.
float Vst2Wrapper::getParameter (VstInt32 index) const
{
	return isValidIndex (index) ? slots[static_cast<size_t> (index)].hostValue.load () : 0.f;
}

void Vst2Wrapper::refreshHostValues ()
{
	for (size_t i = 0; i < parameterIds.size (); ++i)
		slots[i].hostValue.store (static_cast<float> (currentValue (static_cast<VstInt32> (i))));
}

void Vst2Wrapper::applyPendingToController ()
{
	if (!anyPendingForController.exchange (false))
		return;
	for (size_t i = 0; i < parameterIds.size (); ++i)
		if (slots[i].pendingForController.exchange (false))
			controller->setParamNormalized (parameterIds[i], slots[i].value.load ());
}

void Vst2Wrapper::discardPendingValues ()
{
	anyPendingForProcessor.store (false);
	anyPendingForController.store (false);
	for (size_t i = 0; i < parameterIds.size (); ++i)
	{
		slots[i].pendingForProcessor.store (false);
		slots[i].pendingForController.store (false);
	}
}

VstIntPtr Vst2Wrapper::getParameterName (VstInt32 index, char* text) const
{
	return copyParameterText (index, &ParameterInfo::title, text, kParamNameBytes);
}

VstIntPtr Vst2Wrapper::getParameterLabel (VstInt32 index, char* text) const
{
	return copyParameterText (index, &ParameterInfo::units, text, kParamLabelBytes);
}

VstIntPtr Vst2Wrapper::copyParameterText (VstInt32 index, String128 ParameterInfo::*field, char* text,
                                          size_t bytes) const
{
	if (!text)
		return 0;
	text[0] = 0;
	ParameterInfo info {};
	if (!isValidIndex (index) || controller->getParameterInfo (index, info) != kResultOk)
		return 0;
	copyUtf16ToUtf8 (info.*field, text, bytes);
	return 1;
}

VstIntPtr Vst2Wrapper::getParameterDisplay (VstInt32 index, char* text) const
{
	if (!text)
		return 0;
	text[0] = 0;
	if (!isValidIndex (index))
		return 0;
	String128 display {};
	if (controller->getParamStringByValue (parameterIds[static_cast<size_t> (index)],
	                                       currentValue (index), display) != kResultOk)
		return 0;
	display[127] = 0;
	copyUtf16ToUtf8 (display, text, kParamDisplayBytes);
	return 1;
}

// The full title, which the 8-byte name cuts short; a step count of 1 is a
// switch, a larger one a list of that many steps.
VstIntPtr Vst2Wrapper::getParameterProperties (VstInt32 index,
                                               VstParameterProperties* properties) const
{
	ParameterInfo info {};
	if (!properties || !isValidIndex (index) ||
	    controller->getParameterInfo (index, info) != kResultOk)
		return 0;
	std::memset (properties, 0, sizeof (VstParameterProperties));
	copyUtf16ToUtf8 (info.title, properties->label, sizeof (properties->label));
	copyUtf16ToUtf8 (info.shortTitle[0] ? info.shortTitle : info.title, properties->shortLabel,
	                 sizeof (properties->shortLabel));
	if (info.stepCount == 1)
		properties->flags = kVstParameterIsSwitch;
	else if (info.stepCount > 1)
	{
		properties->flags = kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;
		properties->maxInteger = info.stepCount;
		properties->stepInteger = 1;
		properties->largeStepInteger = 1;
	}
	return 1;
}

VstIntPtr Vst2Wrapper::string2Parameter (VstInt32 index, const char* text)
{
	if (!text || !isValidIndex (index))
		return 0;
	String128 entry {};
	copyUtf8ToUtf16 (text, entry, 128);
	ParamValue value = 0.;
	if (controller->getParamValueByString (parameterIds[static_cast<size_t> (index)], entry,
	                                       value) != kResultOk)
		return 0;
	setParameter (index, static_cast<float> (value));
	return 1;
}

VstIntPtr Vst2Wrapper::canBeAutomated (VstInt32 index) const
{
	ParameterInfo info {};
	if (!isValidIndex (index) || controller->getParameterInfo (index, info) != kResultOk)
		return 0;
	return (info.flags & ParameterInfo::kCanAutomate) ? 1 : 0;
}

VstIntPtr Vst2Wrapper::setBypass (bool bypass)
{
	if (bypassIndex < 0)
		return 0;
	setParameter (bypassIndex, bypass ? 1.f : 0.f);
	return 1;
}

//------------------------------------------------------------------------
// IComponentHandler
//------------------------------------------------------------------------
tresult PLUGIN_API Vst2Wrapper::beginEdit (ParamID id)
{
	int32 index = indexOf (id);
	if (index < 0)
		return kInvalidArgument;
	callHost (audioMasterBeginEdit, index, 0, nullptr, 0.f);
	return kResultOk;
}

// The controller already holds the value; the processor gets it with the
// next block, as a VST 3 host would hand it back.
tresult PLUGIN_API Vst2Wrapper::performEdit (ParamID id, ParamValue valueNormalized)
{
	int32 index = indexOf (id);
	if (index < 0)
		return kInvalidArgument;
	auto value = static_cast<float> (std::clamp (valueNormalized, 0., 1.));
	HostParameterSlot& slot = slots[static_cast<size_t> (index)];
	slot.value.store (value);
	slot.hostValue.store (value);
	slot.pendingForProcessor.store (true);
	anyPendingForProcessor.store (true);
	callHost (audioMasterAutomate, index, 0, nullptr, value);
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::endEdit (ParamID id)
{
	int32 index = indexOf (id);
	if (index < 0)
		return kInvalidArgument;
	callHost (audioMasterEndEdit, index, 0, nullptr, 0.f);
	return kResultOk;
}

tresult PLUGIN_API Vst2Wrapper::restartComponent (int32 flags)
{
	if (flags & kLatencyChanged)
	{
		effect.initialDelay = static_cast<VstInt32> (processor->getLatencySamples ());
		callHost (audioMasterIOChanged, 0, 0, nullptr, 0.f);
	}
	if (flags & (kParamValuesChanged | kParamTitlesChanged))
	{
		refreshHostValues ();
		requestDisplayUpdate ();
	}
	return kResultOk;
}

//------------------------------------------------------------------------
// IHostApplication
//------------------------------------------------------------------------
tresult PLUGIN_API Vst2Wrapper::getName (String128 name)
{
	char product[kVstMaxProductStrLen + 1] = {};
	if (!name || !callHost (audioMasterGetProductString, 0, 0, product, 0.f))
		return kResultFalse;
	product[kVstMaxProductStrLen] = 0;
	copyUtf8ToUtf16 (product, name, 128);
	return kResultOk;
}

// We offer no host objects (messages, attribute lists).
tresult PLUGIN_API Vst2Wrapper::createInstance (TUID, TUID, void** obj)
{
	if (obj)
		*obj = nullptr;
	return kResultFalse;
}

tresult PLUGIN_API Vst2Wrapper::queryInterface (const TUID iid, void** obj)
{
	if (!obj)
		return kInvalidArgument;
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IHostApplication::iid, IHostApplication)
	*obj = nullptr;
	return kNoInterface;
}

//------------------------------------------------------------------------
// Processing
//------------------------------------------------------------------------
void Vst2Wrapper::resume ()
{
	if (resumed)
		return;
	ProcessSetup setup {kRealtime, sampleSize, maxBlockSize, sampleRate};
	if (processor->setupProcessing (setup) != kResultOk)
		return;
	processData.symbolicSampleSize = sampleSize;
	blockSizeInUse = maxBlockSize;
	component->setActive (true);
	processor->setProcessing (true); // kNotImplemented is fine
	resumed = true;
	processing.store (true);
}

void Vst2Wrapper::suspend ()
{
	if (!resumed)
		return;
	processing.store (false);
	processor->setProcessing (false);
	component->setActive (false);
	resumed = false;
}

// Only while suspended: the precision is part of the next setupProcessing.
VstIntPtr Vst2Wrapper::setProcessPrecision (VstIntPtr precision)
{
	int32 wanted;
	if (precision == kVstProcessPrecision32)
		wanted = kSample32;
	else if (precision == kVstProcessPrecision64)
		wanted = kSample64;
	else
		return 0;
	if (resumed || processor->canProcessSampleSize (wanted) != kResultTrue)
		return 0;
	sampleSize = wanted;
	return 1;
}

VstIntPtr Vst2Wrapper::tailSize () const
{
	uint32 tail = processor->getTailSamples ();
	if (tail == kNoTail)
		return 1; // VST 2 reads 0 as "unknown", 1 as "no tail"
	return static_cast<VstIntPtr> (std::min<uint32> (tail, std::numeric_limits<int32>::max ()));
}

// Points the bus buffers at the arrays of the block's precision.
void Vst2Wrapper::setChannelArrays (Sample32**& inputs, Sample32**& outputs)
{
	inputs = inputBus.channelBuffers32 = inputChannels32.data ();
	outputs = outputBus.channelBuffers32 = outputChannels32.data ();
}

void Vst2Wrapper::setChannelArrays (Sample64**& inputs, Sample64**& outputs)
{
	inputs = inputBus.channelBuffers64 = inputChannels64.data ();
	outputs = outputBus.channelBuffers64 = outputChannels64.data ();
}

template <typename Sample>
void Vst2Wrapper::clearOutputs (Sample** outputs, VstInt32 frames) const
{
	for (int32 c = 0; c < outputChannelCount; ++c)
		if (outputs[c])
			std::fill (outputs[c], outputs[c] + frames, Sample (0));
}

// Audio thread: no allocation, no lock, no system call. A block longer than
// the size given to setupProcessing runs in pieces; host parameter changes
// go with the first piece.
template <typename Sample>
void Vst2Wrapper::processBlock (Sample** inputs, Sample** outputs, VstInt32 frames,
                                int32 blockSampleSize)
{
	if (!outputs || frames <= 0)
		return;
	if (!processing.load () || blockSampleSize != processData.symbolicSampleSize)
	{
		clearOutputs (outputs, frames);
		return;
	}
	Sample** inputPointers = nullptr;
	Sample** outputPointers = nullptr;
	setChannelArrays (inputPointers, outputPointers);
	processData.numInputs = (inputs && inputChannelCount > 0) ? 1 : 0;
	processData.numOutputs = outputChannelCount > 0 ? 1 : 0;

	collectHostParameterChanges ();
	for (VstInt32 done = 0; done < frames;)
	{
		VstInt32 pieceLength = std::min (frames - done, blockSizeInUse);
		for (int32 c = 0; c < inputChannelCount && inputs; ++c)
			inputPointers[c] = pieceOf (inputs[c], done);
		for (int32 c = 0; c < outputChannelCount; ++c)
			outputPointers[c] = pieceOf (outputs[c], done);
		inputBus.silenceFlags = 0;
		outputBus.silenceFlags = 0;
		processData.numSamples = pieceLength;
		outputChanges->clear ();
		processor->process (processData);
		forwardOutputParameterChanges ();
		inputChanges->clear ();
		done += pieceLength;
	}
}

void Vst2Wrapper::collectHostParameterChanges ()
{
	inputChanges->clear ();
	if (!anyPendingForProcessor.exchange (false))
		return;
	for (size_t i = 0; i < parameterIds.size (); ++i)
	{
		if (!slots[i].pendingForProcessor.exchange (false))
			continue;
		int32 queueIndex = 0;
		int32 pointIndex = 0;
		if (IParamValueQueue* queue = inputChanges->addParameterData (parameterIds[i], queueIndex))
			queue->addPoint (0, slots[i].value.load (), pointIndex);
	}
}

// Values the effect reports from process (meters, for instance) reach the
// controller at the next main-thread call.
void Vst2Wrapper::forwardOutputParameterChanges ()
{
	for (int32 q = 0; q < outputChanges->getParameterCount (); ++q)
	{
		IParamValueQueue* queue = outputChanges->getParameterData (q);
		int32 offset = 0;
		ParamValue value = 0.;
		if (!queue || queue->getPoint (queue->getPointCount () - 1, offset, value) != kResultTrue)
			continue;
		int32 index = indexOf (queue->getParameterId ());
		if (index < 0)
			continue;
		HostParameterSlot& slot = slots[static_cast<size_t> (index)];
		slot.value.store (static_cast<float> (value));
		slot.hostValue.store (static_cast<float> (value));
		slot.pendingForController.store (true);
		anyPendingForController.store (true);
	}
}

//------------------------------------------------------------------------
// Chunks: int64 component size, int64 controller size (little-endian),
// component state, controller state. In a single-component effect both
// getState calls are one and the same method, the component's, so the
// controller part stays empty and a controller part in a loaded chunk is
// not handed to it.
//------------------------------------------------------------------------
VstIntPtr Vst2Wrapper::getChunk (void** data)
{
	if (!data)
		return 0;
	*data = nullptr;
	MemoryStream componentState;
	MemoryStream controllerState;
	if (component->getState (&componentState) != kResultOk)
		return 0;
	int64 componentSize = componentState.getSize ();
	int64 controllerSize = 0;
	if (separateController && controller->getState (&controllerState) == kResultOk)
		controllerSize = controllerState.getSize ();

	chunk.resize (static_cast<size_t> (16 + componentSize + controllerSize));
	writeInt64LittleEndian (componentSize, chunk.data ());
	writeInt64LittleEndian (controllerSize, chunk.data () + 8);
	if (componentSize > 0)
		std::memcpy (chunk.data () + 16, componentState.getData (),
		             static_cast<size_t> (componentSize));
	if (controllerSize > 0)
		std::memcpy (chunk.data () + 16 + componentSize, controllerState.getData (),
		             static_cast<size_t> (controllerSize));
	*data = chunk.data ();
	return static_cast<VstIntPtr> (chunk.size ());
}

// Refuses, changing nothing, unless the two sizes account for every byte.
VstIntPtr Vst2Wrapper::setChunk (const void* data, VstIntPtr size)
{
	if (!data || size < 16)
		return 0;
	auto* bytes = static_cast<const unsigned char*> (data);
	int64 componentSize = readInt64LittleEndian (bytes);
	int64 controllerSize = readInt64LittleEndian (bytes + 8);
	int64 payload = static_cast<int64> (size) - 16;
	if (componentSize < 0 || controllerSize < 0 || componentSize > payload ||
	    controllerSize != payload - componentSize)
		return 0;

	// However many times the effect asks during the load, the host hears it once.
	struct ChunkLoad
	{
		Vst2Wrapper& wrapper;
		explicit ChunkLoad (Vst2Wrapper& wrapper) : wrapper (wrapper) { wrapper.loadingChunk = true; }
		~ChunkLoad ()
		{
			wrapper.loadingChunk = false;
			if (std::exchange (wrapper.displayUpdateDue, false))
				wrapper.requestDisplayUpdate ();
		}
	} load (*this);

	auto* componentBytes = const_cast<unsigned char*> (bytes + 16);
	MemoryStream componentState (componentBytes, componentSize);
	if (component->setState (&componentState) != kResultOk)
		return 0;
	// The controller is brought in step as a VST 3 host would, also when it is the
	// component itself: that closes the restore on its side, and the one display update
	// below is all the host hears of it (a later one would mark the host's song changed).
	MemoryStream forController (componentBytes, componentSize);
	controller->setComponentState (&forController);
	if (separateController)
	{
		if (controllerSize > 0)
		{
			MemoryStream controllerState (componentBytes + componentSize, controllerSize);
			controller->setState (&controllerState);
		}
	}
	// Values the host set before the chunk must not overwrite it.
	discardPendingValues ();
	refreshHostValues ();
	requestDisplayUpdate ();
	return 1;
}

//------------------------------------------------------------------------
// Editor. The view lives from creation to effClose, so its size is known
// before the first open and after a close. Everything it does with X and
// with its frame happens inside effEditOpen, effEditIdle and effEditClose,
// one call at a time (serialized).
//------------------------------------------------------------------------
void Vst2Wrapper::makeEditor ()
{
	editor = std::make_unique<Vst2Editor> (controller, [this] (int32 width, int32 height) {
		return callHost (audioMasterSizeWindow, width, height, nullptr, 0.f) != 0;
	});
	if (editor->exists ())
		effect.flags |= effFlagsHasEditor;
	else
		editor.reset ();
}

VstIntPtr Vst2Wrapper::editGetRect (ERect** rect)
{
	if (!rect)
		return 0;
	*rect = nullptr;
	if (!editor)
		return 0;
	*rect = const_cast<ERect*> (editor->rect ());
	return 1;
}

// The host's Display* (in value) is not ours to use: the window opens its own
// connection.
VstIntPtr Vst2Wrapper::editOpen (void* parentWindow)
{
	return editor && editor->open (parentWindow) ? 1 : 0;
}

VstIntPtr Vst2Wrapper::editClose ()
{
	if (!editor || !editor->isOpen ())
		return 0;
	editor->close ();
	return 1;
}

// From whichever thread the host idles on. A tick that would wait for another
// call is skipped; the next one catches up.
VstIntPtr Vst2Wrapper::editIdle ()
{
	if (!editor)
		return 0;
	SerializedCalls::Scope inside (serialized, std::try_to_lock);
	if (!inside.entered ())
		return 0;
	applyPendingToController ();
	editor->idle ();
	return 1;
}

VstIntPtr Vst2Wrapper::editKey (bool down, VstInt32 character, VstIntPtr virtualKey,
                                float modifiers)
{
	if (!editor)
		return 0;
	bool used = down ? editor->keyDown (character, virtualKey, modifiers)
	                 : editor->keyUp (character, virtualKey, modifiers);
	return used ? 1 : 0;
}

VstIntPtr Vst2Wrapper::setKnobMode (VstIntPtr mode)
{
	FUnknownPtr<IEditController2> controller2 (controller);
	if (!controller2 || mode < 0 || mode > 2)
		return 0;
	static const KnobMode modes[] = {kCircularMode, kRelativCircularMode, kLinearMode};
	return controller2->setKnobMode (modes[mode]) == kResultTrue ? 1 : 0;
}

//------------------------------------------------------------------------
// Host queries
//------------------------------------------------------------------------
VstIntPtr Vst2Wrapper::canDo (const char* feature) const
{
	if (!feature)
		return 0;
	if (std::strcmp (feature, "bypass") == 0)
		return bypassIndex >= 0 ? 1 : -1;
	static const char* const unsupported[] = {
	    "sendVstEvents",    "sendVstMidiEvent",        "receiveVstEvents",
	    "receiveVstMidiEvent", "receiveVstTimeInfo",   "offline",
	    "midiProgramNames", "midiKeyBasedInstrumentControl", "midiSingleNoteTuningChange",
	};
	for (const char* name : unsupported)
		if (std::strcmp (feature, name) == 0)
			return -1;
	return 0;
}

VstIntPtr Vst2Wrapper::pinProperties (bool input, VstInt32 index,
                                      VstPinProperties* properties) const
{
	int32 channelCount = input ? inputChannelCount : outputChannelCount;
	if (!properties || index < 0 || index >= channelCount)
		return 0;
	std::memset (properties, 0, sizeof (VstPinProperties));
	char text[96];
	std::snprintf (text, sizeof (text), "%s %d", input ? inputBusName : outputBusName,
	               static_cast<int> (index + 1));
	copyUtf8Limited (text, properties->label, sizeof (properties->label));
	std::snprintf (text, sizeof (text), "%s%d", input ? "In" : "Out", static_cast<int> (index + 1));
	copyUtf8Limited (text, properties->shortLabel, sizeof (properties->shortLabel));
	properties->flags = kVstPinIsActive;
	if (channelCount == 2 && index == 0)
		properties->flags |= kVstPinIsStereo;
	return 1;
}

} // namespace Vst
} // namespace Steinberg

//------------------------------------------------------------------------
extern "C" __attribute__ ((visibility ("default"))) AEffect* VSTPluginMain (
    audioMasterCallback audioMaster)
{
	if (!audioMaster)
		return nullptr;
	if (audioMaster (nullptr, audioMasterVersion, 0, 0, nullptr, 0.f) == 0)
		return nullptr;
	if (!InitModule ())
		return nullptr;
	return createEffectInstance (audioMaster);
}
