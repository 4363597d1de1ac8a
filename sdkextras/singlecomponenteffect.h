#pragma once
// One object that is both the audio processor and the edit controller, so the effect
// needs no message passing between two halves.

#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace Steinberg {
namespace Vst {

class SingleComponentEffect : public EditControllerEx1, public IComponent, public IAudioProcessor
{
public:
	SingleComponentEffect ();
	~SingleComponentEffect () override;

	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	tresult PLUGIN_API terminate () SMTG_OVERRIDE;

	// IComponent
	tresult PLUGIN_API getControllerClassId (TUID) SMTG_OVERRIDE { return kNotImplemented; }
	tresult PLUGIN_API setIoMode (IoMode) SMTG_OVERRIDE { return kNotImplemented; }
	int32 PLUGIN_API getBusCount (MediaType type, BusDirection dir) SMTG_OVERRIDE;
	tresult PLUGIN_API getBusInfo (MediaType type, BusDirection dir, int32 index,
	                               BusInfo& info) SMTG_OVERRIDE;
	tresult PLUGIN_API getRoutingInfo (RoutingInfo&, RoutingInfo&) SMTG_OVERRIDE
	{
		return kNotImplemented;
	}
	tresult PLUGIN_API activateBus (MediaType type, BusDirection dir, int32 index,
	                                TBool state) SMTG_OVERRIDE;
	tresult PLUGIN_API setActive (TBool) SMTG_OVERRIDE { return kResultOk; }
	// Shared by IComponent and IEditController: the component state is the only state.
	tresult PLUGIN_API setState (IBStream*) SMTG_OVERRIDE { return kNotImplemented; }
	tresult PLUGIN_API getState (IBStream*) SMTG_OVERRIDE { return kNotImplemented; }

	// IAudioProcessor
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement*, int32, SpeakerArrangement*,
	                                       int32) SMTG_OVERRIDE
	{
		return kResultFalse;
	}
	tresult PLUGIN_API getBusArrangement (BusDirection dir, int32 index,
	                                      SpeakerArrangement& arr) SMTG_OVERRIDE;
	tresult PLUGIN_API canProcessSampleSize (int32 symbolicSampleSize) SMTG_OVERRIDE
	{
		return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
	}
	uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE { return 0; }
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) SMTG_OVERRIDE;
	tresult PLUGIN_API setProcessing (TBool) SMTG_OVERRIDE { return kNotImplemented; }
	tresult PLUGIN_API process (ProcessData&) SMTG_OVERRIDE { return kNotImplemented; }
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE { return kNoTail; }

	OBJ_METHODS (SingleComponentEffect, EditControllerEx1)
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	REFCOUNT_METHODS (EditControllerEx1)

protected:
	AudioBus* addAudioInput (const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
	                         int32 flags = BusInfo::kDefaultActive);
	AudioBus* addAudioOutput (const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
	                          int32 flags = BusInfo::kDefaultActive);
	tresult removeAudioBusses ();
	BusList* getBusList (MediaType type, BusDirection dir);

	ProcessSetup processSetup;
	BusList audioInputs;
	BusList audioOutputs;
	BusList eventInputs;
	BusList eventOutputs;
};

} // namespace Vst
} // namespace Steinberg
