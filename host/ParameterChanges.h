// Host-side parameter change lists with capacity fixed at construction.
// Nothing allocates after the constructor, so the VST 2 adapter can fill
// them on the audio thread. Used as plain members: the reference count is
// inert and release() never deletes.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class ParameterValueQueue : public IParamValueQueue
{
public:
	explicit ParameterValueQueue (ParamID id = 0, int32 maxPoints = 64);

	ParamID PLUGIN_API getParameterId () SMTG_OVERRIDE { return paramId; }
	int32 PLUGIN_API getPointCount () SMTG_OVERRIDE { return pointCount; }
	tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, ParamValue& value) SMTG_OVERRIDE;
	// Keeps points ordered by offset; a point at an existing offset replaces
	// that point's value. Returns kResultFalse when the queue is full.
	tresult PLUGIN_API addPoint (int32 sampleOffset, ParamValue value, int32& index) SMTG_OVERRIDE;

	void setParameterId (ParamID id) { paramId = id; }
	void clear () { pointCount = 0; }
	int32 getMaxPoints () const { return static_cast<int32> (points.size ()); }

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

private:
	struct Point
	{
		int32 sampleOffset;
		ParamValue value;
	};
	ParamID paramId;
	int32 pointCount = 0;
	std::vector<Point> points; // sized once; pointCount of them are in use
};

class ParameterChanges : public IParameterChanges
{
public:
	explicit ParameterChanges (int32 maxQueues = 64, int32 maxPointsPerQueue = 64);

	int32 PLUGIN_API getParameterCount () SMTG_OVERRIDE { return queueCount; }
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) SMTG_OVERRIDE;
	// Returns the queue already holding id, or a fresh one; nullptr when all
	// queues are taken (index is then -1).
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID& id, int32& index) SMTG_OVERRIDE;

	// Forgets all queues and points without freeing anything.
	void clear ();
	int32 getMaxParameters () const { return static_cast<int32> (queues.size ()); }

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

private:
	int32 queueCount = 0;
	std::vector<ParameterValueQueue> queues;
};

} // namespace Vst
} // namespace Steinberg
