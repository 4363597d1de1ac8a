#include "ComponentHandlerRecorder.h"

namespace QuillmereHost {

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API ComponentHandlerRecorder::beginEdit (ParamID id)
{
	recorded.push_back ({Kind::kBeginEdit, id, 0.0, 0});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::performEdit (ParamID id, ParamValue value)
{
	recorded.push_back ({Kind::kPerformEdit, id, value, 0});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::endEdit (ParamID id)
{
	recorded.push_back ({Kind::kEndEdit, id, 0.0, 0});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::restartComponent (int32 flags)
{
	recorded.push_back ({Kind::kRestartComponent, 0, 0.0, flags});
	return kResultOk;
}

tresult PLUGIN_API ComponentHandlerRecorder::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IComponentHandler)
	QUERY_INTERFACE (iid, obj, IComponentHandler::iid, IComponentHandler)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace QuillmereHost
