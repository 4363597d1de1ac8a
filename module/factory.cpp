// The module's exported VST 3 entry point and the hooks the module entry calls.

#include "Quillmere.h"
#include "QuillmereIds.h"
#include "linuxmodule.h"
#include "pluginfactory.h"
#include "version.h"
#include "vst2wrapper.h"

#include <cstring>
#include <dlfcn.h>

using namespace Steinberg;

bool InitModule ()
{
	// The editor draws with cairo, whose pixman sets up its tables once per load and never
	// frees them. Keeping it loaded spares hosts that load and unload plug-ins over and
	// over (scans, sanitizer runs) losing that memory each time.
	dlopen ("libpixman-1.so.0", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
	return true;
}
bool DeinitModule () { return true; }

namespace {
// Copies text into a fixed-size field, cut at the field size, the rest zero-filled.
template <size_t N>
void copyField (char8 (&field)[N], const char* text)
{
	std::memset (field, 0, N);
	std::strncpy (field, text, N);
	field[N - 1] = 0;
}

const PFactoryInfo& factoryInfo ()
{
	static PFactoryInfo info = [] {
		PFactoryInfo filled;
		copyField (filled.vendor, QUILLMERE_VENDOR);
		copyField (filled.url, QUILLMERE_URL);
		copyField (filled.email, QUILLMERE_EMAIL);
		filled.flags = PFactoryInfo::kUnicode;
		return filled;
	}();
	return info;
}

const PClassInfo2& effectClassInfo ()
{
	static PClassInfo2 info (Vst::QuillmereClassId.toTUID (), PClassInfo::kManyInstances,
	                         QUILLMERE_CATEGORY, QUILLMERE_NAME, 0, QUILLMERE_SUBCATEGORIES,
	                         nullptr, QUILLMERE_VERSION, QUILLMERE_SDK_VERSION);
	return info;
}
} // namespace

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory ()
{
	if (gPluginFactory)
	{
		gPluginFactory->addRef ();
		return gPluginFactory;
	}
	auto* factory = new CPluginFactory (factoryInfo ());
	gPluginFactory = factory;
	factory->registerClass (&effectClassInfo (), &Vst::Quillmere::createInstance);
	return gPluginFactory;
}

// The VST 2.4 entry wraps the same class.
AEffect* createEffectInstance (audioMasterCallback audioMaster)
{
	return Vst::Vst2Wrapper::create (GetPluginFactory (), Vst::QuillmereClassId.toTUID (),
	                                 QUILLMERE_VST2_ID, audioMaster);
}
