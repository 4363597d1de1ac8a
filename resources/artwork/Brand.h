#pragma once
// Quillmere's mark and the credits picture.

#include "Painter.h"

namespace artwork {

struct Fonts
{
	Typeface regular;
	Typeface bold;
};

// The mark: a Q of three rings spreading like a reverb's echoes, centred at (x, y).
void drawLogo (cairo_t* cr, double x, double y, double radius, Colour ink);

// The credits picture, `width` x `height`, opaque.
Surface creditsPicture (const Fonts& fonts, int width, int height, const std::string& version);

} // namespace artwork
