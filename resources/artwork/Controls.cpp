#include "Controls.h"

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

constexpr double kDegree = M_PI / 180.0;
// Cairo's angles run clockwise from three o'clock; the knob's from twelve.
constexpr double kStartAngle = -225 * kDegree;
constexpr double kSweep = 270 * kDegree;

double angleOf (double value)
{
	return kStartAngle + kSweep * value;
}

void circle (cairo_t* cr, double x, double y, double r)
{
	cairo_new_sub_path (cr);
	cairo_arc (cr, x, y, r, 0, 2 * M_PI);
}

// Everything of the knob that does not turn: shadow, scale, track and body. The light
// comes from the top left, so the body's shading stays put while the pointer turns.
void drawKnobBase (cairo_t* cr, const Theme& theme, double size)
{
	const double c = size / 2;
	const double body = size * 0.30;
	const double ring = size * 0.405;
	const double tickOuter = size * 0.47;

	softShadow (cr, [=] (cairo_t* s) { circle (s, c, c, body); }, size * 0.07, size * 0.02,
	            size * 0.04, rgb (0, 0, 0, theme.shadowAlpha));

	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	setColour (cr, theme.knobTick);
	for (int i = 0; i <= 10; ++i)
	{
		const double a = angleOf (i / 10.0);
		const bool major = i == 0 || i == 5 || i == 10;
		const double inner = tickOuter - size * (major ? 0.045 : 0.028);
		cairo_set_line_width (cr, std::max (1.0, size * (major ? 0.018 : 0.013)));
		cairo_move_to (cr, c + inner * std::cos (a), c + inner * std::sin (a));
		cairo_line_to (cr, c + tickOuter * std::cos (a), c + tickOuter * std::sin (a));
		cairo_stroke (cr);
	}

	cairo_set_line_width (cr, size * 0.05);
	setColour (cr, theme.knobTrack);
	cairo_arc (cr, c, c, ring, angleOf (0), angleOf (1));
	cairo_stroke (cr);

	// Bevel: a cone lit on its upper left, then the cap inside it.
	circle (cr, c, c, body);
	cairo_pattern_t* bevel =
	    cairo_pattern_create_linear (c - body, c - body, c + body * 0.7, c + body * 0.7);
	cairo_pattern_add_color_stop_rgba (bevel, 0, theme.knobBodyTop.r, theme.knobBodyTop.g,
	                                   theme.knobBodyTop.b, 1);
	cairo_pattern_add_color_stop_rgba (bevel, 1, theme.knobBodyBottom.r, theme.knobBodyBottom.g,
	                                   theme.knobBodyBottom.b, 1);
	fillWith (cr, bevel);

	const double cap = body * 0.84;
	circle (cr, c, c, cap);
	cairo_pattern_t* face = cairo_pattern_create_linear (c - cap, c - cap, c + cap, c + cap);
	const Colour faceLight = mix (theme.knobFace, theme.knobBodyTop, 0.25);
	const Colour faceDark = mix (theme.knobFace, theme.knobBodyBottom, 0.25);
	cairo_pattern_add_color_stop_rgba (face, 0, faceDark.r, faceDark.g, faceDark.b, 1);
	cairo_pattern_add_color_stop_rgba (face, 1, faceLight.r, faceLight.g, faceLight.b, 1);
	fillWith (cr, face);

	// A soft sheen on the upper left of the cap.
	circle (cr, c, c, cap);
	cairo_pattern_t* sheen =
	    cairo_pattern_create_radial (c - cap * 0.35, c - cap * 0.45, 0, c - cap * 0.35,
	                                 c - cap * 0.45, cap * 1.1);
	cairo_pattern_add_color_stop_rgba (sheen, 0, 1, 1, 1, 0.16);
	cairo_pattern_add_color_stop_rgba (sheen, 1, 1, 1, 1, 0);
	fillWith (cr, sheen);

	cairo_set_line_width (cr, 1);
	circle (cr, c, c, body - 0.5);
	setColour (cr, withAlpha (theme.knobEdge, 0.8));
	cairo_stroke (cr);
}

