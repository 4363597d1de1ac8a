#include "PluginModule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

using QuillmereHost::PluginModule;

TEST (PluginModule, BundleFolderLeadsToItsSharedObject)
{
	const std::string bundle = std::string (::testing::TempDir ()) + "Example.vst3";
	::mkdir (bundle.c_str (), 0755);
	EXPECT_EQ (QuillmereHost::sharedObjectPathOf (bundle),
	           bundle + "/Contents/x86_64-linux/Example.so");
	EXPECT_EQ (QuillmereHost::sharedObjectPathOf (bundle + "/"),
	           bundle + "/Contents/x86_64-linux/Example.so");
	EXPECT_EQ (QuillmereHost::sharedObjectPathOf ("/some/where/Other.so"), "/some/where/Other.so");
	::rmdir (bundle.c_str ());
}

TEST (PluginModule, MissingFileIsNamedInTheError)
{
	std::string error;
	EXPECT_EQ (PluginModule::load ("/nonexistent/Nothing.vst3", error), nullptr);
	EXPECT_NE (error.find ("/nonexistent/Nothing.vst3"), std::string::npos) << error;
}

TEST (PluginModule, FileThatIsNoLibraryIsRefused)
{
	const std::string path = std::string (::testing::TempDir ()) + "not-a-library.so";
	std::ofstream (path) << "plain text";
	std::string error;
	EXPECT_EQ (PluginModule::load (path, error), nullptr);
	EXPECT_NE (error.find ("cannot load"), std::string::npos) << error;
	std::remove (path.c_str ());
}

TEST (PluginModule, LibraryWithoutEntryPointsIsRefusedByName)
{
	std::string error;
	EXPECT_EQ (PluginModule::load (QUILLMERE_NO_ENTRY_MODULE, error), nullptr);
	EXPECT_NE (error.find ("does not export ModuleEntry"), std::string::npos) << error;
}

} // namespace
