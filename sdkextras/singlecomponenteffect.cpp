#include "singlecomponenteffect.h"

namespace Steinberg {
namespace Vst {

SingleComponentEffect::SingleComponentEffect ()
: audioInputs (kAudio, kInput)
, audioOutputs (kAudio, kOutput)
, eventInputs (kEvent, kInput)
, eventOutputs (kEvent, kOutput)
{
	processSetup.maxSamplesPerBlock = 1024;
	processSetup.processMode = kRealtime;
	processSetup.sampleRate = 44100.0;
	processSetup.symbolicSampleSize = kSample32;
}

SingleComponentEffect::~SingleComponentEffect () = default;

tresult PLUGIN_API SingleComponentEffect::initialize (FUnknown* context)
{
	return EditControllerEx1::initialize (context);
}

tresult PLUGIN_API SingleComponentEffect::terminate ()
{
	audioInputs.clear ();
	audioOutputs.clear ();
	eventInputs.clear ();
	eventOutputs.clear ();
	return EditControllerEx1::terminate ();
}

BusList* SingleComponentEffect::getBusList (MediaType type, BusDirection dir)
{
	if (type == kAudio)
		return dir == kInput ? &audioInputs : &audioOutputs;
	if (type == kEvent)
		return dir == kInput ? &eventInputs : &eventOutputs;
	return nullptr;
}

int32 PLUGIN_API SingleComponentEffect::getBusCount (MediaType type, BusDirection dir)
{
	BusList* list = getBusList (type, dir);
	return list ? static_cast<int32> (list->size ()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo (MediaType type, BusDirection dir, int32 index,
                                                      BusInfo& info)
{
	BusList* list = getBusList (type, dir);
	if (!list || index < 0 || index >= static_cast<int32> (list->size ()))
		return kInvalidArgument;
	info.mediaType = type;
	info.direction = dir;
	return list->at (index)->getInfo (info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::activateBus (MediaType type, BusDirection dir,
                                                       int32 index, TBool state)
{
	BusList* list = getBusList (type, dir);
	if (!list || index < 0 || index >= static_cast<int32> (list->size ()))
		return kInvalidArgument;
	list->at (index)->setActive (state);
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement (BusDirection dir, int32 index,
                                                             SpeakerArrangement& arr)
{
	BusList* list = getBusList (kAudio, dir);
	if (!list || index < 0 || index >= static_cast<int32> (list->size ()))
		return kInvalidArgument;
	auto* bus = FCast<AudioBus> (list->at (index).get ());
	if (!bus)
		return kResultFalse;
	arr = bus->getArrangement ();
	return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing (ProcessSetup& setup)
{
	processSetup.maxSamplesPerBlock = setup.maxSamplesPerBlock;
	processSetup.processMode = setup.processMode;
	processSetup.sampleRate = setup.sampleRate;
	if (canProcessSampleSize (setup.symbolicSampleSize) != kResultTrue)
		return kResultFalse;
	processSetup.symbolicSampleSize = setup.symbolicSampleSize;
	return kResultOk;
}

AudioBus* SingleComponentEffect::addAudioInput (const TChar* name, SpeakerArrangement arr,
                                                BusType busType, int32 flags)
{
	auto* bus = new AudioBus (name, busType, flags, arr);
	audioInputs.emplace_back (IPtr<Vst::Bus> (bus, false));
	return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput (const TChar* name, SpeakerArrangement arr,
                                                 BusType busType, int32 flags)
{
	auto* bus = new AudioBus (name, busType, flags, arr);
	audioOutputs.emplace_back (IPtr<Vst::Bus> (bus, false));
	return bus;
}

tresult SingleComponentEffect::removeAudioBusses ()
{
	audioInputs.clear ();
	audioOutputs.clear ();
	return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::queryInterface (const TUID iid, void** obj)
{
	DEF_INTERFACE (IComponent)
	DEF_INTERFACE (IAudioProcessor)
	return EditControllerEx1::queryInterface (iid, obj);
}

} // namespace Vst
} // namespace Steinberg
