#include "resourcefolder.h"

#include <dlfcn.h>
#include <cstdlib>

namespace VSTGUI {
namespace {

std::string& overrideFolder ()
{
	static std::string folder;
	return folder;
}

std::string folderBesideModule ()
{
	Dl_info info {};
	if (!dladdr (reinterpret_cast<void*> (&folderBesideModule), &info) || !info.dli_fname)
		return {};
	// A VST 2 folder may hold a link to the bundle's shared object: the resources are
	// beside the object it names.
	char* resolved = realpath (info.dli_fname, nullptr);
	std::string path (resolved ? resolved : info.dli_fname);
	std::free (resolved);
	// Up from the shared object to Contents: drop the file name and its architecture folder.
	for (int level = 0; level < 2; ++level)
	{
		const size_t slash = path.rfind ('/');
		if (slash == std::string::npos)
			return {};
		path.erase (slash);
	}
	return path + "/Resources";
}

} // namespace

const std::string& getResourceFolder ()
{
	static const std::string besideModule = folderBesideModule ();
	return overrideFolder ().empty () ? besideModule : overrideFolder ();
}

void setResourceFolder (const std::string& folder)
{
	overrideFolder () = folder;
	while (overrideFolder ().size () > 1 && overrideFolder ().back () == '/')
		overrideFolder ().pop_back ();
}

std::string resourcePath (const char* fileName)
{
	return getResourceFolder () + "/" + (fileName ? fileName : "");
}

} // namespace VSTGUI
