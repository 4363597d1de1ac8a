// A small VST 2.4 host for tests: loads the bundle's shared object, calls
// VSTPluginMain with a scripted audioMaster and records what the plug-in
// tells the host.
#pragma once

#include "vst2abi.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Vst2Test {

struct HostCall
{
	VstInt32 opcode;
	VstInt32 index;
	VstIntPtr value;
	float opt;
	// Made before VSTPluginMain returned the AEffect.
	bool duringEntry;
};

// The library stays loaded until the process ends, so leak reports keep
// their symbols. Returns nullptr (and a message) when it cannot be loaded.
void* pluginLibrary (std::string& error);
using PluginEntry = AEffect* (*) (audioMasterCallback);
PluginEntry pluginEntry ();

// The host's side of one plug-in instance.
class Vst2Plugin
{
public:
	// hostVersion is what the host answers to audioMasterVersion. Returns
	// nullptr when VSTPluginMain gives no effect.
	static std::unique_ptr<Vst2Plugin> load (VstIntPtr hostVersion = 2400);
	~Vst2Plugin (); // effClose

	Vst2Plugin (const Vst2Plugin&) = delete;
	Vst2Plugin& operator= (const Vst2Plugin&) = delete;

	AEffect* effect () const { return aeffect; }
	VstIntPtr dispatch (VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
	                    void* ptr = nullptr, float opt = 0.f);

	// Parameter texts, read into a generous buffer the way hosts do.
	std::string name (VstInt32 index);
	std::string label (VstInt32 index);
	std::string display (VstInt32 index);
	float get (VstInt32 index) { return aeffect->getParameter (aeffect, index); }
	void set (VstInt32 index, float value) { aeffect->setParameter (aeffect, index, value); }

	// effSetSampleRate, effSetBlockSize, effSetProcessPrecision, effMainsChanged.
	bool resume (float sampleRate, VstInt32 blockSize, bool doublePrecision = false);
	void suspend ();
	void process (float** inputs, float** outputs, VstInt32 frames);
	void process (double** inputs, double** outputs, VstInt32 frames);

	std::vector<char> getChunk ();
	VstIntPtr setChunk (std::vector<char> bytes);

	// The plug-in may call from any thread (an editor idled on another one).
	std::vector<HostCall> hostCalls () const;
	std::vector<HostCall> hostCalls (VstInt32 opcode) const;
	void clearHostCalls ();

	// Called with every host call after it is recorded, on the plug-in's thread.
	std::function<void (const HostCall&)> onHostCall;

	// The editor: its rectangle (false when there is none), and open with the parent
	// window's id, as Linux hosts pass it.
	bool editorRect (ERect& rect);
	bool openEditor (uint32_t parentWindow);

private:
	Vst2Plugin () = default;
	static VstIntPtr audioMaster (AEffect* effect, VstInt32 opcode, VstInt32 index,
	                              VstIntPtr value, void* ptr, float opt);
	std::string text (VstInt32 opcode, VstInt32 index);

	AEffect* aeffect = nullptr;
	VstIntPtr hostVersion = 2400;
	bool entryReturned = false;
	mutable std::mutex callsLock;
	std::vector<HostCall> calls;
};

} // namespace Vst2Test
