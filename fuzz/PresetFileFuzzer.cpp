// .vstpreset files: our reader (the renderer's --preset FILE) and the SDK's one-shot
// PresetFile::loadPreset, each loading into the effect. Neither may crash on any file;
// a refused file changes nothing.

#include "FuzzEffect.h"
#include "PresetFiles.h"
#include "QuillmereIds.h"
#include "public.sdk/source/vst/vstpresetfile.h"

#include <string>
#include <unistd.h>

using namespace QuillmereFuzz;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
// Our reader takes a path: the input goes into one file of this process's own.
const std::string& scratchPath ()
{
	static const std::string path =
	    std::string (access ("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/quillmere-fuzz-" +
	    std::to_string (getpid ()) + ".vstpreset";
	return path;
}

bool writeScratch (const std::uint8_t* data, size_t size)
{
	FILE* file = std::fopen (scratchPath ().c_str (), "wb");
	if (!file)
		return false;
	const bool written = size == 0 || std::fwrite (data, 1, size, file) == size;
	return std::fclose (file) == 0 && written;
}

struct RemoveScratch
{
	~RemoveScratch () { std::remove (scratchPath ().c_str ()); }
} removeScratch;
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
	Quillmere& effect = sharedEffect ();

	// The renderer's path: our reader, then the component state into the effect.
	if (writeScratch (data, size))
	{
		QuillmereTools::PresetContents contents;
		std::string error;
		if (QuillmereTools::readPresetFile (scratchPath (), contents, error))
		{
			const Bytes before = savedState (effect);
			if (loadState (effect, contents.componentState.data (), contents.componentState.size ()) !=
			    kResultOk)
				FUZZ_REQUIRE (savedState (effect) == before, "a refused preset changes nothing");
			else
				requireSettingsInRange (effect);
		}
		else
			FUZZ_REQUIRE (!error.empty (), "a refused file comes with a message");
	}

	// A host's path: the SDK's one-shot loader into component and controller.
	const Bytes before = savedState (effect);
	MemoryStream stream (const_cast<std::uint8_t*> (data), static_cast<TSize> (size));
	if (!PresetFile::loadPreset (&stream, QuillmereClassId, &effect, &effect))
		FUZZ_REQUIRE (savedState (effect) == before, "a refused preset changes nothing");
	else
		requireSettingsInRange (effect);
	return 0;
}
