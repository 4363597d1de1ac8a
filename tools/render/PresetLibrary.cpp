#include "PresetLibrary.h"

#include "PresetFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace QuillmereRender {

namespace {

std::string lowered (const std::string& text)
{
	std::string result = text;
	for (auto& c : result)
		c = static_cast<char> (std::tolower (static_cast<unsigned char> (c)));
	return result;
}

std::string trimmed (const std::string& text)
{
	const size_t first = text.find_first_not_of (" \t");
	if (first == std::string::npos)
		return {};
	return text.substr (first, text.find_last_not_of (" \t") - first + 1);
}

bool isPresetFile (const fs::directory_entry& entry)
{
	std::error_code failure;
	return entry.is_regular_file (failure) &&
	       lowered (entry.path ().extension ().string ()) == QuillmereTools::kPresetExtension;
}

size_t closestWord (const std::string& wanted, const std::string& candidate)
{
	size_t best = std::string::npos;
	size_t start = 0;
	while (start < candidate.size ())
	{
		size_t end = candidate.find (' ', start);
		if (end == std::string::npos)
			end = candidate.size ();
		if (end > start)
			best = std::min (best, editDistance (wanted, candidate.substr (start, end - start)));
		start = end + 1;
	}
	return best;
}

} // namespace

size_t editDistance (const std::string& a, const std::string& b)
{
	const std::string x = lowered (a), y = lowered (b);
	std::vector<size_t> row (y.size () + 1);
	for (size_t j = 0; j <= y.size (); ++j)
		row[j] = j;
	for (size_t i = 1; i <= x.size (); ++i)
	{
		size_t diagonal = row[0];
		row[0] = i;
		for (size_t j = 1; j <= y.size (); ++j)
		{
			const size_t above = row[j];
			row[j] = std::min ({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
			diagonal = above;
		}
	}
	return row[y.size ()];
}

PresetLibrary::PresetLibrary (const std::vector<std::string>& folders,
                              const std::vector<std::string>& menuOrder)
{
	std::vector<PresetEntry> found;
	for (const auto& folder : folders)
	{
		std::error_code failure;
		std::vector<PresetEntry> inFolder;
		for (const auto& entry : fs::directory_iterator (folder, failure))
			if (isPresetFile (entry))
				inFolder.push_back ({entry.path ().stem ().string (), entry.path ().string ()});
		std::sort (inFolder.begin (), inFolder.end (),
		           [] (const PresetEntry& a, const PresetEntry& b) { return a.name < b.name; });
		for (auto& entry : inFolder)
		{
			const bool known = std::any_of (found.begin (), found.end (), [&] (const PresetEntry& e) {
				return lowered (e.name) == lowered (entry.name);
			});
			if (!known)
				found.push_back (entry);
		}
	}
	// Menu names first, in menu order; anything else after them.
	for (const auto& name : menuOrder)
	{
		const std::string fileStem = fs::path (QuillmereTools::presetFileName (name)).stem ().string ();
		auto it = std::find_if (found.begin (), found.end (),
		                        [&] (const PresetEntry& e) { return e.name == fileStem; });
		if (it != found.end ())
		{
			presets.push_back (*it);
			found.erase (it);
		}
	}
	presets.insert (presets.end (), found.begin (), found.end ());
}

std::optional<PresetEntry> PresetLibrary::find (const std::string& name) const
{
	const std::string wanted = lowered (trimmed (name));
	const std::string wantedFile =
	    lowered (fs::path (QuillmereTools::presetFileName (trimmed (name))).stem ().string ());
	for (const auto& entry : presets)
		if (lowered (entry.name) == wanted || lowered (entry.name) == wantedFile)
			return entry;
	return std::nullopt;
}

std::vector<std::string> PresetLibrary::closeMatches (const std::string& name, size_t maxCount) const
{
	const std::string wanted = lowered (trimmed (name));
	if (wanted.empty ())
		return {};
	std::vector<std::pair<size_t, std::string>> scored;
	for (const auto& entry : presets)
	{
		const std::string candidate = lowered (entry.name);
		const size_t distance = editDistance (wanted, candidate);
		const bool contains = candidate.find (wanted) != std::string::npos ||
		                      (wanted.size () >= 4 && wanted.find (candidate) != std::string::npos);
		const size_t allowed = std::max<size_t> (2, wanted.size () / 3);
		if (contains)
			scored.push_back ({0, entry.name});
		else if (distance <= allowed)
			scored.push_back ({distance, entry.name});
		else if (const size_t wordDistance = closestWord (wanted, candidate);
		         wordDistance <= std::max<size_t> (1, wanted.size () / 4))
			scored.push_back ({wordDistance + 1, entry.name}); // a mistyped word of the name
	}
	std::stable_sort (scored.begin (), scored.end (),
	                  [] (const auto& a, const auto& b) { return a.first < b.first; });
	std::vector<std::string> names;
	for (size_t i = 0; i < scored.size () && i < maxCount; ++i)
		names.push_back (scored[i].second);
	return names;
}

std::vector<std::string> presetFolders (const std::string& bundlePath, const std::string& vendor)
{
	std::vector<std::string> folders;
	auto add = [&folders] (const fs::path& folder) {
		const std::string text = folder.lexically_normal ().string ();
		if (std::find (folders.begin (), folders.end (), text) == folders.end ())
			folders.push_back (text);
	};
	// The build writes its presets beside the bundle.
	fs::path bundle (bundlePath);
	if (bundle.filename ().empty ())
		bundle = bundle.parent_path ();
	add (bundle.parent_path () / "presets");
#ifdef QUILLMERE_PRESET_DIR
	add (QUILLMERE_PRESET_DIR);
#endif
	if (const char* home = std::getenv ("HOME"))
		add (fs::path (home) / ".vst3" / "presets" / vendor / "Quillmere");
	return folders;
}

} // namespace QuillmereRender
