// quillmere-render: runs an audio file (or a built-in demo) through the built
// Quillmere bundle the way a host does, with a factory preset and parameter
// settings, and can draw the impulse response of those settings.

#include "AudioFiles.h"
#include "CommandLine.h"
#include "DemoSignal.h"
#include "EffectSetup.h"
#include "ImpulsePicture.h"
#include "PresetFiles.h"
#include "PresetLibrary.h"
#include "ProgressBar.h"
#include "RenderLoop.h"
#include "editor/FactoryPresets.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

using namespace QuillmereRender;

namespace {

const char* const kProgram = "quillmere-render";
const char* const kDefaultPreset = "Default";
// Files shorter than this render too quickly to need a progress bar.
const double kProgressBarSeconds = 10.0;

std::string bundlePathFor (const RenderOptions& options)
{
	if (!options.bundlePath.empty ())
		return options.bundlePath;
	if (std::filesystem::exists (QUILLMERE_BUNDLE_DIR))
		return QUILLMERE_BUNDLE_DIR;
	if (const char* home = std::getenv ("HOME"))
	{
		const std::string installed = std::string (home) + "/.vst3/Quillmere.vst3";
		if (std::filesystem::exists (installed))
			return installed;
	}
	return QUILLMERE_BUNDLE_DIR; // not there: loading it says so
}

std::string vendorOf (const QuillmereHost::PluginModule& module)
{
	const auto info = module.factoryInfo ();
	return std::string (info.vendor, strnlen (info.vendor, sizeof (info.vendor)));
}

std::vector<std::string> menuOrder ()
{
	return {Steinberg::Vst::kFactoryPresetNames,
	        Steinberg::Vst::kFactoryPresetNames + Steinberg::Vst::kNumFactoryPresets};
}

bool namesAFile (const std::string& preset)
{
	const std::string extension = std::filesystem::path (preset).extension ().string ();
	std::error_code failure;
	return preset.find ('/') != std::string::npos || std::filesystem::is_regular_file (preset, failure) ||
	       strcasecmp (extension.c_str (), QuillmereTools::kPresetExtension) == 0;
}

std::string quotedList (const std::vector<std::string>& names)
{
	std::string list;
	for (const auto& name : names)
		list += (list.empty () ? "\"" : ", \"") + name + "\"";
	return list;
}

// Fills the preset part of the setup: a file, a name from the library, or Default.
void choosePreset (const std::string& preset, const PresetLibrary& library,
                   const QuillmereHost::PluginModule& module, EffectSetup& setup)
{
	std::string path;
	if (preset.empty ())
	{
		// Without a preset the effect keeps its start-up settings, which are Default's;
		// the Default file, when there is one, makes that explicit.
		auto found = library.find (kDefaultPreset);
		setup.presetName = kDefaultPreset;
		if (!found)
			return;
		path = found->path;
	}
	else if (namesAFile (preset))
	{
		path = preset;
		setup.presetName = std::filesystem::path (preset).stem ().string ();
	}
	else
	{
		auto found = library.find (preset);
		if (!found)
		{
			const auto close = library.closeMatches (preset);
			if (library.entries ().empty ())
				throw ToolError ("no preset named \"" + preset + "\": no preset files found (build the project or run scripts/install.sh)");
			throw ToolError ("no preset named \"" + preset + "\"" +
			                 (close.empty () ? std::string (" (see --list-presets)") : "; close matches: " + quotedList (close)));
		}
		path = found->path;
		setup.presetName = found->name;
	}

	QuillmereTools::PresetContents contents;
	std::string error;
	if (!QuillmereTools::readPresetFile (path, contents, error))
		throw ToolError (error);
	Steinberg::PClassInfo2 effectClass;
	if (module.findClass (kVstAudioEffectClass, effectClass) &&
	    contents.classId != Steinberg::FUID::fromTUID (effectClass.cid))
		throw ToolError (path + " is a preset for another plug-in (class " +
		                 QuillmereTools::classIdText (contents.classId) + ")");
	setup.presetState = std::move (contents.componentState);
}

void listPresets (const PresetLibrary& library)
{
	if (library.entries ().empty ())
		std::printf ("no preset files found\n");
	for (const auto& entry : library.entries ())
		std::printf ("%s\n", entry.name.c_str ());
}

PictureCaption captionFor (const QuillmereHost::EffectInstance& effect, const EffectSetup& setup,
                           const RenderOptions& options, double sampleRate)
{
	PictureCaption caption;
	caption.title = "Quillmere impulse response: " + setup.presetName;
	if (!options.settings.empty ())
		caption.title += " (with changes)";
	std::string summary;
	for (const char* title : {"Predelay", "Decay time", "Room size", "Diffusion", "Damp", "Reverb", "Wet"})
	{
		const auto info = effect.findParameterByTitle (title);
		if (!info)
			continue;
		const std::string value = effect.valueToText (info->id, effect.getParamNormalized (info->id));
		summary += std::string (title) + " " + value + " " + QuillmereHost::toUtf8 (info->units) + "   ";
	}
	char rate[48];
	std::snprintf (rate, sizeof (rate), "at %.0f Hz", sampleRate);
	caption.subtitle = summary + rate;
	return caption;
}

StereoAudio unitImpulse (double sampleRate)
{
	StereoAudio impulse;
	impulse.sampleRate = sampleRate;
	impulse.resize (1);
	impulse.left[0] = impulse.right[0] = 1.0f;
	return impulse;
}

int run (const RenderOptions& options)
{
	const std::string bundlePath = bundlePathFor (options);
	const auto module = loadBundle (bundlePath);
	const PresetLibrary library (presetFolders (bundlePath, vendorOf (*module)), menuOrder ());
	if (options.listPresets)
	{
		listPresets (library);
		if (!options.listParameters)
			return 0;
	}

	EffectSetup setup;
	choosePreset (options.preset, library, *module, setup);
	// A first instance checks every setting before any audio is read or written.
	const auto probe = createConfiguredEffect (module, setup);
	setup.settings = resolveSettings (*probe, options.settings);
	for (const auto& setting : setup.settings)
		probe->setParamNormalized (setting.id, setting.value);
	if (options.listParameters)
	{
		std::printf ("%s", describeParameters (*probe).c_str ());
		return 0;
	}

	const AudioFormat format = audioFormatFor (options.outputPath);
	const StereoAudio input = options.inputPath.empty () ? makeDemoSignal () : readAudioFile (options.inputPath);
	if (input.sampleRate < 44000.0 || input.sampleRate > 192000.0)
		std::fprintf (stderr, "%s: note: the effect runs at 44000 to 192000 Hz; %.0f Hz audio will sound off\n",
		              kProgram, input.sampleRate);
	PendingFile audioFile (options.outputPath);
	std::unique_ptr<PendingFile> pictureFile;
	if (!options.impulsePicturePath.empty ())
		pictureFile = std::make_unique<PendingFile> (options.impulsePicturePath);

	StereoAudio output;
	{
		const auto effect = createConfiguredEffect (module, setup);
		ProgressBar bar (static_cast<double> (input.frames ()) / input.sampleRate >= kProgressBarSeconds);
		output = renderThroughEffect (*effect, input, setup.settings, bar.callback ());
	}
	writeAudioFile (audioFile.path (), format, output);

	if (pictureFile)
	{
		const auto effect = createConfiguredEffect (module, setup);
		const StereoAudio response = renderThroughEffect (*effect, unitImpulse (input.sampleRate), setup.settings);
		drawImpulsePicture (pictureFile->path (), response, captionFor (*probe, setup, options, input.sampleRate));
		pictureFile->commit ();
	}
	audioFile.commit ();

	const double inputSeconds = static_cast<double> (input.frames ()) / input.sampleRate;
	const double tailSeconds = static_cast<double> (output.frames () - input.frames ()) / input.sampleRate;
	std::printf ("wrote %s: %.2f s of %s + %.2f s of tail at %.0f Hz, preset \"%s\"%s\n",
	             options.outputPath.c_str (), inputSeconds,
	             options.inputPath.empty () ? "demo" : "input", tailSeconds, input.sampleRate,
	             setup.presetName.c_str (), setup.settings.empty () ? "" : " with changes");
	if (pictureFile)
		std::printf ("wrote %s\n", options.impulsePicturePath.c_str ());
	return 0;
}

} // namespace

int main (int argc, char** argv)
{
	PendingFile::cleanUpOnSignals ();
	try
	{
		const RenderOptions options = parseCommandLine (argc, argv);
		if (options.showHelp)
		{
			std::printf ("%s", usageText ().c_str ());
			return 0;
		}
		return run (options);
	}
	catch (const ToolError& error)
	{
		std::fprintf (stderr, "%s: %s\n", kProgram, error.what ());
		return 1;
	}
	catch (const std::exception& error)
	{
		std::fprintf (stderr, "%s: %s\n", kProgram, error.what ());
		return 1;
	}
}
