#pragma once
// The .vstpreset files a user can name on the command line: those the build made
// and those installed for VST 3 hosts.

#include <optional>
#include <string>
#include <vector>

namespace QuillmereRender {

struct PresetEntry
{
	std::string name; // the file name without ".vstpreset"
	std::string path;
};

class PresetLibrary
{
public:
	// Folders in the order they are searched; a name found twice counts once.
	// menuOrder lists names to show first, in that order.
	PresetLibrary (const std::vector<std::string>& folders, const std::vector<std::string>& menuOrder);

	const std::vector<PresetEntry>& entries () const { return presets; }
	// Case-insensitive; surrounding blanks are ignored.
	std::optional<PresetEntry> find (const std::string& name) const;
	// Names close to the one asked for (typos, parts of a name), best first.
	std::vector<std::string> closeMatches (const std::string& name, size_t maxCount = 5) const;

private:
	std::vector<PresetEntry> presets;
};

// The build's preset folder, the one beside a bundle, and the installed one.
std::vector<std::string> presetFolders (const std::string& bundlePath, const std::string& vendor);

// Edit distance between two strings, ignoring case.
size_t editDistance (const std::string& a, const std::string& b);

} // namespace QuillmereRender
