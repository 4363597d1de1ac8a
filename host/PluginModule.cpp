#include "PluginModule.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstring>

namespace QuillmereHost {

using namespace Steinberg;

namespace {

bool isDirectory (const std::string& path)
{
	struct stat info {};
	return stat (path.c_str (), &info) == 0 && S_ISDIR (info.st_mode);
}

bool exists (const std::string& path)
{
	struct stat info {};
	return stat (path.c_str (), &info) == 0;
}

} // namespace

std::string sharedObjectPathOf (const std::string& bundleOrSoPath)
{
	if (!isDirectory (bundleOrSoPath))
		return bundleOrSoPath;
	std::string bundle = bundleOrSoPath;
	while (bundle.size () > 1 && bundle.back () == '/')
		bundle.pop_back ();
	std::string name = bundle.substr (bundle.find_last_of ('/') + 1);
	const std::string suffix = ".vst3";
	if (name.size () > suffix.size () &&
	    name.compare (name.size () - suffix.size (), suffix.size (), suffix) == 0)
		name.resize (name.size () - suffix.size ());
	return bundle + "/Contents/x86_64-linux/" + name + ".so";
}

std::shared_ptr<PluginModule> PluginModule::load (const std::string& path, std::string& error)
{
	const std::string soPath = sharedObjectPathOf (path);
	if (!exists (soPath))
	{
		error = "no plug-in module at " + soPath;
		return nullptr;
	}
	void* handle = dlopen (soPath.c_str (), RTLD_NOW | RTLD_LOCAL);
	if (!handle)
	{
		const char* reason = dlerror ();
		error = "cannot load " + soPath + ": " + (reason ? reason : "unknown reason");
		return nullptr;
	}

	using EntryFunction = bool (*) (void*);
	using ExitFunction = bool (*) ();
	using FactoryFunction = IPluginFactory* (*) ();
	auto entry = reinterpret_cast<EntryFunction> (dlsym (handle, "ModuleEntry"));
	auto exit = reinterpret_cast<ExitFunction> (dlsym (handle, "ModuleExit"));
	auto getFactory = reinterpret_cast<FactoryFunction> (dlsym (handle, "GetPluginFactory"));
	const char* missing = !entry ? "ModuleEntry" : !exit ? "ModuleExit"
	                                             : !getFactory ? "GetPluginFactory" : nullptr;
	if (missing)
	{
		error = soPath + " does not export " + missing;
		dlclose (handle);
		return nullptr;
	}
	if (!entry (handle))
	{
		error = "ModuleEntry of " + soPath + " failed";
		dlclose (handle);
		return nullptr;
	}

	std::shared_ptr<PluginModule> module (new PluginModule);
	module->soPath = soPath;
	module->handle = handle;
	module->moduleExit = exit;
	module->pluginFactory = getFactory ();
	if (!module->pluginFactory)
	{
		error = "GetPluginFactory of " + soPath + " returned no factory";
		return nullptr; // the destructor still runs ModuleExit and dlclose
	}
	return module;
}

PluginModule::~PluginModule ()
{
	if (pluginFactory)
		pluginFactory->release ();
	if (moduleExit)
		moduleExit ();
	if (handle)
		dlclose (handle);
}

PFactoryInfo PluginModule::factoryInfo () const
{
	PFactoryInfo info;
	pluginFactory->getFactoryInfo (&info);
	return info;
}

std::vector<PClassInfo2> PluginModule::classInfos () const
{
	std::vector<PClassInfo2> infos;
	IPluginFactory2* factory2 = nullptr;
	pluginFactory->queryInterface (IPluginFactory2::iid, reinterpret_cast<void**> (&factory2));
	const int32 count = pluginFactory->countClasses ();
	for (int32 i = 0; i < count; ++i)
	{
		PClassInfo2 info;
		if (factory2)
		{
			if (factory2->getClassInfo2 (i, &info) != kResultOk)
				continue;
		}
		else
		{
			PClassInfo plain;
			if (pluginFactory->getClassInfo (i, &plain) != kResultOk)
				continue;
			info = PClassInfo2 (plain.cid, plain.cardinality, plain.category, plain.name, 0, "",
			                    "", "", "");
		}
		infos.push_back (info);
	}
	if (factory2)
		factory2->release ();
	return infos;
}

bool PluginModule::findClass (const char* category, PClassInfo2& info) const
{
	for (const PClassInfo2& candidate : classInfos ())
	{
		if (std::strncmp (candidate.category, category, PClassInfo::kCategorySize) == 0)
		{
			info = candidate;
			return true;
		}
	}
	return false;
}

} // namespace QuillmereHost
