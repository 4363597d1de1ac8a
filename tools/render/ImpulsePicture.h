#pragma once
// Draws an impulse response as a PNG: its decay (energy over time and the Schroeder
// curve, left and right, with the measured RT60) above its spectrogram.

#include "StereoAudio.h"

#include <string>

namespace QuillmereRender {

struct PictureCaption
{
	std::string title;    // e.g. the preset's name
	std::string subtitle; // e.g. the main settings
};

// Writes the PNG to path. Throws ToolError.
void drawImpulsePicture (const std::string& path, const StereoAudio& impulseResponse,
                         const PictureCaption& caption);

} // namespace QuillmereRender
