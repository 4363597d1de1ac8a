#include "Artwork.h"

#include "Background.h"
#include "Controls.h"

#include <set>

namespace artwork {
namespace {

// The dry fader's index line is the dry knobs' green in skin 1; the wet side's is white.
Colour faderAccent (const std::string& file, const Theme& theme)
{
	if (file == "fader_left.png")
		return knobFamily ("knob_green.png").accent;
	return mix (theme.pointer, theme.heading, 0.3);
}

Surface drawControl (const SkinLayout& skin, const Control& c, const Theme& theme, const Fonts& fonts,
                     const std::string& version)
{
	const int w = c.rect.width (), h = c.rect.height ();
	switch (c.kind)
	{
	case Kind::Knob: return knobStrip (theme, knobFamily (c.bitmap), w);
	case Kind::Fader:
		return faderHandle (theme, faderAccent (c.bitmap, theme), w, faderCapHeight (w),
		                    faderCoveredBottom (skin, c));
	case Kind::Switch: return switchButton (theme, fonts.regular, c.caption, w, h);
	case Kind::StepButton: return stepButton (theme, c.step == Step::Next, w, h);
	case Kind::LockSwitch: return lockButton (theme, w, h);
	case Kind::Credits:
		return creditsPicture (fonts, skin.creditsDisplay.width (), skin.creditsDisplay.height (),
		                       version);
	default: return nullptr;
	}
}

} // namespace

std::vector<Picture> drawSkin (const SkinLayout& skin, const Fonts& fonts, const std::string& version)
{
	const Theme& theme = themeFor (skin.number);
	std::vector<Picture> pictures;
	std::set<std::string> drawn;
	for (const Control& c : skin.controls)
	{
		if (c.bitmap.empty () || !drawn.insert (c.bitmap).second)
			continue;
		pictures.push_back ({c.bitmap, drawControl (skin, c, theme, fonts, version)});
	}
	pictures.push_back ({skin.background, background (skin, theme, fonts)});
	return pictures;
}

} // namespace artwork
