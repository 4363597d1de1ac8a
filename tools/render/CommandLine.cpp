#include "CommandLine.h"

#include "StereoAudio.h"

#include <cstring>

namespace QuillmereRender {

std::string usageText ()
{
	return "usage: quillmere-render [options] [INPUT]\n"
	       "Runs INPUT (any file libsndfile reads; without it a built-in demo) through the\n"
	       "Quillmere reverb and lets the tail ring out.\n"
	       "  -o, --output FILE      output .wav (32-bit float) or .flac (24-bit);\n"
	       "                         default quillmere-out.wav\n"
	       "  -p, --preset NAME      a factory preset by name (any case) or a .vstpreset file\n"
	       "  -s, --set TITLE=TEXT   set a parameter by title, as typed into its field\n"
	       "                         (repeatable), e.g. --set \"Decay time=4.5\" --set Wet=-3\n"
	       "      --ir FILE.png      also draw the impulse response of these settings\n"
	       "      --list-presets     list the presets found and exit\n"
	       "      --list-params      list the parameters with units and current values, exit\n"
	       "      --plugin PATH      use this Quillmere.vst3 bundle instead of the built one\n"
	       "  -h, --help             show this text\n";
}

namespace {

// Accepts "--name value" and "--name=value"; returns false when arg is not this option.
bool takeValue (const char* name, const char* shortName, int argc, const char* const* argv,
                int& i, std::string& value)
{
	const char* arg = argv[i];
	const size_t length = std::strlen (name);
	if (std::strncmp (arg, name, length) == 0 && arg[length] == '=')
	{
		value = arg + length + 1;
		return true;
	}
	if (std::strcmp (arg, name) != 0 && !(shortName && std::strcmp (arg, shortName) == 0))
		return false;
	if (i + 1 >= argc)
		throw ToolError (std::string ("option ") + name + " needs a value");
	value = argv[++i];
	return true;
}

std::pair<std::string, std::string> splitSetting (const std::string& setting)
{
	const size_t equals = setting.find ('=');
	if (equals == std::string::npos || equals == 0)
		throw ToolError ("--set wants TITLE=TEXT, got \"" + setting + "\"");
	return {setting.substr (0, equals), setting.substr (equals + 1)};
}

} // namespace

RenderOptions parseCommandLine (int argc, const char* const* argv)
{
	RenderOptions options;
	bool onlyInputsFollow = false;
	for (int i = 1; i < argc; ++i)
	{
		const std::string arg = argv[i];
		std::string value;
		if (onlyInputsFollow || arg.empty () || arg[0] != '-' || arg == "-")
		{
			if (!options.inputPath.empty ())
				throw ToolError ("one input file at a time (got \"" + options.inputPath + "\" and \"" + arg + "\")");
			options.inputPath = arg;
		}
		else if (arg == "--")
			onlyInputsFollow = true;
		else if (arg == "-h" || arg == "--help")
			options.showHelp = true;
		else if (arg == "--list-presets")
			options.listPresets = true;
		else if (arg == "--list-params")
			options.listParameters = true;
		else if (takeValue ("--output", "-o", argc, argv, i, value))
			options.outputPath = value;
		else if (takeValue ("--preset", "-p", argc, argv, i, value))
			options.preset = value;
		else if (takeValue ("--set", "-s", argc, argv, i, value))
			options.settings.push_back (splitSetting (value));
		else if (takeValue ("--ir", nullptr, argc, argv, i, value))
			options.impulsePicturePath = value;
		else if (takeValue ("--plugin", nullptr, argc, argv, i, value))
			options.bundlePath = value;
		else
			throw ToolError ("unknown option " + arg + " (see --help)");
	}
	if (options.outputPath.empty ())
		throw ToolError ("the output path is empty");
	return options;
}

} // namespace QuillmereRender
