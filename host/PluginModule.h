// A loaded VST 3 module: dlopen, ModuleEntry and the class factory, undone
// in reverse order on destruction.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <memory>
#include <string>
#include <vector>

namespace QuillmereHost {

class PluginModule
{
public:
	// path: a ".vst3" bundle folder or the shared object itself. Returns
	// nullptr and a readable message in error when anything is missing.
	static std::shared_ptr<PluginModule> load (const std::string& path, std::string& error);
	~PluginModule ();

	PluginModule (const PluginModule&) = delete;
	PluginModule& operator= (const PluginModule&) = delete;

	const std::string& libraryPath () const { return soPath; }
	Steinberg::IPluginFactory* factory () const { return pluginFactory; }
	Steinberg::PFactoryInfo factoryInfo () const;
	// PClassInfo2 for every class; plain PClassInfo is widened when the
	// factory has no IPluginFactory2.
	std::vector<Steinberg::PClassInfo2> classInfos () const;
	// First class of the given category, e.g. kVstAudioEffectClass.
	bool findClass (const char* category, Steinberg::PClassInfo2& info) const;

private:
	PluginModule () = default;

	std::string soPath;
	void* handle = nullptr;
	Steinberg::IPluginFactory* pluginFactory = nullptr;
	bool (*moduleExit) () = nullptr;
};

// Where a bundle folder keeps its Linux shared object.
std::string sharedObjectPathOf (const std::string& bundleOrSoPath);

} // namespace QuillmereHost
