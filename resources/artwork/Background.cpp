#include "Background.h"

#include "Controls.h"

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

Box boxOf (const Rect& r)
{
	return {double (r.left), double (r.top), double (r.width ()), double (r.height ())};
}

struct Painter
{
	cairo_t* cr;
	const SkinLayout& skin;
	const Theme& theme;
	const Fonts& fonts;

	bool large () const { return skin.number != 2; }
	double labelSize () const { return large () ? 12 : 11; }

	void window ()
	{
		const Box all {0, 0, double (skin.width), double (skin.height)};
		cairo_rectangle (cr, 0, 0, all.w, all.h);
		fillWith (cr, verticalGradient (all, theme.baseTop, theme.baseBottom));
	}

	void header ()
	{
		const Box bar {0, 0, double (skin.width), double (skin.headerHeight)};
		softShadow (cr, [&] (cairo_t* s) { cairo_rectangle (s, -20, -20, bar.w + 40, bar.h + 20); },
		            4, 0, 1.5, rgb (0, 0, 0, 0.5));
		cairo_rectangle (cr, 0, 0, bar.w, bar.h);
		fillWith (cr, verticalGradient (bar, theme.headerTop, theme.headerBottom));
		cairo_set_line_width (cr, 1);
		cairo_move_to (cr, 0, 0.5);
		cairo_line_to (cr, bar.w, 0.5);
		setColour (cr, rgb (255, 255, 255, 0.10));
		cairo_stroke (cr);
		cairo_move_to (cr, 0, bar.h - 0.5);
		cairo_line_to (cr, bar.w, bar.h - 0.5);
		setColour (cr, rgb (0, 0, 0, 0.6));
		cairo_stroke (cr);
	}

	void panel (const Group& group)
	{
		const Box box = boxOf (group.area);
		const double radius = 6;
		softShadow (cr, [&] (cairo_t* s) { roundedBox (s, box, radius); }, 6, 1.5, 2.5,
		            theme.panelShadow);
		roundedBox (cr, box, radius);
		fillWith (cr, verticalGradient (box, theme.panelTop, theme.panelBottom));
		// Lit upper and left rims, a shaded lower one.
		cairo_set_line_width (cr, 1);
		roundedBox (cr, box.inset (0.5, 0.5), radius - 0.5);
		cairo_pattern_t* rim = cairo_pattern_create_linear (box.x, box.y, box.x + box.w * 0.25, box.bottom ());
		cairo_pattern_add_color_stop_rgba (rim, 0, 1, 1, 1, theme.panelHighlight.a);
		cairo_pattern_add_color_stop_rgba (rim, 1, 0, 0, 0, 0.25);
		cairo_set_source (cr, rim);
		cairo_stroke (cr);
		cairo_pattern_destroy (rim);

		if (group.heading.empty ())
			return;
		const double size = large () ? 11 : 10;
		const double baseline = box.y + (large () ? 15 : 13);
		// A heading with a rule after it; centred alone where the panel is too narrow.
		const double tracking = 1.2;
		const double width = fonts.bold.width (group.heading, size, tracking);
		const bool ruled = width + 40 < box.w;
		const double x = ruled ? box.x + 9 : box.centreX () - width / 2;
		setColour (cr, theme.heading);
		fonts.bold.draw (cr, group.heading, size, x, baseline, Align::Left, tracking);
		const double ruleX = x + width + 7;
		const double ruleY = std::floor (baseline - fonts.bold.capHeight (size) / 2) + 0.5;
		if (ruled)
		{
			cairo_move_to (cr, ruleX, ruleY);
			cairo_line_to (cr, box.right () - 9, ruleY);
			setColour (cr, theme.headingRule);
			cairo_stroke (cr);
		}
	}

	void caption (const std::string& text, double centreX, double baseline)
	{
		setColour (cr, theme.label);
		fonts.regular.draw (cr, text, labelSize (), centreX, baseline, Align::Centre, 0.2);
	}

	void valueField (const Control& c)
	{
		const Box box = boxOf (c.rect).inset (large () ? 4 : 3, 2);
		recessedField (cr, box, 3, theme.fieldFill, theme.fieldShade, theme.fieldLight);
	}

	void display (const Box& box)
	{
		recessedField (cr, box, 3, theme.displayFill, theme.displayShade, theme.displayLight);
	}

	void downArrow (double x, double y, double size, Colour ink)
	{
		cairo_move_to (cr, x - size, y - size * 0.5);
		cairo_line_to (cr, x + size, y - size * 0.5);
		cairo_line_to (cr, x, y + size * 0.6);
		cairo_close_path (cr);
		setColour (cr, ink);
		cairo_fill (cr);
	}

	void variationMenu (const Control& c)
	{
		const Box box = boxOf (c.rect);
		display (box);
		const double arrow = large () ? 4 : 3.5;
		downArrow (box.right () - 11, box.centreY (), arrow, rgb (150, 156, 164));
		caption (c.caption, box.centreX (), box.y - 5);
	}

	void fader (const Control& c)
	{
		const Box box = boxOf (c.rect);
		const double cap = faderCapHeight (c.rect.width ());
		const double top = box.y + cap / 2;
		const double bottom = box.bottom () - faderCoveredBottom (skin, c) - cap / 2;
		const double x = std::round (box.centreX ());
		const Box slot {x - 2.5, top - 3, 5, bottom - top + 6};
		recessedField (cr, slot, 2.5, theme.groove, theme.fieldShade, theme.grooveLight);

		// A scale of 11 marks down each side; the ends and the middle are longer.
		cairo_set_line_width (cr, 1);
		setColour (cr, theme.scaleTick);
		const double reach = large () ? 10 : 8;
		for (int i = 0; i <= 10; ++i)
		{
			const double y = std::round (top + (bottom - top) * i / 10.0) + 0.5;
			const double length = (i % 5 == 0) ? reach - 4 : reach - 6.5;
			for (int side = -1; side <= 1; side += 2)
			{
				cairo_move_to (cr, x + side * (reach - length), y);
				cairo_line_to (cr, x + side * reach, y);
			}
		}
		cairo_stroke (cr);
	}

