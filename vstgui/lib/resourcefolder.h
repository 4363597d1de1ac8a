#pragma once
// Where bitmaps and the font are loaded from: the bundle's Contents/Resources folder,
// found beside the shared object that holds this code (".../Contents/x86_64-linux/X.so"
// gives ".../Contents/Resources"). Tests, which link the toolkit into their own program,
// point it at a bundle's folder instead.

#include <string>

namespace VSTGUI {

// The folder, without a trailing slash.
const std::string& getResourceFolder ();
// Replaces the folder; an empty path goes back to the one beside the shared object.
void setResourceFolder (const std::string& folder);
// The full path of a resource file by its name.
std::string resourcePath (const char* fileName);

} // namespace VSTGUI
