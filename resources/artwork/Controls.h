#pragma once
// The images the controls draw: knob strips, fader handles and two-state buttons.

#include "Painter.h"
#include "Theme.h"

namespace artwork {

// Frames of a knob strip; the knob turns from -135 to +135 degrees over them.
constexpr int kKnobFrames = 101;

// A vertical strip of `frames` square frames of `size` pixels, frame i at y = i * size.
Surface knobStrip (const Theme& theme, const KnobFamily& family, int size, int frames = kKnobFrames);

// A fader cap `width` wide, its visible part `capHeight` tall, followed by `clearBelow`
// transparent rows: the part of the fader the value text covers.
Surface faderHandle (const Theme& theme, Colour accent, int width, int capHeight, int clearBelow);

// Two states stacked, off above on, each `width` x `height`.
Surface switchButton (const Theme& theme, const Typeface& font, const std::string& caption,
                      int width, int height);
Surface stepButton (const Theme& theme, bool next, int width, int height);
Surface lockButton (const Theme& theme, int width, int height);

// A cap suited to a fader of this width: the height of its visible part.
int faderCapHeight (int faderWidth);

} // namespace artwork
