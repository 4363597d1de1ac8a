#pragma once
// Reading and writing .vstpreset files: the SDK's preset-file format holding one
// component state chunk.

#include "pluginterfaces/base/funknown.h"

#include <cstdint>
#include <string>
#include <vector>

namespace QuillmereTools {

static const char* const kPresetExtension = ".vstpreset";

// File name for a preset name: characters that some file systems refuse become '-'.
std::string presetFileName (const std::string& presetName);

// Writes a preset file with the class ID and the component state. False, with a
// message in error, when the file cannot be written.
bool writePresetFile (const std::string& path, const Steinberg::FUID& classId,
                      const std::vector<std::uint8_t>& componentState, std::string& error);

struct PresetContents
{
	Steinberg::FUID classId;
	std::vector<std::uint8_t> componentState;
};

// Reads a preset file through the SDK's chunk reader. False, with a message in
// error, when the file is missing, not a preset file or holds no component state.
bool readPresetFile (const std::string& path, PresetContents& contents, std::string& error);

// The class ID as the 32 upper-case hex digits hosts print.
std::string classIdText (const Steinberg::FUID& classId);

} // namespace QuillmereTools
