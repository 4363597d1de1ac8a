#pragma once
// Linux module entry: the host calls ModuleEntry once per load and ModuleExit once per
// unload; the first entry and the last exit run the module's own hooks.

#include <string>

bool InitModule ();   // defined by the module
bool DeinitModule (); // defined by the module

namespace Steinberg {
// The handle the host passed to ModuleEntry (null while the module is not entered).
void* getModuleHandle ();
// Absolute path of the loaded shared object, e.g. ".../Quillmere.vst3/Contents/x86_64-linux/Quillmere.so".
const std::string& getModulePath ();
} // namespace Steinberg
