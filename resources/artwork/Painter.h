#pragma once
// Small drawing helpers shared by every piece of artwork: colours, rectangles, soft
// shadows and text drawn from font files through FreeType.

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>

namespace artwork {

struct Colour
{
	double r = 0, g = 0, b = 0, a = 1;
};

// A colour from 8-bit channels.
Colour rgb (int r, int g, int b, double alpha = 1.0);
// `c` moved towards `towards` by `amount` (0 keeps c, 1 gives towards).
Colour mix (Colour c, Colour towards, double amount);
Colour withAlpha (Colour c, double alpha);

struct Box
{
	double x = 0, y = 0, w = 0, h = 0;

	double right () const { return x + w; }
	double bottom () const { return y + h; }
	double centreX () const { return x + w / 2; }
	double centreY () const { return y + h / 2; }
	Box inset (double dx, double dy) const { return {x + dx, y + dy, w - 2 * dx, h - 2 * dy}; }
	Box moved (double dx, double dy) const { return {x + dx, y + dy, w, h}; }
};

void setColour (cairo_t* cr, Colour c);
void roundedBox (cairo_t* cr, const Box& box, double radius);
// A vertical gradient from `top` to `bottom` over the box's height.
cairo_pattern_t* verticalGradient (const Box& box, Colour top, Colour bottom);
// Fills the current path with a pattern and releases the pattern.
void fillWith (cairo_t* cr, cairo_pattern_t* pattern);

// A shadow of the shape that `path` traces: the shape's silhouette blurred by `blur`
// pixels, moved by (dx, dy) and painted in `colour`.
void softShadow (cairo_t* cr, const std::function<void (cairo_t*)>& path, double blur, double dx,
                 double dy, Colour colour);

// A recessed field: darker inside, shaded along its upper left edge and lit along its
// lower right one, as if pressed into a panel lit from the top left.
void recessedField (cairo_t* cr, const Box& box, double radius, Colour fill, Colour shade,
                    Colour light);

enum class Align { Left, Centre, Right };

// Text drawn glyph by glyph from a FreeType face.
class Typeface
{
public:
	explicit Typeface (const std::string& fontFile);
	~Typeface ();
	Typeface (const Typeface&) = delete;
	Typeface& operator= (const Typeface&) = delete;

	bool valid () const { return face != nullptr; }
	double width (const std::string& text, double size, double tracking = 0) const;
	// Height of a capital letter, to centre text on its visible part.
	double capHeight (double size) const;
	// Draws `text` with its baseline at y; x is its left, centre or right per `align`.
	// `tracking` adds space between letters.
	void draw (cairo_t* cr, const std::string& text, double size, double x, double baseline,
	           Align align = Align::Left, double tracking = 0) const;
	// Draws `text` centred in the box, vertically on its capitals.
	void drawCentred (cairo_t* cr, const std::string& text, double size, const Box& box,
	                  double tracking = 0) const;

private:
	cairo_font_face_t* face = nullptr;
};

struct SurfaceRelease
{
	void operator() (cairo_surface_t* s) const { cairo_surface_destroy (s); }
};
struct ContextRelease
{
	void operator() (cairo_t* cr) const { cairo_destroy (cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

Surface newImage (int width, int height);
Context newContext (const Surface& surface);
// Writes the image as PNG; false when it cannot.
bool writePng (const Surface& surface, const std::string& path);

} // namespace artwork
