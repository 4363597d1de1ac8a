#include "linuxmodule.h"

#include "pluginterfaces/base/fplatform.h"
#include <dlfcn.h>

namespace {
void* moduleHandle = nullptr;
int moduleCounter = 0;
std::string modulePath;

void rememberModulePath ()
{
	Dl_info info {};
	if (dladdr (reinterpret_cast<void*> (&rememberModulePath), &info) && info.dli_fname)
		modulePath = info.dli_fname;
}
} // namespace

namespace Steinberg {
void* getModuleHandle () { return moduleHandle; }
const std::string& getModulePath ()
{
	if (modulePath.empty ())
		rememberModulePath ();
	return modulePath;
}
} // namespace Steinberg

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry (void* sharedLibraryHandle)
{
	if (++moduleCounter == 1)
	{
		moduleHandle = sharedLibraryHandle;
		rememberModulePath ();
		return InitModule ();
	}
	return true;
}

SMTG_EXPORT_SYMBOL bool ModuleExit ()
{
	if (moduleCounter <= 0)
		return false; // an exit without an entry
	if (--moduleCounter == 0)
	{
		moduleHandle = nullptr;
		return DeinitModule ();
	}
	return true;
}

} // extern "C"
