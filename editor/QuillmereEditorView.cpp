#include "QuillmereEditorView.h"

#include "ControlTags.h"
#include "FactoryPresets.h"
#include "Quillmere.h"
#include "QuillmereIds.h"
#include "SkinConfig.h"
#include "SkinLayout.h"
#include "vstgui/lib/canimknob.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cbuttons.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/coptionmenu.h"
#include "vstgui/lib/cslider.h"
#include "vstgui/lib/ctext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Steinberg {
namespace Vst {

using namespace VSTGUI;

namespace {

constexpr CCoord kMaxExtraSize = 50; // the window may grow this much past skin 1's size
const char* const kVersionText = "Ver. 2.0.2 Beta";
const char* const kSkinEntries[] = {
    "Skin 1 (will change after reopening the plugin window)",
    "Skin 2 (will change after reopening the plugin window)",
};

void applyTextStyle (CParamDisplay* display, const TextStyle& style)
{
	display->setFontColor (style.color);
	display->setBackColor (kTransparentCColor);
	display->setFont (style.font);
}

void addVariationEntries (COptionMenu* menu, int32 count)
{
	char entry[32];
	for (int32 number = 1; number <= count; ++number)
	{
		std::snprintf (entry, sizeof (entry), "Variation %d", static_cast<int> (number));
		menu->addEntry (entry);
	}
}

// An entry index from a normalized list value: trunc (count × value), at most count - 1.
float listIndex (ParamValue value, int32 count)
{
	return static_cast<float> (std::min (std::trunc (count * value), count - 1.0));
}

// UTF-16 to 8-bit text: characters past ASCII become '?'.
void toAscii (const String128 text, char (&out)[128])
{
	size_t length = 0;
	for (; length < 127 && text[length]; ++length)
		out[length] = text[length] < 0x80 ? static_cast<char> (text[length]) : '?';
	out[length] = 0;
}

// Creates the control of one layout row with the settings its style calls for.
CControl* createControl (const LayoutRow& row, const SkinLayout& layout, CBitmap* const* bitmaps,
                         CControlListener* listener, const Quillmere* effect)
{
	const ControlInfo& info = kControlInfo[row.slot];
	CBitmap* bitmap = row.bitmap == SkinLayout::kNoBitmap ? nullptr : bitmaps[row.bitmap];
	switch (info.controlClass)
	{
		case ControlClass::kAnimKnob: return new CAnimKnob (row.rect, listener, info.tag, bitmap);
		case ControlClass::kTextEdit:
		{
			auto* field = new CTextEdit (row.rect, listener, info.tag, "", nullptr, kNoFrame);
			field->setFont (layout.valueText.font);
			field->setBackColor (kTransparentCColor);
			field->setFontColor (layout.valueText.color);
			return field;
		}
		case ControlClass::kVerticalSlider:
			return new CVerticalSlider (row.rect, listener, info.tag, CPoint (0, 0),
			                            layout.faderHandleRange, bitmap, nullptr, CPoint (0, 0),
			                            kRight);
		case ControlClass::kOptionMenu:
		{
			auto* menu = new COptionMenu (row.rect, listener, info.tag, nullptr, nullptr, kNoFrame);
			if (row.slot == kPresetMenu)
			{
				for (const char* name : kFactoryPresetNames)
					menu->addEntry (name);
				applyTextStyle (menu, layout.presetMenu);
				menu->setValue (static_cast<float> (effect ? effect->presetIndex : 0));
			}
			else if (row.slot == kSkinMenu)
			{
				for (const char* entry : kSkinEntries)
					menu->addEntry (entry);
				applyTextStyle (menu, layout.skinMenu);
				menu->setValue (0.f);
			}
			else
			{
				addVariationEntries (menu, row.slot == kEarlyVariationMenu ? kNumEarlyVariations
				                                                           : kNumReverbVariations);
				applyTextStyle (menu, layout.variationMenu);
			}
			return menu;
		}
		case ControlClass::kOnOffButton:
		{
			auto* button = new COnOffButton (row.rect, listener, info.tag, bitmap, kPreListenerUpdate);
			if (row.slot == kPresetLock)
				button->setValue (effect && effect->presetLock ? 1.f : 0.f);
			return button;
		}
		case ControlClass::kKickButton:
		{
			auto* button = new CKickButton (row.rect, listener, info.tag, bitmap, CPoint (0, 0));
			button->setValue (0.f);
			return button;
		}
		case ControlClass::kSplashScreen:
			return new CSplashScreen (row.rect, listener, info.tag, bitmap, layout.creditsDisplay,
			                          CPoint (0, 0));
		case ControlClass::kTextLabel:
		{
			auto* label = new CTextLabel (row.rect, kVersionText, nullptr, kNoFrame);
			applyTextStyle (label, layout.versionLabel);
			return label;
		}
	}
	return nullptr;
}

} // namespace

QuillmereEditorView::QuillmereEditorView (EditController* controller)
: VSTGUIEditor (controller), effect (dynamic_cast<Quillmere*> (controller))
{
	setIdleRate (50);
	ViewRect skin1 (0, 0, kSkin1Width, kSkin1Height);
	setRect (skin1);
}

tresult PLUGIN_API QuillmereEditorView::canResize ()
{
	return kResultFalse;
}

tresult PLUGIN_API QuillmereEditorView::checkSizeConstraint (ViewRect* rect)
{
	if (!rect)
		return kInvalidArgument;
	const int32 width = rect->right - rect->left;
	if (width < kSkin1Width)
		rect->right = rect->left + kSkin1Width;
	else if (width > kSkin1Width + kMaxExtraSize)
		rect->right = rect->left + kSkin1Width + kMaxExtraSize;
	const int32 height = rect->bottom - rect->top;
	if (height < kSkin1Height)
		rect->bottom = rect->top + kSkin1Height;
	else if (height > kSkin1Height + kMaxExtraSize)
		rect->bottom = rect->top + kSkin1Height + kMaxExtraSize;
	return kResultOk;
}

bool PLUGIN_API QuillmereEditorView::open (void* parent)
{
	if (effect)
		readSkinConfig (effect);
	return buildSkin (effect && effect->skin == 2 ? kSkin2Layout : kSkin1Layout, parent);
}

bool QuillmereEditorView::buildSkin (const SkinLayout& layout, void* parent)
{
	if (frame)
		return false;
	CBitmap* bitmaps[SkinLayout::kBitmapCount];
	for (int32 index = 0; index < SkinLayout::kBitmapCount; ++index)
		bitmaps[index] = new CBitmap (layout.bitmapFiles[index]);

	frame = new CFrame (CRect (0, 0, layout.width, layout.height), parent, this);
	backgroundBitmap = new CBitmap (layout.backgroundFile);
	frame->setBackground (backgroundBitmap);

	bool added = false;
	for (const LayoutRow& row : layout.rows)
	{
		CControlListener* listener = row.slot == kVersionLabel ? nullptr : this;
		CControl* control = createControl (row, layout, bitmaps, listener, effect);
		setControl (row.slot, control);
		added = frame->addView (control);
		if (row.slot != kVersionLabel)
			continue;
		// The controls hold their own references to the bitmaps from here on, and show
		// the effect's values before the preset and skin menus exist.
		for (CBitmap* bitmap : bitmaps)
			bitmap->forget ();
		for (ParamID id = 0; id <= kLastSettingId; ++id)
			updateParameter (id, controller ? controller->getParamNormalized (id) : 0.0);
	}
	return added;
}

void PLUGIN_API QuillmereEditorView::close ()
{
	if (frame)
	{
		frame->forget ();
		frame = nullptr;
	}
	if (backgroundBitmap)
	{
		backgroundBitmap->forget ();
		backgroundBitmap = nullptr;
	}
	std::fill (std::begin (controls), std::end (controls), nullptr);
}

void QuillmereEditorView::setControl (int32 slot, CControl* control)
{
	if (slot >= 0 && slot < kControlCount)
		controls[slot] = control;
}

CControl* QuillmereEditorView::getControl (int32 slot) const
{
	return slot >= 0 && slot < kControlCount ? controls[slot] : nullptr;
}

void QuillmereEditorView::updateParameter (ParamID tag, ParamValue value)
{
	switch (tag)
	{
		case kEarlyVariationId:
			if (CControl* menu = controls[kEarlyVariationMenu])
				menu->setValue (listIndex (value, kNumEarlyVariations));
			return;
		case kReverbVariationId:
			if (CControl* menu = controls[kReverbVariationMenu])
				menu->setValue (listIndex (value, kNumReverbVariations));
			return;
		case kBypassId:
		case kBypassDryId:
		case kBypassEarlyId:
		case kBypassReverbId:
		case kBypassWetId:
			for (int32 slot = kDryBypass; slot <= kBypass; ++slot)
				if (kControlInfo[slot].parameter == static_cast<int32> (tag) && controls[slot])
					controls[slot]->setValue (value > 0.5 ? 1.f : 0.f);
			return;
		default: break;
	}
	if (tag > kLastSettingId)
		return;
	const int32 slot = valueControlSlot (tag);
	if (slot < 0 || !controls[slot])
		return;
	controls[slot]->setValue (static_cast<float> (value));
	// Each value field follows its knob or fader in the table.
	auto* field = dynamic_cast<CTextEdit*> (controls[slot + 1]);
	if (!field || !controller)
		return;
	String128 text = {};
	controller->getParamStringByValue (tag, value, text);
	char ascii[128];
	toAscii (text, ascii);
	field->setText (ascii);
}

//------------------------------------------------------------------------ control handling

void QuillmereEditorView::valueChanged (CControl* control) {}

int32_t QuillmereEditorView::controlModifierClicked (CControl* control, long button)
{
	return 0;
}

void QuillmereEditorView::controlBeginEdit (CControl* control) {}

void QuillmereEditorView::controlEndEdit (CControl* control) {}

tresult PLUGIN_API QuillmereEditorView::findParameter (int32 xPos, int32 yPos, ParamID& resultTag)
{
	return kResultFalse;
}

tresult PLUGIN_API QuillmereEditorView::executeMenuItem (int32 tag)
{
	return kResultFalse;
}

} // namespace Vst
} // namespace Steinberg
