#pragma once
// The two skins' materials: skin 1 is dark graphite, skin 2 light aluminium under a dark
// header. Both are lit from the top left.

#include "Painter.h"

#include <string>

namespace artwork {

struct Theme
{
	Colour baseTop, baseBottom;         // the window behind everything
	Colour headerTop, headerBottom;     // the bar along the top
	Colour panelTop, panelBottom;       // raised group panels
	Colour panelHighlight, panelShadow; // their lit upper edge and cast shadow
	Colour label, heading, headingRule; // control names, group headings
	Colour headerText;                  // texts written on the header bar
	Colour fieldFill, fieldShade, fieldLight;       // recessed value-text fields
	Colour displayFill, displayShade, displayLight; // recessed menu and preset displays
	Colour knobBodyTop, knobBodyBottom, knobFace, knobEdge, knobTrack, knobTick, pointer;
	double shadowAlpha;
	Colour buttonTop, buttonBottom, buttonEdge, buttonText, buttonTextOn, ledOff, ledOn;
	Colour groove, grooveLight, scaleTick; // fader tracks
};

const Theme& themeFor (int skinNumber);

// A knob strip's colour family, from its file name.
struct KnobFamily
{
	Colour accent;
	bool bipolar; // gains: the arc grows from the centre, where 0 dB is
};
KnobFamily knobFamily (const std::string& file);

} // namespace artwork
