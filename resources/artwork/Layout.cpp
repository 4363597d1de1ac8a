#include "Layout.h"

#include <algorithm>

namespace artwork {
namespace {

Control knob (Rect r, const char* bitmap, const char* caption)
{
	return {Kind::Knob, r, bitmap, caption};
}
Control valueText (Rect r)
{
	return {Kind::ValueText, r, "", ""};
}
Control fader (Rect r, const char* bitmap)
{
	return {Kind::Fader, r, bitmap, ""};
}
Control menu (Rect r, const char* caption)
{
	return {Kind::VariationMenu, r, "", caption};
}
Control onOff (Rect r, const char* bitmap, const char* caption)
{
	return {Kind::Switch, r, bitmap, caption};
}
Control step (Rect r, const char* bitmap, Step direction)
{
	return {Kind::StepButton, r, bitmap, "", direction};
}

SkinLayout makeSkinOne ()
{
	SkinLayout s;
	s.number = 1;
	s.width = 1105;
	s.height = 381;
	s.background = "background.png";
	s.headerHeight = 41;
	s.creditsDisplay = {382, 19, 723, 362};
	s.controls = {
	    knob ({79, 101, 167, 189}, "knob_green.png", "Predelay"),
	    valueText ({82, 182, 165, 207}),
	    knob ({79, 268, 167, 356}, "knob_green.png", "Width"),
	    valueText ({82, 349, 165, 374}),
	    knob ({331, 101, 419, 189}, "knob_blue.png", "Room size"),
	    valueText ({335, 182, 418, 207}),
	    knob ({331, 268, 419, 356}, "knob_blue.png", "Diffusion"),
	    valueText ({335, 349, 418, 374}),
	    knob ({430, 101, 518, 189}, "knob_blue.png", "Damp intensity"),
	    valueText ({433, 182, 516, 207}),
	    knob ({430, 268, 518, 356}, "knob_blue.png", "Damp frequency"),
	    valueText ({433, 349, 516, 374}),
	    knob ({529, 268, 617, 356}, "knob_blue.png", "Mod speed"),
	    valueText ({532, 349, 615, 374}),
	    knob ({529, 101, 617, 189}, "knob_blue.png", "Mod depth"),
	    valueText ({532, 182, 615, 207}),
	    knob ({629, 101, 717, 189}, "knob_orange2.png", "Low gain"),
	    valueText ({632, 182, 715, 207}),
	    knob ({629, 268, 717, 356}, "knob_orange.png", "Low frequency"),
	    valueText ({632, 349, 715, 374}),
	    knob ({725, 101, 813, 189}, "knob_orange2.png", "Peak gain"),
	    valueText ({728, 182, 811, 207}),
	    knob ({725, 268, 813, 356}, "knob_orange.png", "Peak frequency"),
	    valueText ({728, 349, 811, 374}),
	    knob ({821, 101, 909, 189}, "knob_orange2.png", "High gain"),
	    valueText ({824, 182, 907, 207}),
	    knob ({821, 268, 909, 356}, "knob_orange.png", "High frequency"),
	    valueText ({825, 349, 908, 374}),
	    knob ({179, 220, 319, 360}, "knob_large.png", "Decay time"),
	    valueText ({195, 349, 303, 374}),
	    fader ({13, 80, 65, 363}, "fader_left.png"),
	    valueText ({13, 349, 69, 374}),
	    fader ({932, 80, 984, 363}, "fader_right.png"),
	    valueText ({927, 349, 983, 374}),
	    fader ({989, 80, 1041, 363}, "fader_right.png"),
	    valueText ({984, 349, 1040, 374}),
	    fader ({1046, 80, 1098, 363}, "fader_right.png"),
	    valueText ({1040, 349, 1096, 374}),
	    menu ({178, 80, 323, 110}, "E.R. variation"),
	    menu ({178, 135, 323, 165}, "Reverb variation"),
	    onOff ({21, 47, 63, 78}, "dry_bp.png", "Dry"),
	    onOff ({932, 47, 974, 78}, "e.r_bp.png", "E.R."),
	    onOff ({975, 47, 1045, 78}, "reverb_bp.png", "Reverb"),
	    onOff ({1047, 47, 1089, 78}, "wet_bp.png", "Wet"),
	    onOff ({932, 6, 1088, 35}, "toggle_bp.png", "Bypass"),
	    step ({329, 7, 352, 34}, "last_preset.png", Step::Previous),
	    step ({571, 7, 594, 34}, "next_preset.png", Step::Next),
	    {Kind::LockSwitch, {598, 7, 621, 34}, "lock_button.png", ""},
	    {Kind::Credits, {6, 5, 201, 36}, "credits_new.png", ""},
	    {Kind::VersionLabel, {211, 20, 301, 40}, "", ""},
	    {Kind::PresetMenu, {356, 5, 568, 33}, "", ""},
	    {Kind::SkinMenu, {673, 3, 914, 37}, "", "Skin"},
	};
	s.groups = {
	    {"", {6, 44, 72, 378}},
	    {"SPACE", {76, 44, 424, 378}},
	    {"CHARACTER", {428, 44, 521, 378}},
	    {"MODULATION", {525, 44, 621, 378}},
	    {"EQUALISER", {625, 44, 914, 378}},
	    {"", {920, 44, 1100, 378}},
	};
	return s;
}

SkinLayout makeSkinTwo ()
{
	SkinLayout s;
	s.number = 2;
	s.width = 995;
	s.height = 343;
	s.background = "background2.png";
	s.headerHeight = 37;
	s.creditsDisplay = {327, 0, 668, 343};
	s.valueTextSize = 12;
	s.menuTextSize = 14;
	s.versionTextSize = 11;
	s.valueTextGrey = 57;
	s.menuTextGrey = 160;
	s.versionTextGrey = 160;
	s.controls = {
	    knob ({76, 96, 146, 166}, "knob_red.png", "Predelay"),
	    valueText ({82, 164, 142, 188}),
	    knob ({76, 246, 146, 316}, "knob_red.png", "Width"),
	    valueText ({82, 314, 142, 338}),
	    knob ({303, 96, 373, 166}, "knob_blue2.png", "Room size"),
	    valueText ({308, 164, 368, 188}),
	    knob ({303, 246, 373, 316}, "knob_blue2.png", "Diffusion"),
	    valueText ({308, 314, 368, 338}),
	    knob ({392, 96, 462, 166}, "knob_blue2.png", "Damp intensity"),
	    valueText ({397, 164, 457, 188}),
	    knob ({392, 246, 462, 316}, "knob_blue2.png", "Damp frequency"),
	    valueText ({397, 314, 457, 338}),
	    knob ({481, 246, 551, 316}, "knob_blue2.png", "Mod speed"),
	    valueText ({486, 314, 546, 338}),
	    knob ({481, 96, 551, 166}, "knob_blue2.png", "Mod depth"),
	    valueText ({486, 164, 546, 188}),
	    knob ({571, 96, 641, 166}, "knob_orange3.png", "Low gain"),
	    valueText ({576, 164, 636, 188}),
	    knob ({571, 246, 641, 316}, "knob_yellow.png", "Low frequency"),
	    valueText ({576, 314, 636, 338}),
	    knob ({658, 96, 728, 166}, "knob_orange3.png", "Peak gain"),
	    valueText ({663, 164, 723, 188}),
	    knob ({658, 246, 728, 316}, "knob_yellow.png", "Peak frequency"),
	    valueText ({663, 314, 723, 338}),
	    knob ({745, 96, 815, 166}, "knob_orange3.png", "High gain"),
	    valueText ({750, 164, 810, 188}),
	    knob ({745, 246, 815, 316}, "knob_yellow.png", "High frequency"),
	    valueText ({750, 314, 810, 338}),
	    knob ({173, 209, 277, 313}, "bigknob.png", "Decay time"),
	    valueText ({195, 314, 255, 338}),
	    fader ({21, 71, 56, 332}, "fader.png"),
	    valueText ({14, 314, 60, 338}),
	    fader ({839, 71, 874, 332}, "fader.png"),
	    valueText ({832, 314, 878, 338}),
	    fader ({892, 71, 927, 332}, "fader.png"),
	    valueText ({885, 314, 931, 338}),
	    fader ({945, 71, 980, 332}, "fader.png"),
	    valueText ({938, 314, 984, 338}),
	    menu ({167, 75, 283, 99}, "E.R. variation"),
	    menu ({167, 125, 283, 149}, "Reverb variation"),
	    onOff ({18, 42, 59, 68}, "button_dry.png", "Dry"),
	    onOff ({836, 42, 877, 68}, "button_ER.png", "E.R."),
	    onOff ({889, 42, 930, 68}, "button_rev.png", "Rev"),
	    onOff ({942, 42, 983, 68}, "button_wet.png", "Wet"),
	    onOff ({917, 5, 982, 31}, "button_byp.png", "Bypass"),
	    step ({297, 7, 319, 29}, "button_prev.png", Step::Previous),
	    step ({513, 7, 535, 29}, "button_next.png", Step::Next),
	    {Kind::LockSwitch, {538, 7, 560, 29}, "button_lock.png", ""},
	    {Kind::Credits, {3, 4, 118, 34}, "credits_new.png", ""},
	    {Kind::VersionLabel, {155, 17, 240, 37}, "", ""},
	    {Kind::PresetMenu, {321, 6, 511, 28}, "", ""},
	    {Kind::SkinMenu, {606, 3, 823, 34}, "", "Skin"},
	};
	s.groups = {
	    {"", {4, 40, 68, 340}},
	    {"SPACE", {71, 40, 379, 340}},
	    {"CHARACTER", {383, 40, 468, 340}},
	    {"MODULATION", {472, 40, 558, 340}},
	    {"EQUALISER", {562, 40, 823, 340}},
	    {"", {828, 40, 991, 340}},
	};
	return s;
}

} // namespace

const SkinLayout& skinOne ()
{
	static const SkinLayout skin = makeSkinOne ();
	return skin;
}

const SkinLayout& skinTwo ()
{
	static const SkinLayout skin = makeSkinTwo ();
	return skin;
}

const std::vector<const SkinLayout*>& allSkins ()
{
	static const std::vector<const SkinLayout*> skins {&skinOne (), &skinTwo ()};
	return skins;
}

int faderCoveredBottom (const SkinLayout& skin, const Control& fader)
{
	int covered = 0;
	for (const Control& c : skin.controls)
	{
		const bool below = c.rect.top < fader.rect.bottom && c.rect.bottom > fader.rect.bottom;
		const bool beside = c.rect.left < fader.rect.right && c.rect.right > fader.rect.left;
		if (c.kind == Kind::ValueText && below && beside)
			covered = std::max (covered, fader.rect.bottom - c.rect.top);
	}
	return covered;
}

} // namespace artwork
