#pragma once
// Text is drawn from a font file shipped with the plug-in, never from whatever fonts the
// machine has, so the editor looks the same everywhere.

#include <cairo.h>

namespace VSTGUI {

// A cairo font face for the font file at `path` (FreeType), or null when it cannot be
// read. The caller owns one reference (cairo_font_face_destroy); the FreeType face lives
// as long as the cairo face does.
cairo_font_face_t* createFontFaceFromFile (const char* path);

} // namespace VSTGUI
