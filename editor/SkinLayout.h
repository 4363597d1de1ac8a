#pragma once
// The two skins as data: window size, bitmap files, text styles and, in creation order,
// each control's slot, rectangle and bitmap. One builder (QuillmereEditorView) reads them.

#include "ControlTags.h"
#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/cgeometry.h"

namespace Steinberg {
namespace Vst {

struct TextStyle
{
	VSTGUI::CFontRef font;
	VSTGUI::CColor color;
};

struct LayoutRow
{
	ControlSlot slot;
	VSTGUI::CRect rect;
	int32 bitmap; // index into SkinLayout::bitmapFiles, or kNoBitmap
};

struct SkinLayout
{
	static constexpr int32 kBitmapCount = 16;
	static constexpr int32 kNoBitmap = -1;

	VSTGUI::CCoord width;
	VSTGUI::CCoord height;
	const char* backgroundFile;
	// Created in this order before the frame; a file named twice gives two bitmaps.
	const char* bitmapFiles[kBitmapCount];
	VSTGUI::CCoord faderHandleRange;
	VSTGUI::CRect creditsDisplay;
	TextStyle valueText;
	TextStyle variationMenu;
	TextStyle versionLabel;
	TextStyle presetMenu;
	TextStyle skinMenu;
	LayoutRow rows[kControlSlotCount];
};

extern const SkinLayout kSkin1Layout;
extern const SkinLayout kSkin2Layout;

// The window of skin 1, also the smallest size the view accepts.
constexpr VSTGUI::CCoord kSkin1Width = 1105;
constexpr VSTGUI::CCoord kSkin1Height = 381;

} // namespace Vst
} // namespace Steinberg
