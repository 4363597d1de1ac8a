#include "ModuleInfo.h"

#include "PresetFiles.h"

#include <cstring>

using namespace Steinberg;

namespace QuillmereTools {

static std::string fieldText (const char8* field, size_t size)
{
	return std::string (field, strnlen (field, size));
}

std::vector<std::string> splitSubCategories (const std::string& text)
{
	std::vector<std::string> parts;
	size_t start = 0;
	while (start <= text.size ())
	{
		const size_t bar = text.find ('|', start);
		const size_t end = bar == std::string::npos ? text.size () : bar;
		if (end > start)
			parts.push_back (text.substr (start, end - start));
		start = end + 1;
	}
	return parts;
}

nlohmann::ordered_json describeModule (const QuillmereHost::PluginModule& module,
                                       const std::string& moduleName)
{
	const PFactoryInfo factory = module.factoryInfo ();
	const std::string vendor = fieldText (factory.vendor, sizeof (factory.vendor));
	const auto classes = module.classInfos ();

	nlohmann::ordered_json info;
	info["Name"] = moduleName;
	info["Version"] = classes.empty () ? "" : fieldText (classes[0].version, sizeof (classes[0].version));
	info["Factory Info"] = {
	    {"Vendor", vendor},
	    {"URL", fieldText (factory.url, sizeof (factory.url))},
	    {"E-Mail", fieldText (factory.email, sizeof (factory.email))},
	    {"Flags",
	     {{"Unicode", (factory.flags & PFactoryInfo::kUnicode) != 0},
	      {"Classes Discardable", (factory.flags & PFactoryInfo::kClassesDiscardable) != 0},
	      {"Component Non Discardable", (factory.flags & PFactoryInfo::kComponentNonDiscardable) != 0}}}};
	info["Compatibility"] = nlohmann::ordered_json::array ();

	auto classList = nlohmann::ordered_json::array ();
	for (const auto& c : classes)
	{
		const std::string classVendor = fieldText (c.vendor, sizeof (c.vendor));
		nlohmann::ordered_json entry;
		entry["CID"] = classIdText (FUID::fromTUID (c.cid));
		entry["Category"] = fieldText (c.category, sizeof (c.category));
		entry["Name"] = fieldText (c.name, sizeof (c.name));
		// An empty class vendor means the factory's vendor applies.
		entry["Vendor"] = classVendor.empty () ? vendor : classVendor;
		entry["Version"] = fieldText (c.version, sizeof (c.version));
		entry["SDKVersion"] = fieldText (c.sdkVersion, sizeof (c.sdkVersion));
		entry["Sub Categories"] = splitSubCategories (fieldText (c.subCategories, sizeof (c.subCategories)));
		entry["Class Flags"] = c.classFlags;
		entry["Cardinality"] = c.cardinality;
		entry["Snapshots"] = nlohmann::ordered_json::array ();
		classList.push_back (entry);
	}
	info["Classes"] = classList;
	return info;
}

} // namespace QuillmereTools
