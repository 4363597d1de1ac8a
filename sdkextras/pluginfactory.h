#pragma once
// The module's class factory: describes the vendor and hands out instances of the
// registered classes.

#include "pluginterfaces/base/ipluginbase.h"
#include <vector>

namespace Steinberg {

using CreateInstanceFunction = FUnknown* (*)(void* context);

class CPluginFactory : public IPluginFactory2
{
public:
	explicit CPluginFactory (const PFactoryInfo& info);
	virtual ~CPluginFactory ();

	bool registerClass (const PClassInfo2* info, CreateInstanceFunction createFunc,
	                    void* context = nullptr);
	bool isClassRegistered (const FUID& cid) const;

	DECLARE_FUNKNOWN_METHODS

	tresult PLUGIN_API getFactoryInfo (PFactoryInfo* info) SMTG_OVERRIDE;
	int32 PLUGIN_API countClasses () SMTG_OVERRIDE;
	tresult PLUGIN_API getClassInfo (int32 index, PClassInfo* info) SMTG_OVERRIDE;
	tresult PLUGIN_API createInstance (FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE;
	tresult PLUGIN_API getClassInfo2 (int32 index, PClassInfo2* info) SMTG_OVERRIDE;

private:
	struct ClassEntry
	{
		PClassInfo2 info;
		CreateInstanceFunction createFunc;
		void* context;
	};
	PFactoryInfo factoryInfo;
	std::vector<ClassEntry> classes;
};

// The module's one factory; cleared when that factory is destroyed so the next
// GetPluginFactory builds a fresh one.
extern IPluginFactory* gPluginFactory;

} // namespace Steinberg