void drawKnobValue (cairo_t* cr, const Theme& theme, const KnobFamily& family, double size,
                    double value)
{
	const double c = size / 2;
	const double ring = size * 0.405;
	const double cap = size * 0.30 * 0.84;
	const double from = family.bipolar ? angleOf (0.5) : angleOf (0);
	const double to = angleOf (value);
	const double low = std::min (from, to), high = std::max (from, to);

	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	if (high - low > 1e-9)
	{
		cairo_set_line_width (cr, size * 0.11);
		setColour (cr, withAlpha (family.accent, 0.16));
		cairo_arc (cr, c, c, ring, low, high);
		cairo_stroke (cr);
	}
	cairo_set_line_width (cr, size * 0.045);
	setColour (cr, family.accent);
	cairo_arc (cr, c, c, ring, low, high);
	if (high - low <= 1e-9)
		cairo_line_to (cr, c + ring * std::cos (to), c + ring * std::sin (to) + 0.01);
	cairo_stroke (cr);

	const double dx = std::cos (to), dy = std::sin (to);
	cairo_set_line_width (cr, std::max (1.6, size * 0.034));
	setColour (cr, withAlpha (rgb (0, 0, 0), 0.35));
	cairo_move_to (cr, c + dx * cap * 0.32 + 0.6, c + dy * cap * 0.32 + 0.8);
	cairo_line_to (cr, c + dx * cap * 0.86 + 0.6, c + dy * cap * 0.86 + 0.8);
	cairo_stroke (cr);
	setColour (cr, theme.pointer);
	cairo_move_to (cr, c + dx * cap * 0.32, c + dy * cap * 0.32);
	cairo_line_to (cr, c + dx * cap * 0.86, c + dy * cap * 0.86);
	cairo_stroke (cr);
}

// A button face lit from the top left; pressed faces sit lower and darker.
void drawButtonFace (cairo_t* cr, const Theme& theme, const Box& box, bool pressed)
{
	const double radius = std::min (4.0, box.h / 4);
	softShadow (cr, [&] (cairo_t* s) { roundedBox (s, box, radius); }, pressed ? 1.5 : 3,
	            pressed ? 0.3 : 1, pressed ? 0.5 : 1.5, rgb (0, 0, 0, theme.shadowAlpha * 0.9));
	roundedBox (cr, box, radius);
	const Colour top = pressed ? mix (theme.buttonBottom, theme.buttonEdge, 0.25) : theme.buttonTop;
	const Colour bottom = pressed ? theme.buttonBottom : mix (theme.buttonBottom, theme.buttonEdge, 0.1);
	fillWith (cr, verticalGradient (box, top, bottom));

	cairo_set_line_width (cr, 1);
	roundedBox (cr, box.inset (0.5, 0.5), radius - 0.5);
	setColour (cr, theme.buttonEdge);
	cairo_stroke (cr);
	if (!pressed)
	{
		// The lit upper rim.
		cairo_move_to (cr, box.x + radius, box.y + 1.5);
		cairo_line_to (cr, box.right () - radius, box.y + 1.5);
		setColour (cr, rgb (255, 255, 255, 0.22));
		cairo_stroke (cr);
	}
}

void drawLed (cairo_t* cr, const Theme& theme, double x, double y, double r, bool lit)
{
	if (lit)
	{
		circle (cr, x, y, r * 3);
		cairo_pattern_t* glow = cairo_pattern_create_radial (x, y, 0, x, y, r * 3);
		cairo_pattern_add_color_stop_rgba (glow, 0, theme.ledOn.r, theme.ledOn.g, theme.ledOn.b, 0.55);
		cairo_pattern_add_color_stop_rgba (glow, 1, theme.ledOn.r, theme.ledOn.g, theme.ledOn.b, 0);
		fillWith (cr, glow);
	}
	circle (cr, x, y, r);
	const Colour c = lit ? theme.ledOn : theme.ledOff;
	cairo_pattern_t* dome = cairo_pattern_create_radial (x - r * 0.3, y - r * 0.4, 0, x, y, r);
	const Colour hot = mix (c, rgb (255, 255, 255), lit ? 0.6 : 0.25);
	cairo_pattern_add_color_stop_rgba (dome, 0, hot.r, hot.g, hot.b, 1);
	cairo_pattern_add_color_stop_rgba (dome, 1, c.r, c.g, c.b, 1);
	fillWith (cr, dome);
	cairo_set_line_width (cr, 0.8);
	circle (cr, x, y, r);
	setColour (cr, rgb (0, 0, 0, 0.5));
	cairo_stroke (cr);
}

