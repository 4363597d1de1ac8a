// The images the build draws into the bundle fit the controls the editor puts them in:
// the editor's layouts are the reference, so a file named there and missing here, or a
// strip whose frames are not as tall as its control, fails.

#include "ControlTags.h"
#include "SkinLayout.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace Steinberg::Vst;

const std::string kResources = QUILLMERE_RESOURCES_DIR;

struct Image
{
	std::unique_ptr<cairo_surface_t, decltype (&cairo_surface_destroy)> surface;

	explicit Image (const std::string& file)
	: surface (cairo_image_surface_create_from_png ((kResources + "/" + file).c_str ()),
	           &cairo_surface_destroy)
	{
	}
	bool loaded () const { return cairo_surface_status (surface.get ()) == CAIRO_STATUS_SUCCESS; }
	int width () const { return cairo_image_surface_get_width (surface.get ()); }
	int height () const { return cairo_image_surface_get_height (surface.get ()); }
	// The bytes of rows [top, top + rows).
	std::string rows (int top, int count) const
	{
		const int stride = cairo_image_surface_get_stride (surface.get ());
		const auto* data = reinterpret_cast<const char*> (cairo_image_surface_get_data (surface.get ()));
		return std::string (data + top * stride, data + (top + count) * stride);
	}
};

// Each file decoded once: the knob strips are large and many controls share them.
const Image& artwork (const std::string& file)
{
	static std::map<std::string, Image> decoded;
	auto found = decoded.find (file);
	if (found == decoded.end ())
		found = decoded.emplace (file, Image (file)).first;
	return found->second;
}

std::string contents (const std::string& path)
{
	std::ifstream in (path, std::ios::binary);
	return {std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char> ()};
}

struct Skin
{
	const char* name;
	const SkinLayout& layout;
};

class SkinArtwork : public testing::TestWithParam<Skin>
{
};

TEST_P (SkinArtwork, BackgroundFillsTheWindow)
{
	const SkinLayout& skin = GetParam ().layout;
	const Image& background = artwork (skin.backgroundFile);
	ASSERT_TRUE (background.loaded ()) << skin.backgroundFile;
	EXPECT_EQ (background.width (), skin.width);
	EXPECT_EQ (background.height (), skin.height);
}

// Each control's image has the shape its class reads: knob strips of at least 101 frames
// as tall as the knob, two states stacked for switches and step buttons, a handle
// shorter than its fader, the credits picture as large as its display rectangle.
TEST_P (SkinArtwork, EveryControlImageFitsItsControl)
{
	const SkinLayout& skin = GetParam ().layout;
	for (const LayoutRow& row : skin.rows)
	{
		if (row.bitmap == SkinLayout::kNoBitmap)
			continue;
		const char* file = skin.bitmapFiles[row.bitmap];
		SCOPED_TRACE (file);
		const Image& image = artwork (file);
		ASSERT_TRUE (image.loaded ());
		const int w = row.rect.getWidth (), h = row.rect.getHeight ();
		switch (kControlInfo[row.slot].controlClass)
		{
		case ControlClass::kAnimKnob:
			EXPECT_EQ (image.width (), w);
			EXPECT_EQ (image.height () % h, 0);
			EXPECT_GE (image.height () / h, 101);
			break;
		case ControlClass::kOnOffButton:
		case ControlClass::kKickButton:
			EXPECT_EQ (image.width (), w);
			EXPECT_EQ (image.height (), 2 * h);
			break;
		case ControlClass::kVerticalSlider:
			EXPECT_EQ (image.width (), w);
			EXPECT_GT (image.height (), 10);
			EXPECT_LT (image.height (), skin.faderHandleRange / 3);
			break;
		case ControlClass::kSplashScreen:
			EXPECT_EQ (image.width (), skin.creditsDisplay.getWidth ());
			EXPECT_EQ (image.height (), skin.creditsDisplay.getHeight ());
			break;
		default: ADD_FAILURE () << "a control of this class draws no image";
		}
	}
}

// A knob that does not move on screen between its ends is broken; so is a switch that
// looks the same on and off.
TEST_P (SkinArtwork, KnobsTurnAndSwitchesChange)
{
	const SkinLayout& skin = GetParam ().layout;
	for (const LayoutRow& row : skin.rows)
	{
		if (row.bitmap == SkinLayout::kNoBitmap)
			continue;
		const ControlClass kind = kControlInfo[row.slot].controlClass;
		const int h = row.rect.getHeight ();
		const Image& image = artwork (skin.bitmapFiles[row.bitmap]);
		SCOPED_TRACE (skin.bitmapFiles[row.bitmap]);
		ASSERT_TRUE (image.loaded ());
		if (kind == ControlClass::kAnimKnob)
		{
			const int last = image.height () / h - 1;
			EXPECT_NE (image.rows (0, h), image.rows (last * h, h));
			EXPECT_NE (image.rows (0, h), image.rows (h, h)) << "the first step is lost";
		}
		else if (kind == ControlClass::kOnOffButton || kind == ControlClass::kKickButton)
		{
			EXPECT_NE (image.rows (0, h), image.rows (h, h));
		}
	}
}

INSTANTIATE_TEST_SUITE_P (BothSkins, SkinArtwork,
                          testing::Values (Skin {"Skin1", kSkin1Layout}, Skin {"Skin2", kSkin2Layout}),
                          [] (const testing::TestParamInfo<Skin>& info) { return info.param.name; });

TEST (BundleFont, ShipsWithItsLicence)
{
	const std::string font = contents (kResources + "/LiberationSans-Regular.ttf");
	EXPECT_EQ (font, contents (std::string (QUILLMERE_FONT_DIR) + "/LiberationSans-Regular.ttf"));
	EXPECT_FALSE (font.empty ());
	const std::string licence = contents (kResources + "/LiberationSans-LICENSE.txt");
	EXPECT_NE (licence.find ("SIL OPEN FONT LICENSE Version 1.1"), std::string::npos);
	EXPECT_NE (licence.find ("Reserved Font Name Liberation"), std::string::npos);
}

// The build must give the same bundle every time: drawing again gives the same bytes.
TEST (ArtworkGenerator, DrawsTheSameBytesEveryTime)
{
	char folder[] = "/tmp/quillmere-artwork-XXXXXX";
	ASSERT_NE (mkdtemp (folder), nullptr);
	const std::string fonts = QUILLMERE_FONT_DIR;
	const std::string command = std::string (QUILLMERE_ARTWORK) + " " + folder + " " + fonts +
	                            "/LiberationSans-Regular.ttf " + fonts +
	                            "/LiberationSans-Bold.ttf " QUILLMERE_VERSION;
	ASSERT_EQ (std::system (command.c_str ()), 0);
	for (const SkinLayout* skin : {&kSkin1Layout, &kSkin2Layout})
		for (const char* file : skin->bitmapFiles)
		{
			const std::string again = contents (std::string (folder) + "/" + file);
			EXPECT_FALSE (again.empty ()) << file;
			EXPECT_TRUE (again == contents (kResources + "/" + file)) << file << " differs";
		}
	std::system ((std::string ("rm -rf ") + folder).c_str ());
}

} // namespace
