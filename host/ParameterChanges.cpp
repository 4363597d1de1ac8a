#include "ParameterChanges.h"

namespace Steinberg {
namespace Vst {

ParameterValueQueue::ParameterValueQueue (ParamID id, int32 maxPoints)
: paramId (id), points (static_cast<size_t> (maxPoints > 0 ? maxPoints : 0))
{
}

tresult PLUGIN_API ParameterValueQueue::getPoint (int32 index, int32& sampleOffset,
                                                  ParamValue& value)
{
	if (index < 0 || index >= pointCount)
		return kResultFalse;
	sampleOffset = points[index].sampleOffset;
	value = points[index].value;
	return kResultTrue;
}

tresult PLUGIN_API ParameterValueQueue::addPoint (int32 sampleOffset, ParamValue value,
                                                  int32& index)
{
	int32 insertAt = pointCount;
	for (int32 i = 0; i < pointCount; ++i)
	{
		if (points[i].sampleOffset == sampleOffset)
		{
			points[i].value = value;
			index = i;
			return kResultTrue;
		}
		if (points[i].sampleOffset > sampleOffset)
		{
			insertAt = i;
			break;
		}
	}
	if (pointCount >= getMaxPoints ())
	{
		index = -1;
		return kResultFalse;
	}
	for (int32 i = pointCount; i > insertAt; --i)
		points[i] = points[i - 1];
	points[insertAt] = {sampleOffset, value};
	++pointCount;
	index = insertAt;
	return kResultTrue;
}

tresult PLUGIN_API ParameterValueQueue::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IParamValueQueue)
	QUERY_INTERFACE (iid, obj, IParamValueQueue::iid, IParamValueQueue)
	*obj = nullptr;
	return kNoInterface;
}

ParameterChanges::ParameterChanges (int32 maxQueues, int32 maxPointsPerQueue)
: queues (static_cast<size_t> (maxQueues > 0 ? maxQueues : 0),
          ParameterValueQueue (0, maxPointsPerQueue))
{
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData (int32 index)
{
	if (index < 0 || index >= queueCount)
		return nullptr;
	return &queues[index];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData (const ParamID& id,
                                                                 int32& index)
{
	for (int32 i = 0; i < queueCount; ++i)
	{
		if (queues[i].getParameterId () == id)
		{
			index = i;
			return &queues[i];
		}
	}
	if (queueCount >= getMaxParameters ())
	{
		index = -1;
		return nullptr;
	}
	ParameterValueQueue& queue = queues[queueCount];
	queue.setParameterId (id);
	queue.clear ();
	index = queueCount++;
	return &queue;
}

void ParameterChanges::clear ()
{
	for (int32 i = 0; i < queueCount; ++i)
		queues[i].clear ();
	queueCount = 0;
}

tresult PLUGIN_API ParameterChanges::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IParameterChanges)
	QUERY_INTERFACE (iid, obj, IParameterChanges::iid, IParameterChanges)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg
