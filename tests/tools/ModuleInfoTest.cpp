// The bundle's moduleinfo.json says what its factory says.

#include "BundleFixture.h"
#include "ModuleInfo.h"
#include "PresetFiles.h"

#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

using namespace Steinberg;

namespace {
std::string field (const char8* text, size_t size)
{
	return std::string (text, strnlen (text, size));
}
} // namespace

TEST (ModuleInfo, TheBuiltFileParsesAndMatchesTheFactory)
{
	std::ifstream in (QUILLMERE_MODULEINFO);
	ASSERT_TRUE (in) << QUILLMERE_MODULEINFO;
	const auto info = nlohmann::json::parse (in, nullptr, /*allow_exceptions*/ false);
	ASSERT_FALSE (info.is_discarded ()) << "moduleinfo.json is not valid JSON";

	const auto module = QuillmereTest::bundle ();
	ASSERT_TRUE (module);
	const PFactoryInfo factory = module->factoryInfo ();
	EXPECT_EQ (info["Name"], "Quillmere");
	EXPECT_EQ (info["Version"], "2.0.2.0");
	EXPECT_EQ (info["Factory Info"]["Vendor"], field (factory.vendor, sizeof (factory.vendor)));
	EXPECT_EQ (info["Factory Info"]["URL"], field (factory.url, sizeof (factory.url)));
	EXPECT_EQ (info["Factory Info"]["E-Mail"], field (factory.email, sizeof (factory.email)));
	EXPECT_EQ (info["Factory Info"]["Flags"]["Unicode"], true);
	EXPECT_EQ (info["Factory Info"]["Flags"]["Classes Discardable"], false);
	EXPECT_TRUE (info["Compatibility"].is_array ());

	const auto classes = module->classInfos ();
	ASSERT_EQ (info["Classes"].size (), classes.size ());
	const auto& entry = info["Classes"][0];
	const PClassInfo2& c = classes[0];
	EXPECT_EQ (entry["CID"], "D6FAE8EBF87044EF9AAB360BB521FC19");
	EXPECT_EQ (entry["CID"], QuillmereTools::classIdText (FUID::fromTUID (c.cid)));
	EXPECT_EQ (entry["Category"], "Audio Module Class");
	EXPECT_EQ (entry["Category"], field (c.category, sizeof (c.category)));
	EXPECT_EQ (entry["Name"], field (c.name, sizeof (c.name)));
	EXPECT_EQ (entry["Vendor"], "Quillmere Audio"); // the class leaves it to the factory
	EXPECT_EQ (entry["Version"], field (c.version, sizeof (c.version)));
	EXPECT_EQ (entry["SDKVersion"], "VST 3.6.6");
	EXPECT_EQ (entry["Sub Categories"], nlohmann::json::array ({"Fx", "Reverb"}));
	EXPECT_EQ (entry["Class Flags"], c.classFlags);
	EXPECT_EQ (entry["Cardinality"], 0x7FFFFFFF);
	EXPECT_TRUE (entry["Snapshots"].is_array ());
}

TEST (ModuleInfo, SubCategoriesSplitAtBarsWithoutEmptyParts)
{
	using V = std::vector<std::string>;
	EXPECT_EQ (QuillmereTools::splitSubCategories ("Fx|Reverb"), (V {"Fx", "Reverb"}));
	EXPECT_EQ (QuillmereTools::splitSubCategories ("Fx"), (V {"Fx"}));
	EXPECT_EQ (QuillmereTools::splitSubCategories ("|Fx||Delay|"), (V {"Fx", "Delay"}));
	EXPECT_TRUE (QuillmereTools::splitSubCategories ("").empty ());
}