// The face of one state of a two-state button inside its cell.
Box buttonBox (int width, int height)
{
	return Box {1, 1, width - 3.0, height - 3.0};
}

// Runs `drawState` for the off state in the upper cell and the on state in the lower one.
template <typename DrawState>
Surface twoStates (int width, int height, DrawState drawState)
{
	Surface image = newImage (width, 2 * height);
	Context cr = newContext (image);
	for (int state = 0; state < 2; ++state)
	{
		cairo_save (cr.get ());
		cairo_rectangle (cr.get (), 0, state * height, width, height);
		cairo_clip (cr.get ());
		cairo_translate (cr.get (), 0, state * height);
		drawState (cr.get (), state == 1);
		cairo_restore (cr.get ());
	}
	return image;
}

} // namespace

Surface knobStrip (const Theme& theme, const KnobFamily& family, int size, int frames)
{
	Surface base = newImage (size, size);
	drawKnobBase (newContext (base).get (), theme, size);

	Surface strip = newImage (size, size * frames);
	Context cr = newContext (strip);
	for (int i = 0; i < frames; ++i)
	{
		cairo_save (cr.get ());
		cairo_translate (cr.get (), 0, i * size);
		cairo_rectangle (cr.get (), 0, 0, size, size);
		cairo_clip (cr.get ());
		cairo_set_source_surface (cr.get (), base.get (), 0, 0);
		cairo_paint (cr.get ());
		drawKnobValue (cr.get (), theme, family, size, frames > 1 ? double (i) / (frames - 1) : 0);
		cairo_restore (cr.get ());
	}
	return strip;
}

int faderCapHeight (int faderWidth)
{
	return faderWidth >= 45 ? 34 : 30;
}

Surface faderHandle (const Theme& theme, Colour accent, int width, int capHeight, int clearBelow)
{
	Surface image = newImage (width, capHeight + clearBelow);
	Context context = newContext (image);
	cairo_t* cr = context.get ();
	const double capWidth = std::min (width - 8.0, 40.0);
	const Box cap {(width - capWidth) / 2, 1, capWidth, capHeight - 4.0};

	softShadow (cr, [&] (cairo_t* s) { roundedBox (s, cap, 3); }, 4, 1.5, 2.5,
	            rgb (0, 0, 0, theme.shadowAlpha));
	roundedBox (cr, cap, 3);
	fillWith (cr, verticalGradient (cap, theme.buttonTop, theme.buttonBottom));

	// Grip ridges above and below the index line, each a shade and a light.
	cairo_set_line_width (cr, 1);
	for (int side = -1; side <= 1; side += 2)
		for (int k = 1; k <= 3; ++k)
		{
			const double y = std::floor (cap.centreY () + side * (2 + 3.5 * k)) + 0.5;
			cairo_move_to (cr, cap.x + 3, y);
			cairo_line_to (cr, cap.right () - 3, y);
			setColour (cr, rgb (0, 0, 0, 0.35));
			cairo_stroke (cr);
			cairo_move_to (cr, cap.x + 3, y + 1);
			cairo_line_to (cr, cap.right () - 3, y + 1);
			setColour (cr, rgb (255, 255, 255, 0.16));
			cairo_stroke (cr);
		}
	cairo_set_line_width (cr, 2);
	cairo_move_to (cr, cap.x + 2, cap.centreY ());
	cairo_line_to (cr, cap.right () - 2, cap.centreY ());
	setColour (cr, accent);
	cairo_stroke (cr);

	roundedBox (cr, cap.inset (0.5, 0.5), 2.5);
	cairo_set_line_width (cr, 1);
	setColour (cr, theme.buttonEdge);
	cairo_stroke (cr);
	cairo_move_to (cr, cap.x + 3, cap.y + 1.5);
	cairo_line_to (cr, cap.right () - 3, cap.y + 1.5);
	setColour (cr, rgb (255, 255, 255, 0.25));
	cairo_stroke (cr);
	return image;
}

