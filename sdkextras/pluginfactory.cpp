#include "pluginfactory.h"

#include <cstring>

namespace Steinberg {

IPluginFactory* gPluginFactory = nullptr;

IMPLEMENT_REFCOUNT (CPluginFactory)

tresult PLUGIN_API CPluginFactory::queryInterface (const TUID _iid, void** obj)
{
	QUERY_INTERFACE (_iid, obj, IPluginFactory::iid, IPluginFactory)
	QUERY_INTERFACE (_iid, obj, IPluginFactory2::iid, IPluginFactory2)
	QUERY_INTERFACE (_iid, obj, FUnknown::iid, IPluginFactory)
	*obj = nullptr;
	return kNoInterface;
}

CPluginFactory::CPluginFactory (const PFactoryInfo& info) : factoryInfo (info)
{
	FUNKNOWN_CTOR
}

CPluginFactory::~CPluginFactory ()
{
	if (gPluginFactory == this)
		gPluginFactory = nullptr;
	FUNKNOWN_DTOR
}

bool CPluginFactory::registerClass (const PClassInfo2* info, CreateInstanceFunction createFunc,
                                    void* context)
{
	if (!info || !createFunc)
		return false;
	classes.push_back ({*info, createFunc, context});
	return true;
}

bool CPluginFactory::isClassRegistered (const FUID& cid) const
{
	for (const auto& entry : classes)
		if (FUnknownPrivate::iidEqual (entry.info.cid, cid.toTUID ()))
			return true;
	return false;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo (PFactoryInfo* info)
{
	if (!info)
		return kInvalidArgument;
	std::memcpy (info, &factoryInfo, sizeof (PFactoryInfo));
	return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses ()
{
	return static_cast<int32> (classes.size ());
}

tresult PLUGIN_API CPluginFactory::getClassInfo (int32 index, PClassInfo* info)
{
	if (!info || index < 0 || index >= countClasses ())
		return kInvalidArgument;
	const PClassInfo2& source = classes[index].info;
	*info = PClassInfo ();
	std::memcpy (info->cid, source.cid, sizeof (TUID));
	info->cardinality = source.cardinality;
	std::memcpy (info->category, source.category, sizeof (info->category));
	std::memcpy (info->name, source.name, sizeof (info->name));
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2 (int32 index, PClassInfo2* info)
{
	if (!info || index < 0 || index >= countClasses ())
		return kInvalidArgument;
	std::memcpy (info, &classes[index].info, sizeof (PClassInfo2));
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance (FIDString cid, FIDString iid, void** obj)
{
	if (!obj)
		return kInvalidArgument;
	*obj = nullptr;
	if (!cid || !iid)
		return kInvalidArgument;
	for (const auto& entry : classes)
	{
		if (!FUnknownPrivate::iidEqual (entry.info.cid, cid))
			continue;
		FUnknown* instance = entry.createFunc (entry.context);
		if (!instance)
			return kOutOfMemory;
		tresult result = instance->queryInterface (iid, obj);
		instance->release ();
		if (result != kResultOk)
			*obj = nullptr;
		return result;
	}
	return kNoInterface;
}

} // namespace Steinberg
