#include "Vst2Harness.h"

#include <dlfcn.h>

#include <cstring>

namespace Vst2Test {
namespace {

// The plug-in calls the host before its AEffect exists (and before we can
// set its user field); those calls go to the instance being created.
thread_local Vst2Plugin* pluginBeingCreated = nullptr;

} // namespace

void* pluginLibrary (std::string& error)
{
	static void* handle = nullptr;
	static std::string loadError;
	if (!handle && loadError.empty ())
	{
		handle = dlopen (QUILLMERE_BUNDLE_SO, RTLD_NOW | RTLD_LOCAL);
		if (!handle)
			loadError = dlerror ();
	}
	error = loadError;
	return handle;
}

PluginEntry pluginEntry ()
{
	std::string error;
	void* handle = pluginLibrary (error);
	return handle ? reinterpret_cast<PluginEntry> (dlsym (handle, "VSTPluginMain")) : nullptr;
}

std::unique_ptr<Vst2Plugin> Vst2Plugin::load (VstIntPtr hostVersion)
{
	PluginEntry entry = pluginEntry ();
	if (!entry)
		return nullptr;
	std::unique_ptr<Vst2Plugin> plugin (new Vst2Plugin);
	plugin->hostVersion = hostVersion;
	pluginBeingCreated = plugin.get ();
	plugin->aeffect = entry (&Vst2Plugin::audioMaster);
	plugin->entryReturned = true;
	pluginBeingCreated = nullptr;
	if (!plugin->aeffect)
		return nullptr;
	plugin->aeffect->user = plugin.get ();
	plugin->dispatch (effOpen);
	return plugin;
}

Vst2Plugin::~Vst2Plugin ()
{
	if (aeffect)
		aeffect->dispatcher (aeffect, effClose, 0, 0, nullptr, 0.f);
}

VstIntPtr Vst2Plugin::audioMaster (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt)
{
	Vst2Plugin* plugin = (effect && effect->user) ? static_cast<Vst2Plugin*> (effect->user)
	                                              : pluginBeingCreated;
	if (!plugin)
		return 0;
	HostCall call {opcode, index, value, opt, !plugin->entryReturned};
	{
		std::lock_guard<std::mutex> recording (plugin->callsLock);
		plugin->calls.push_back (call);
	}
	if (plugin->onHostCall)
		plugin->onHostCall (call);
	switch (opcode)
	{
		case audioMasterVersion: return plugin->hostVersion;
		case audioMasterGetProductString:
			std::strcpy (static_cast<char*> (ptr), "Vst2Harness");
			return 1;
		case audioMasterSizeWindow: return 1;
		default: return 0;
	}
}

std::vector<HostCall> Vst2Plugin::hostCalls () const
{
	std::lock_guard<std::mutex> reading (callsLock);
	return calls;
}

std::vector<HostCall> Vst2Plugin::hostCalls (VstInt32 opcode) const
{
	std::vector<HostCall> matching;
	for (const HostCall& call : hostCalls ())
		if (call.opcode == opcode)
			matching.push_back (call);
	return matching;
}

void Vst2Plugin::clearHostCalls ()
{
	std::lock_guard<std::mutex> clearing (callsLock);
	calls.clear ();
}

bool Vst2Plugin::editorRect (ERect& rect)
{
	ERect* answer = nullptr;
	if (dispatch (effEditGetRect, 0, 0, &answer) != 1 || !answer)
		return false;
	rect = *answer;
	return true;
}

bool Vst2Plugin::openEditor (uint32_t parentWindow)
{
	// Hosts pass their own Display* in value; the plug-in must not use it.
	auto bogusDisplay = reinterpret_cast<VstIntPtr> (&calls);
	return dispatch (effEditOpen, 0, bogusDisplay,
	                 reinterpret_cast<void*> (static_cast<uintptr_t> (parentWindow))) == 1;
}

VstIntPtr Vst2Plugin::dispatch (VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt)
{
	return aeffect->dispatcher (aeffect, opcode, index, value, ptr, opt);
}

std::string Vst2Plugin::text (VstInt32 opcode, VstInt32 index)
{
	char buffer[256];
	std::memset (buffer, 'x', sizeof (buffer));
	buffer[255] = 0;
	dispatch (opcode, index, 0, buffer);
	return buffer;
}

std::string Vst2Plugin::name (VstInt32 index) { return text (effGetParamName, index); }
std::string Vst2Plugin::label (VstInt32 index) { return text (effGetParamLabel, index); }
std::string Vst2Plugin::display (VstInt32 index) { return text (effGetParamDisplay, index); }

bool Vst2Plugin::resume (float sampleRate, VstInt32 blockSize, bool doublePrecision)
{
	dispatch (effSetSampleRate, 0, 0, nullptr, sampleRate);
	dispatch (effSetBlockSize, 0, blockSize);
	VstIntPtr accepted = dispatch (effSetProcessPrecision, 0,
	                               doublePrecision ? kVstProcessPrecision64 : kVstProcessPrecision32);
	dispatch (effMainsChanged, 0, 1);
	return accepted == 1;
}

void Vst2Plugin::suspend () { dispatch (effMainsChanged, 0, 0); }

void Vst2Plugin::process (float** inputs, float** outputs, VstInt32 frames)
{
	aeffect->processReplacing (aeffect, inputs, outputs, frames);
}

void Vst2Plugin::process (double** inputs, double** outputs, VstInt32 frames)
{
	aeffect->processDoubleReplacing (aeffect, inputs, outputs, frames);
}

std::vector<char> Vst2Plugin::getChunk ()
{
	void* data = nullptr;
	VstIntPtr size = dispatch (effGetChunk, 1, 0, &data);
	if (size <= 0 || !data)
		return {};
	auto* bytes = static_cast<char*> (data);
	return std::vector<char> (bytes, bytes + size);
}

VstIntPtr Vst2Plugin::setChunk (std::vector<char> bytes)
{
	return dispatch (effSetChunk, 1, static_cast<VstIntPtr> (bytes.size ()), bytes.data ());
}

} // namespace Vst2Test
