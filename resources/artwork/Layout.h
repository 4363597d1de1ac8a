#pragma once
// Where the editor puts each control in the two skins, as far as the artwork cares: the
// rectangles the images must fit, the files they go to, and the names the background
// writes beside them.

#include <string>
#include <vector>

namespace artwork {

struct Rect
{
	int left = 0, top = 0, right = 0, bottom = 0;

	int width () const { return right - left; }
	int height () const { return bottom - top; }
};

enum class Kind
{
	Knob,
	ValueText,
	Fader,
	VariationMenu,
	Switch,
	StepButton,
	LockSwitch,
	Credits,
	VersionLabel,
	PresetMenu,
	SkinMenu,
};

enum class Step
{
	None,
	Previous,
	Next
};

struct Control
{
	Kind kind;
	Rect rect;
	std::string bitmap;  // empty when the control draws no image
	std::string caption; // what the artwork calls it; empty when nothing is written
	Step step = Step::None;
};

// The groups of controls the background sets apart.
struct Group
{
	std::string heading; // empty for a panel without a heading
	Rect area;
};

struct SkinLayout
{
	int number = 1;
	int width = 0, height = 0;
	std::string background;
	int headerHeight = 0; // the dark bar along the top that holds presets and the menus
	Rect creditsDisplay;  // where the credits picture shows when the credits area is clicked
	std::vector<Control> controls;
	std::vector<Group> groups;

	// Fonts and colours the editor uses for its texts in this skin (pixel sizes).
	double valueTextSize = 14, menuTextSize = 18, versionTextSize = 12, presetTextSize = 18;
	int valueTextGrey = 164, menuTextGrey = 164, versionTextGrey = 164;
};

const SkinLayout& skinOne ();
const SkinLayout& skinTwo ();
const std::vector<const SkinLayout*>& allSkins ();

// How far the value text under a fader covers the fader's lower end (0 if none does).
int faderCoveredBottom (const SkinLayout& skin, const Control& fader);

} // namespace artwork
