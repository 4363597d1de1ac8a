// A component handler that writes down every call the controller makes, in
// order, so tests can compare what an edit sent to the host.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <thread>
#include <vector>

namespace QuillmereHost {

class ComponentHandlerRecorder : public Steinberg::Vst::IComponentHandler
{
public:
	enum class Kind { kBeginEdit, kPerformEdit, kEndEdit, kRestartComponent };
	struct Call
	{
		Kind kind;
		Steinberg::Vst::ParamID id;       // 0 for restartComponent
		Steinberg::Vst::ParamValue value; // performEdit only, else 0
		Steinberg::int32 flags;           // restartComponent only, else 0
		// The thread that made the call (not compared).
		std::thread::id thread = std::this_thread::get_id ();
		bool operator== (const Call& other) const
		{
			return kind == other.kind && id == other.id && value == other.value &&
			       flags == other.flags;
		}
	};

	const std::vector<Call>& calls () const { return recorded; }
	void clear () { recorded.clear (); }

	Steinberg::tresult PLUGIN_API beginEdit (Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API performEdit (Steinberg::Vst::ParamID id,
	                                           Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API endEdit (Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API restartComponent (Steinberg::int32 flags) SMTG_OVERRIDE;

	// Lives as a member of its host; counting references would only hide
	// a plug-in that keeps the handler past setComponentHandler (nullptr).
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
	Steinberg::uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	Steinberg::uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

private:
	std::vector<Call> recorded;
};

} // namespace QuillmereHost
