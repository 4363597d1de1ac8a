// The VST 2.4 binary interface as seen from a plug-in: our own declaration
// of the C structures, opcodes and constants that hosts rely on.
#pragma once

#include <cstddef>
#include <cstdint>

typedef int32_t VstInt32;
typedef int16_t VstInt16;
typedef intptr_t VstIntPtr;

struct AEffect;

extern "C" {
typedef VstIntPtr (*audioMasterCallback) (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);
typedef VstIntPtr (*AEffectDispatcherProc) (AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
typedef void (*AEffectProcessProc) (AEffect* effect, float** inputs, float** outputs,
                                    VstInt32 sampleFrames);
typedef void (*AEffectProcessDoubleProc) (AEffect* effect, double** inputs, double** outputs,
                                          VstInt32 sampleFrames);
typedef void (*AEffectSetParameterProc) (AEffect* effect, VstInt32 index, float parameter);
typedef float (*AEffectGetParameterProc) (AEffect* effect, VstInt32 index);
}

constexpr VstInt32 kEffectMagic = 0x56737450; // 'VstP'

struct AEffect
{
	VstInt32 magic;
	AEffectDispatcherProc dispatcher;
	AEffectProcessProc process; // deprecated accumulating call
	AEffectSetParameterProc setParameter;
	AEffectGetParameterProc getParameter;
	VstInt32 numPrograms;
	VstInt32 numParams;
	VstInt32 numInputs;
	VstInt32 numOutputs;
	VstInt32 flags;
	VstIntPtr resvd1;
	VstIntPtr resvd2;
	VstInt32 initialDelay;
	VstInt32 realQualities; // deprecated
	VstInt32 offQualities; // deprecated
	float ioRatio; // deprecated
	void* object; // the plug-in's own
	void* user; // the host's own
	VstInt32 uniqueID;
	VstInt32 version;
	AEffectProcessProc processReplacing;
	AEffectProcessDoubleProc processDoubleReplacing;
	char future[56];
};

static_assert (sizeof (void*) == 8, "this layout is the 64-bit one");
static_assert (offsetof (AEffect, magic) == 0, "AEffect layout");
static_assert (offsetof (AEffect, dispatcher) == 8, "AEffect layout");
static_assert (offsetof (AEffect, process) == 16, "AEffect layout");
static_assert (offsetof (AEffect, setParameter) == 24, "AEffect layout");
static_assert (offsetof (AEffect, getParameter) == 32, "AEffect layout");
static_assert (offsetof (AEffect, numPrograms) == 40, "AEffect layout");
static_assert (offsetof (AEffect, numParams) == 44, "AEffect layout");
static_assert (offsetof (AEffect, numInputs) == 48, "AEffect layout");
static_assert (offsetof (AEffect, numOutputs) == 52, "AEffect layout");
static_assert (offsetof (AEffect, flags) == 56, "AEffect layout");
static_assert (offsetof (AEffect, resvd1) == 64, "AEffect layout");
static_assert (offsetof (AEffect, resvd2) == 72, "AEffect layout");
static_assert (offsetof (AEffect, initialDelay) == 80, "AEffect layout");
static_assert (offsetof (AEffect, realQualities) == 84, "AEffect layout");
static_assert (offsetof (AEffect, offQualities) == 88, "AEffect layout");
static_assert (offsetof (AEffect, ioRatio) == 92, "AEffect layout");
static_assert (offsetof (AEffect, object) == 96, "AEffect layout");
static_assert (offsetof (AEffect, user) == 104, "AEffect layout");
static_assert (offsetof (AEffect, uniqueID) == 112, "AEffect layout");
static_assert (offsetof (AEffect, version) == 116, "AEffect layout");
static_assert (offsetof (AEffect, processReplacing) == 120, "AEffect layout");
static_assert (offsetof (AEffect, processDoubleReplacing) == 128, "AEffect layout");
static_assert (offsetof (AEffect, future) == 136, "AEffect layout");
static_assert (sizeof (AEffect) == 192, "AEffect layout");

enum VstAEffectFlags : VstInt32
{
	effFlagsHasEditor = 1 << 0,
	effFlagsCanReplacing = 1 << 4,
	effFlagsProgramChunks = 1 << 5,
	effFlagsIsSynth = 1 << 8,
	effFlagsNoSoundInStop = 1 << 9,
	effFlagsCanDoubleReplacing = 1 << 12,
};

// Host to plug-in, through AEffect::dispatcher. Numbers not listed are
// deprecated or unused and are answered with 0.
enum AEffectOpcodes : VstInt32
{
	effOpen = 0,
	effClose = 1,
	effSetProgram = 2,
	effGetProgram = 3,
	effSetProgramName = 4,
	effGetProgramName = 5,
	effGetParamLabel = 6,
	effGetParamDisplay = 7,
	effGetParamName = 8,
	effSetSampleRate = 10,
	effSetBlockSize = 11,
	effMainsChanged = 12,
	effEditGetRect = 13,
	effEditOpen = 14,
	effEditClose = 15,
	effEditIdle = 19,
	effGetChunk = 23,
	effSetChunk = 24,
	effProcessEvents = 25,
	effCanBeAutomated = 26,
	effString2Parameter = 27,
	effGetProgramNameIndexed = 29,
	effGetInputProperties = 33,
	effGetOutputProperties = 34,
	effGetPlugCategory = 35,
	effSetSpeakerArrangement = 42,
	effSetBypass = 44,
	effGetEffectName = 45,
	effGetVendorString = 47,
	effGetProductString = 48,
	effGetVendorVersion = 49,
	effVendorSpecific = 50,
	effCanDo = 51,
	effGetTailSize = 52,
	effGetParameterProperties = 56,
	effGetVstVersion = 58,
	effEditKeyDown = 59,
	effEditKeyUp = 60,
	effSetEditKnobMode = 61,
	effGetSpeakerArrangement = 69,
	effStartProcess = 71,
	effStopProcess = 72,
	effSetProcessPrecision = 77,
};

// Plug-in to host, through audioMasterCallback.
enum AudioMasterOpcodes : VstInt32
{
	audioMasterAutomate = 0,
	audioMasterVersion = 1,
	audioMasterCurrentId = 2,
	audioMasterIdle = 3,
	audioMasterGetTime = 7,
	audioMasterIOChanged = 13,
	audioMasterSizeWindow = 15,
	audioMasterGetSampleRate = 16,
	audioMasterGetBlockSize = 17,
	audioMasterGetCurrentProcessLevel = 23,
	audioMasterGetVendorString = 32,
	audioMasterGetProductString = 33,
	audioMasterGetVendorVersion = 34,
	audioMasterCanDo = 37,
	audioMasterGetLanguage = 38,
	audioMasterUpdateDisplay = 42,
	audioMasterBeginEdit = 43,
	audioMasterEndEdit = 44,
};

// Buffer sizes, terminator included.
enum VstStringLimits : VstInt32
{
	kVstMaxProgNameLen = 24,
	kVstMaxParamStrLen = 8,
	kVstMaxEffectNameLen = 32,
	kVstMaxVendorStrLen = 64,
	kVstMaxProductStrLen = 64,
};

enum VstPlugCategory : VstInt32
{
	kPlugCategUnknown = 0,
	kPlugCategEffect = 1,
	kPlugCategSynth = 2,
	kPlugCategAnalysis = 3,
	kPlugCategMastering = 4,
	kPlugCategSpacializer = 5,
	kPlugCategRoomFx = 6,
	kPlugSurroundFx = 7,
	kPlugCategRestoration = 8,
	kPlugCategOfflineProcess = 9,
	kPlugCategShell = 10,
	kPlugCategGenerator = 11,
};

enum VstProcessPrecision : VstInt32
{
	kVstProcessPrecision32 = 0,
	kVstProcessPrecision64 = 1,
};

struct ERect
{
	VstInt16 top;
	VstInt16 left;
	VstInt16 bottom;
	VstInt16 right;
};
static_assert (sizeof (ERect) == 8, "ERect layout");

// effEditKeyDown/effEditKeyUp: index is the key's character, value a virtual
// key, opt the modifier bits. VST 3's VirtualKeyCodes and KeyModifier use the
// same numbers.
enum VstVirtualKey : VstInt32
{
	VKEY_BACK = 1,
	VKEY_TAB,
	VKEY_CLEAR,
	VKEY_RETURN,
	VKEY_PAUSE,
	VKEY_ESCAPE,
	VKEY_SPACE,
	VKEY_NEXT,
	VKEY_END,
	VKEY_HOME,
	VKEY_LEFT,
	VKEY_UP,
	VKEY_RIGHT,
	VKEY_DOWN,
	VKEY_PAGEUP,
	VKEY_PAGEDOWN,
	VKEY_SELECT,
	VKEY_PRINT,
	VKEY_ENTER,
	VKEY_SNAPSHOT,
	VKEY_INSERT,
	VKEY_DELETE,
	VKEY_HELP,
	VKEY_NUMPAD0,
	VKEY_NUMPAD1,
	VKEY_NUMPAD2,
	VKEY_NUMPAD3,
	VKEY_NUMPAD4,
	VKEY_NUMPAD5,
	VKEY_NUMPAD6,
	VKEY_NUMPAD7,
	VKEY_NUMPAD8,
	VKEY_NUMPAD9,
	VKEY_MULTIPLY,
	VKEY_ADD,
	VKEY_SEPARATOR,
	VKEY_SUBTRACT,
	VKEY_DECIMAL,
	VKEY_DIVIDE,
	VKEY_F1,
	VKEY_F12 = VKEY_F1 + 11,
	VKEY_NUMLOCK,
	VKEY_SCROLL,
	VKEY_SHIFT,
	VKEY_CONTROL,
	VKEY_ALT,
	VKEY_EQUALS,
};
static_assert (VKEY_DELETE == 22 && VKEY_NUMPAD0 == 24 && VKEY_EQUALS == 57, "VstVirtualKey numbers");

enum VstModifierKey : VstInt32
{
	MODIFIER_SHIFT = 1 << 0,
	MODIFIER_ALTERNATE = 1 << 1,
	MODIFIER_COMMAND = 1 << 2, // Ctrl on Linux and Windows
	MODIFIER_CONTROL = 1 << 3,
};

enum VstPinPropertiesFlags : VstInt32
{
	kVstPinIsActive = 1 << 0,
	kVstPinIsStereo = 1 << 1,
	kVstPinUseSpeaker = 1 << 2,
};

struct VstPinProperties
{
	char label[64];
	VstInt32 flags;
	VstInt32 arrangementType;
	char shortLabel[8];
	char future[48];
};
static_assert (offsetof (VstPinProperties, flags) == 64, "VstPinProperties layout");
static_assert (offsetof (VstPinProperties, arrangementType) == 68, "VstPinProperties layout");
static_assert (offsetof (VstPinProperties, shortLabel) == 72, "VstPinProperties layout");
static_assert (sizeof (VstPinProperties) == 128, "VstPinProperties layout");

enum VstParameterFlags : VstInt32
{
	kVstParameterIsSwitch = 1 << 0,
	kVstParameterUsesIntegerMinMax = 1 << 1,
	kVstParameterUsesFloatStep = 1 << 2,
	kVstParameterUsesIntStep = 1 << 3,
	kVstParameterSupportsDisplayIndex = 1 << 4,
	kVstParameterSupportsDisplayCategory = 1 << 5,
	kVstParameterCanRamp = 1 << 6,
};

// Answer to effGetParameterProperties. Hosts that ask show label as the
// parameter's name instead of the 8-byte effGetParamName text.
struct VstParameterProperties
{
	float stepFloat;
	float smallStepFloat;
	float largeStepFloat;
	char label[64];
	VstInt32 flags;
	VstInt32 minInteger;
	VstInt32 maxInteger;
	VstInt32 stepInteger;
	VstInt32 largeStepInteger;
	char shortLabel[8];
	VstInt16 displayIndex;
	VstInt16 category;
	VstInt16 numParametersInCategory;
	VstInt16 reserved;
	char categoryLabel[24];
	char future[16];
};
static_assert (offsetof (VstParameterProperties, label) == 12, "VstParameterProperties layout");
static_assert (offsetof (VstParameterProperties, flags) == 76, "VstParameterProperties layout");
static_assert (offsetof (VstParameterProperties, shortLabel) == 96, "VstParameterProperties layout");
static_assert (offsetof (VstParameterProperties, displayIndex) == 104, "VstParameterProperties layout");
static_assert (offsetof (VstParameterProperties, categoryLabel) == 112, "VstParameterProperties layout");
static_assert (sizeof (VstParameterProperties) == 152, "VstParameterProperties layout");

// Builds a four-character code with the first character in the most significant byte.
constexpr VstInt32 vstFourCharCode (char a, char b, char c, char d)
{
	return static_cast<VstInt32> ((static_cast<uint32_t> (static_cast<uint8_t> (a)) << 24) |
	                              (static_cast<uint32_t> (static_cast<uint8_t> (b)) << 16) |
	                              (static_cast<uint32_t> (static_cast<uint8_t> (c)) << 8) |
	                              static_cast<uint32_t> (static_cast<uint8_t> (d)));
}
