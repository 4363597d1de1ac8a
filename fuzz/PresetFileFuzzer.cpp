// .vstpreset files through the path we use (the renderer's --preset FILE): our reader,
// built on the SDK's chunk-list reader, then the component state into the effect. No
// file may crash it; a refused state changes nothing. (The SDK's one-shot
// PresetFile::loadPreset over a MemoryStream is not fuzzed: it follows a negative chunk
// offset to before the buffer, since MemoryStream::seek takes a negative position.)

#include "FuzzEffect.h"
#include "PresetFiles.h"
#include "QuillmereIds.h"

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
			FUZZ_REQUIRE (contents.componentState.size () <= size, "the state lies inside the file");
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

	return 0;
}
