#pragma once

#include "Brand.h"
#include "Layout.h"
#include "Theme.h"

namespace artwork {

// The skin's window background: panels for the groups, the name of every control, the
// fields the editor writes values into, fader tracks, and the header with the mark, the
// preset display and the skin button.
Surface background (const SkinLayout& skin, const Theme& theme, const Fonts& fonts);

} // namespace artwork
