#pragma once
// A dry test signal made on the fly: a few bars of drum hits and plucked notes with
// gaps between them, so the reverb's tail can be heard.

#include "StereoAudio.h"

namespace QuillmereRender {

StereoAudio makeDemoSignal (double sampleRate = 48000.0);

} // namespace QuillmereRender