	void credits (const Control& c)
	{
		const Box box = boxOf (c.rect);
		const double r = box.h * 0.36;
		const double logoX = box.x + 6 + r;
		drawLogo (cr, logoX, box.centreY (), r, theme.heading);
		const double size = large () ? 21 : 16;
		setColour (cr, theme.headerText);
		const double textX = logoX + r + (large () ? 9 : 6);
		fonts.bold.draw (cr, "Quillmere", size, textX, box.centreY () + fonts.bold.capHeight (size) / 2,
		                 Align::Left, 0.3);
		// A small "i" in a ring says the name leads somewhere.
		const double infoR = large () ? 7 : 5.5;
		const double infoX = box.right () - infoR - 4;
		const double textEnd = textX + fonts.bold.width ("Quillmere", size, 0.3);
		if (infoX - infoR > textEnd + 2)
		{
			cairo_set_line_width (cr, 1.2);
			cairo_new_sub_path (cr);
			cairo_arc (cr, infoX, box.centreY (), infoR, 0, 2 * M_PI);
			setColour (cr, withAlpha (theme.headerText, 0.6));
			cairo_stroke (cr);
			fonts.bold.drawCentred (cr, "i", infoR * 1.4,
			                        Box {infoX - infoR, box.centreY () - infoR, 2 * infoR, 2 * infoR});
		}
	}

	void presetArea (const Control& menu)
	{
		// One housing for the step buttons, the display and the lock.
		Rect span = menu.rect;
		for (const Control& c : skin.controls)
			if (c.kind == Kind::StepButton || c.kind == Kind::LockSwitch)
			{
				span.left = std::min (span.left, c.rect.left);
				span.right = std::max (span.right, c.rect.right);
			}
		const Box housing = boxOf (span).inset (-3, 0);
		const Box well {housing.x, 2, housing.w, skin.headerHeight - 4.0};
		recessedField (cr, well, 5, rgb (0, 0, 0, 0.22), rgb (0, 0, 0, 0.6), rgb (255, 255, 255, 0.07));
		display (boxOf (menu.rect));
		downArrow (menu.rect.right - 8, boxOf (menu.rect).centreY (), 3, rgb (110, 116, 124));
	}

	void skinButton (const Control& c)
	{
		const Box box = boxOf (c.rect).inset (2, 2);
		softShadow (cr, [&] (cairo_t* s) { roundedBox (s, box, 4); }, 3, 1, 1.5, rgb (0, 0, 0, 0.6));
		roundedBox (cr, box, 4);
		fillWith (cr, verticalGradient (box, rgb (70, 75, 83), rgb (42, 45, 50)));
		cairo_set_line_width (cr, 1);
		roundedBox (cr, box.inset (0.5, 0.5), 3.5);
		setColour (cr, rgb (10, 11, 13));
		cairo_stroke (cr);
		cairo_move_to (cr, box.x + 4, box.y + 1.5);
		cairo_line_to (cr, box.right () - 4, box.y + 1.5);
		setColour (cr, rgb (255, 255, 255, 0.18));
		cairo_stroke (cr);

		// Two overlapping swatches, dark and light: the two looks to choose from.
		const double s = box.h * 0.36;
		const double sx = box.x + 10, sy = box.centreY () - s * 0.65;
		roundedBox (cr, Box {sx, sy, s, s}, 1.5);
		setColour (cr, rgb (30, 33, 37));
		cairo_fill_preserve (cr);
		setColour (cr, rgb (150, 156, 164));
		cairo_stroke (cr);
		roundedBox (cr, Box {sx + s * 0.45, sy + s * 0.45, s, s}, 1.5);
		setColour (cr, rgb (226, 229, 233));
		cairo_fill_preserve (cr);
		setColour (cr, rgb (150, 156, 164));
		cairo_stroke (cr);

		const double size = large () ? 13 : 12;
		setColour (cr, theme.headerText);
		fonts.regular.draw (cr, "Skin", size, sx + s * 1.45 + 8,
		                    box.centreY () + fonts.regular.capHeight (size) / 2, Align::Left, 0.3);
		downArrow (box.right () - 13, box.centreY (), 4, rgb (170, 176, 184));
	}

	void control (const Control& c)
	{
		switch (c.kind)
		{
		case Kind::Knob:
			caption (c.caption, (c.rect.left + c.rect.right) / 2.0, c.rect.top - 4);
			break;
		case Kind::ValueText: valueField (c); break;
		case Kind::Fader: fader (c); break;
		case Kind::VariationMenu: variationMenu (c); break;
		case Kind::Credits: credits (c); break;
		case Kind::PresetMenu: presetArea (c); break;
		case Kind::SkinMenu: skinButton (c); break;
		case Kind::Switch:
		case Kind::StepButton:
		case Kind::LockSwitch:
		case Kind::VersionLabel: break; // these draw themselves or need only plain ground
		}
	}
};

} // namespace

Surface background (const SkinLayout& skin, const Theme& theme, const Fonts& fonts)
{
	Surface image = newImage (skin.width, skin.height);
	Context context = newContext (image);
	Painter p {context.get (), skin, theme, fonts};
	p.window ();
	for (const Group& g : skin.groups)
		p.panel (g);
	p.header ();
	for (const Control& c : skin.controls)
		p.control (c);
	return image;
}

} // namespace artwork
