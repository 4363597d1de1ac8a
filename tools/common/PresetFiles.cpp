#include "PresetFiles.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

using namespace Steinberg;

namespace QuillmereTools {

std::string presetFileName (const std::string& presetName)
{
	std::string name = presetName;
	for (auto& c : name)
		if (std::strchr ("/\\:*?\"<>|", c) || static_cast<unsigned char> (c) < 0x20)
			c = '-';
	if (name.empty () || name[0] == '.')
		name.insert (0, "_");
	return name + kPresetExtension;
}

static bool readWholeFile (const std::string& path, std::vector<std::uint8_t>& bytes,
                           std::string& error)
{
	FILE* file = std::fopen (path.c_str (), "rb");
	if (!file)
	{
		error = "cannot open " + path + ": " + std::strerror (errno);
		return false;
	}
	bytes.clear ();
	std::uint8_t buffer[65536];
	size_t got = 0;
	while ((got = std::fread (buffer, 1, sizeof (buffer), file)) > 0)
		bytes.insert (bytes.end (), buffer, buffer + got);
	const bool failed = std::ferror (file) != 0;
	std::fclose (file);
	if (failed)
		error = "cannot read " + path;
	return !failed;
}

bool writePresetFile (const std::string& path, const FUID& classId,
                      const std::vector<std::uint8_t>& componentState, std::string& error)
{
	std::vector<std::uint8_t> state (componentState); // the stream wants writable memory
	MemoryStream componentStream (state.data (), static_cast<TSize> (state.size ()));
	MemoryStream presetStream;
	if (!Vst::PresetFile::savePreset (&presetStream, classId, &componentStream))
	{
		error = "cannot build the preset for " + path;
		return false;
	}
	FILE* file = std::fopen (path.c_str (), "wb");
	if (!file)
	{
		error = "cannot create " + path + ": " + std::strerror (errno);
		return false;
	}
	const size_t size = static_cast<size_t> (presetStream.getSize ());
	const bool written = std::fwrite (presetStream.getData (), 1, size, file) == size;
	const bool closed = std::fclose (file) == 0;
	if (!written || !closed)
	{
		error = "cannot write " + path + ": " + std::strerror (errno);
		std::remove (path.c_str ());
		return false;
	}
	return true;
}

bool readPresetFile (const std::string& path, PresetContents& contents, std::string& error)
{
	std::vector<std::uint8_t> bytes;
	if (!readWholeFile (path, bytes, error))
		return false;
	MemoryStream stream (bytes.data (), static_cast<TSize> (bytes.size ()));
	Vst::PresetFile preset (&stream);
	if (!preset.readChunkList ())
	{
		error = path + " is not a VST 3 preset file";
		return false;
	}
	const Vst::PresetFile::Entry* entry = preset.getEntry (Vst::kComponentState);
	// Offset and size come from the file: compared one at a time, so that no sum of
	// two huge values can wrap around.
	if (!entry || entry->offset < 0 || entry->size < 0 ||
	    static_cast<std::uint64_t> (entry->offset) > bytes.size () ||
	    static_cast<std::uint64_t> (entry->size) > bytes.size () - static_cast<std::uint64_t> (entry->offset))
	{
		error = path + " holds no component state";
		return false;
	}
	contents.classId = preset.getClassID ();
	contents.componentState.assign (bytes.begin () + entry->offset,
	                                bytes.begin () + entry->offset + entry->size);
	return true;
}

std::string classIdText (const FUID& classId)
{
	char8 text[40] {};
	classId.toString (text);
	return text;
}

} // namespace QuillmereTools