Surface switchButton (const Theme& theme, const Typeface& font, const std::string& caption,
                      int width, int height)
{
	return twoStates (width, height, [&] (cairo_t* cr, bool on) {
		const Box box = buttonBox (width, height);
		drawButtonFace (cr, theme, box, on);
		// Narrow buttons get a smaller text and a tighter gap, so the caption keeps clear
		// of the edges.
		const bool roomy = width >= 50 && height >= 29;
		const double textSize = roomy ? 12 : 11;
		const double led = roomy ? 3 : 2.5;
		const double gap = roomy ? 5 : 3.5;
		const double textWidth = font.width (caption, textSize, 0.3);
		const double left = box.centreX () - (2 * led + gap + textWidth) / 2;
		const double y = box.centreY () + (on ? 0.5 : 0);
		drawLed (cr, theme, left + led, y, led, on);
		setColour (cr, on ? theme.buttonTextOn : theme.buttonText);
		font.draw (cr, caption, textSize, left + 2 * led + gap, y + font.capHeight (textSize) / 2,
		           Align::Left, 0.3);
	});
}

Surface stepButton (const Theme& theme, bool next, int width, int height)
{
	return twoStates (width, height, [&] (cairo_t* cr, bool pressed) {
		const Box box = buttonBox (width, height);
		drawButtonFace (cr, theme, box, pressed);
		const double s = std::min (box.w, box.h) * 0.2;
		const double x = box.centreX () + (pressed ? 0.5 : 0), y = box.centreY () + (pressed ? 0.5 : 0);
		const double dir = next ? 1 : -1;
		cairo_move_to (cr, x + dir * s * 1.1, y);
		cairo_line_to (cr, x - dir * s * 0.7, y - s * 1.25);
		cairo_line_to (cr, x - dir * s * 0.7, y + s * 1.25);
		cairo_close_path (cr);
		setColour (cr, pressed ? theme.buttonTextOn : theme.buttonText);
		cairo_fill (cr);
	});
}

Surface lockButton (const Theme& theme, int width, int height)
{
	return twoStates (width, height, [&] (cairo_t* cr, bool locked) {
		const Box box = buttonBox (width, height);
		drawButtonFace (cr, theme, box, locked);
		const double u = std::min (box.w, box.h) / 20.0;
		const double x = box.centreX (), y = box.centreY () + 2 * u + (locked ? 0.5 : 0);
		const Colour ink = locked ? theme.ledOn : theme.buttonText;
		// The shackle: closed into the body when locked, swung open to the right when not.
		cairo_set_line_width (cr, 1.7 * u);
		setColour (cr, ink);
		const double shackleX = locked ? x : x + 2.2 * u;
		cairo_arc (cr, shackleX, y - 4 * u, 3.2 * u, M_PI, 2 * M_PI);
		cairo_line_to (cr, shackleX + 3.2 * u, locked ? y - 1 * u : y - 3 * u);
		cairo_move_to (cr, shackleX - 3.2 * u, y - 4 * u);
		cairo_line_to (cr, shackleX - 3.2 * u, y - 1 * u);
		cairo_stroke (cr);
		roundedBox (cr, Box {x - 5 * u, y - 1.5 * u, 10 * u, 7.5 * u}, 1.5 * u);
		cairo_fill (cr);
		circle (cr, x, y + 1.8 * u, 1.1 * u);
		setColour (cr, locked ? theme.buttonBottom : theme.buttonTop);
		cairo_fill (cr);
	});
}

} // namespace artwork
