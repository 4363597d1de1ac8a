#pragma once
// The renderer's command line.

#include <string>
#include <utility>
#include <vector>

namespace QuillmereRender {

struct RenderOptions
{
	std::string inputPath;                    // empty: the built-in demo signal
	std::string outputPath = "quillmere-out.wav";
	std::string preset;                       // a preset name or a .vstpreset file
	std::vector<std::pair<std::string, std::string>> settings; // --set TITLE=TEXT, in order
	std::string impulsePicturePath;           // --ir FILE.png
	std::string bundlePath;                   // --plugin; empty: the built bundle
	bool listPresets = false;
	bool listParameters = false;
	bool showHelp = false;
};

// Throws ToolError for an unknown option, a missing option value or a --set
// without '='.
RenderOptions parseCommandLine (int argc, const char* const* argv);

std::string usageText ();

} // namespace QuillmereRender
