// Writes the factory presets as .vstpreset files: each is the component state that
// the effect holds after applying that preset row, as the editor would apply it.
//   quillmere-make-presets OUTPUT_DIR

#include "PresetFiles.h"
#include "Quillmere.h"
#include "QuillmereIds.h"
#include "editor/FactoryPresets.h"

#include "base/source/fobject.h"
#include "public.sdk/source/common/memorystream.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

using namespace Steinberg;
using namespace Steinberg::Vst;

static bool presetState (int32 index, std::vector<std::uint8_t>& state)
{
	IPtr<Quillmere> effect = owned (new Quillmere ());
	if (effect->initialize (nullptr) != kResultOk)
		return false;
	effect->applyPreset (kFactoryPresets[index]);
	MemoryStream stream;
	const bool saved = effect->getState (&stream) == kResultOk;
	const auto* data = reinterpret_cast<const std::uint8_t*> (stream.getData ());
	state.assign (data, data + stream.getSize ());
	effect->terminate ();
	return saved;
}

int main (int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf (stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
		return 2;
	}
	const std::filesystem::path folder (argv[1]);
	std::error_code failure;
	std::filesystem::create_directories (folder, failure);
	if (failure)
	{
		std::fprintf (stderr, "cannot create %s: %s\n", argv[1], failure.message ().c_str ());
		return 1;
	}
	for (int32 i = 0; i < kNumFactoryPresets; ++i)
	{
		std::vector<std::uint8_t> state;
		if (!presetState (i, state))
		{
			std::fprintf (stderr, "cannot take the state of preset %s\n", kFactoryPresetNames[i]);
			return 1;
		}
		const auto path = folder / QuillmereTools::presetFileName (kFactoryPresetNames[i]);
		std::string error;
		if (!QuillmereTools::writePresetFile (path.string (), QuillmereClassId, state, error))
		{
			std::fprintf (stderr, "%s\n", error.c_str ());
			return 1;
		}
	}
	return 0;
}
