#include "Theme.h"

#include <map>

namespace artwork {
namespace {

Theme darkTheme ()
{
	Theme t;
	t.baseTop = rgb (40, 43, 48);
	t.baseBottom = rgb (25, 27, 30);
	t.headerTop = rgb (52, 56, 62);
	t.headerBottom = rgb (33, 36, 40);
	t.panelTop = rgb (48, 52, 58);
	t.panelBottom = rgb (36, 39, 44);
	t.panelHighlight = rgb (255, 255, 255, 0.09);
	t.panelShadow = rgb (0, 0, 0, 0.55);
	t.label = rgb (214, 218, 224);
	t.heading = rgb (128, 190, 230);
	t.headingRule = rgb (128, 190, 230, 0.25);
	t.headerText = rgb (206, 210, 216);
	t.fieldFill = rgb (20, 22, 25);
	t.fieldShade = rgb (0, 0, 0, 0.8);
	t.fieldLight = rgb (255, 255, 255, 0.08);
	t.displayFill = rgb (17, 20, 24);
	t.displayShade = rgb (0, 0, 0, 0.85);
	t.displayLight = rgb (255, 255, 255, 0.10);
	t.knobBodyTop = rgb (92, 97, 105);
	t.knobBodyBottom = rgb (22, 24, 27);
	t.knobFace = rgb (50, 54, 60);
	t.knobEdge = rgb (10, 11, 13);
	t.knobTrack = rgb (14, 15, 17);
	t.knobTick = rgb (120, 126, 134);
	t.pointer = rgb (240, 242, 245);
	t.shadowAlpha = 0.7;
	t.buttonTop = rgb (74, 79, 87);
	t.buttonBottom = rgb (44, 47, 52);
	t.buttonEdge = rgb (12, 13, 15);
	t.buttonText = rgb (200, 204, 210);
	t.buttonTextOn = rgb (255, 255, 255);
	t.ledOff = rgb (58, 40, 36);
	t.ledOn = rgb (255, 92, 60);
	t.groove = rgb (10, 11, 13);
	t.grooveLight = rgb (255, 255, 255, 0.10);
	t.scaleTick = rgb (112, 118, 126);
	return t;
}

Theme lightTheme ()
{
	Theme t = darkTheme ();
	t.baseTop = rgb (212, 215, 219);
	t.baseBottom = rgb (186, 190, 195);
	t.panelTop = rgb (236, 238, 240);
	t.panelBottom = rgb (214, 217, 221);
	t.panelHighlight = rgb (255, 255, 255, 0.9);
	t.panelShadow = rgb (40, 45, 55, 0.35);
	t.label = rgb (52, 56, 62);
	t.heading = rgb (34, 104, 170);
	t.headingRule = rgb (34, 104, 170, 0.3);
	t.fieldFill = rgb (246, 247, 248);
	t.fieldShade = rgb (60, 66, 76, 0.45);
	t.fieldLight = rgb (255, 255, 255, 0.95);
	t.knobBodyTop = rgb (250, 251, 252);
	t.knobBodyBottom = rgb (150, 155, 162);
	t.knobFace = rgb (226, 229, 233);
	t.knobEdge = rgb (110, 115, 122);
	t.knobTrack = rgb (172, 177, 184);
	t.knobTick = rgb (120, 125, 132);
	t.pointer = rgb (40, 44, 50);
	t.shadowAlpha = 0.45;
	t.buttonTop = rgb (250, 251, 252);
	t.buttonBottom = rgb (208, 212, 217);
	t.buttonEdge = rgb (120, 126, 134);
	t.buttonText = rgb (52, 56, 62);
	t.buttonTextOn = rgb (20, 22, 25);
	t.ledOff = rgb (176, 160, 156);
	t.ledOn = rgb (240, 70, 40);
	t.groove = rgb (70, 75, 82);
	t.grooveLight = rgb (255, 255, 255, 0.9);
	t.scaleTick = rgb (120, 125, 132);
	return t;
}

} // namespace

const Theme& themeFor (int skinNumber)
{
	static const Theme dark = darkTheme ();
	static const Theme light = lightTheme ();
	return skinNumber == 2 ? light : dark;
}

KnobFamily knobFamily (const std::string& file)
{
	static const std::map<std::string, KnobFamily> families {
	    {"knob_green.png", {rgb (92, 214, 140), false}},
	    {"knob_blue.png", {rgb (84, 170, 255), false}},
	    {"knob_orange.png", {rgb (255, 160, 64), false}},
	    {"knob_orange2.png", {rgb (255, 118, 72), true}},
	    {"knob_large.png", {rgb (236, 196, 120), false}},
	    {"knob_red.png", {rgb (222, 66, 58), false}},
	    {"knob_blue2.png", {rgb (40, 124, 214), false}},
	    {"knob_yellow.png", {rgb (226, 168, 20), false}},
	    {"knob_orange3.png", {rgb (238, 112, 36), true}},
	    {"bigknob.png", {rgb (46, 92, 170), false}},
	};
	const auto found = families.find (file);
	return found != families.end () ? found->second : KnobFamily {rgb (200, 200, 200), false};
}

} // namespace artwork
