// Loads the built module as a host does and writes its moduleinfo.json, so the file
// always says what the module's factory says.
//   quillmere-moduleinfo BUNDLE_OR_SO OUTPUT_JSON

#include "ModuleInfo.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main (int argc, char** argv)
{
	if (argc != 3)
	{
		std::fprintf (stderr, "usage: %s BUNDLE_OR_SO OUTPUT_JSON\n", argv[0]);
		return 2;
	}
	std::string error;
	auto module = QuillmereHost::PluginModule::load (argv[1], error);
	if (!module)
	{
		std::fprintf (stderr, "cannot load %s: %s\n", argv[1], error.c_str ());
		return 1;
	}
	// The module is named after its shared object (Quillmere.so in Quillmere.vst3).
	const std::string name = std::filesystem::path (module->libraryPath ()).stem ().string ();
	const auto info = QuillmereTools::describeModule (*module, name);

	const std::filesystem::path target (argv[2]);
	std::error_code failure;
	std::filesystem::create_directories (target.parent_path (), failure);
	const std::filesystem::path temporary = target.string () + ".tmp";
	{
		std::ofstream out (temporary);
		out << info.dump (2) << "\n";
		if (!out.flush ())
		{
			std::fprintf (stderr, "cannot write %s\n", temporary.c_str ());
			return 1;
		}
	}
	std::filesystem::rename (temporary, target, failure);
	if (failure)
	{
		std::fprintf (stderr, "cannot write %s: %s\n", argv[2], failure.message ().c_str ());
		std::filesystem::remove (temporary, failure);
		return 1;
	}
	return 0;
}
