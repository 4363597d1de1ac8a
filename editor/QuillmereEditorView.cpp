#include "QuillmereEditorView.h"

#include "ControlTags.h"
#include "FactoryPresets.h"
#include "Quillmere.h"
#include "ParameterTable.h"
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

constexpr CCoord kMaxExtraSize = 50;
constexpr int32 kMaxTypedChars = 127; // a typed entry is read into 128 bytes // the window may grow this much past skin 1's size
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
			field->setMaxChars (kMaxTypedChars);
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

// Ctrl+click and double-click bring a knob or fader back to its parameter's default.
void setDefaultValue (CControl* control, const ControlInfo& info, EditController* controller)
{
	if (info.controlClass != ControlClass::kAnimKnob &&
	    info.controlClass != ControlClass::kVerticalSlider)
		return;
	if (Parameter* parameter = controller ? controller->getParameterObject (info.parameter) : nullptr)
		control->setDefaultValue (static_cast<float> (parameter->getInfo ().defaultNormalizedValue));
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
	if (!frame)
	{
		// The builder shows every current value; nothing noted before is newer.
		editorThread.store (std::this_thread::get_id (), std::memory_order_relaxed);
		for (auto& flag : pendingFlags)
			flag.store (false, std::memory_order_relaxed);
	}
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
		setDefaultValue (control, kControlInfo[row.slot], controller);
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
	if (tag >= static_cast<ParamID> (kShownParameters))
		return;
	if (!onEditorThread ())
	{
		pendingValues[tag].store (value, std::memory_order_relaxed);
		pendingFlags[tag].store (true, std::memory_order_release);
		return;
	}
	// A newer value from this thread wins over one still waiting.
	pendingFlags[tag].store (false, std::memory_order_relaxed);
	showValue (tag, value);
}

bool QuillmereEditorView::onEditorThread () const
{
	return std::this_thread::get_id () == editorThread.load (std::memory_order_relaxed);
}

void QuillmereEditorView::doIdleStuff ()
{
	// Some VST 2 hosts idle the editor from a thread of their own: that thread draws, so
	// from now on it is the one whose values are shown at once.
	editorThread.store (std::this_thread::get_id (), std::memory_order_relaxed);
	showPendingValues ();
	if (effect)
		effect->sendDeferredHostUpdate ();
	VSTGUIEditor::doIdleStuff ();
}

void QuillmereEditorView::showPendingValues ()
{
	for (ParamID tag = 0; tag < static_cast<ParamID> (kShownParameters); ++tag)
		if (pendingFlags[tag].exchange (false, std::memory_order_acquire))
			showValue (tag, pendingValues[tag].load (std::memory_order_relaxed));
}

void QuillmereEditorView::showValue (ParamID tag, ParamValue value)
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

int32 QuillmereEditorView::openSlotOfTag (int32 tag) const
{
	for (int32 slot = 0; slot < kControlCount; ++slot)
		if (kControlInfo[slot].tag == tag && kControlInfo[slot].tag != kNoTag)
			return controls[slot] ? slot : -1;
	return -1;
}

void QuillmereEditorView::valueChanged (CControl* control)
{
	if (!effect || !control)
		return;
	const int32 slot = openSlotOfTag (control->getTag ());
	if (slot < 0)
		return;
	const ControlInfo& info = kControlInfo[slot];
	const float value = control->getValue ();
	switch (info.controlClass)
	{
		case ControlClass::kAnimKnob:
		case ControlClass::kVerticalSlider: valueControlChanged (slot, value); return;
		case ControlClass::kTextEdit: valueFieldChanged (slot); return;
		case ControlClass::kOnOffButton:
			if (info.parameter != kNoParameter)
			{
				effect->setParamNormalized (info.parameter, value);
				effect->performEdit (info.parameter, value);
			}
			else
				effect->presetLock = value > 0.5f;
			return;
		case ControlClass::kOptionMenu:
			if (info.parameter != kNoParameter)
				listChanged (info.parameter, static_cast<int32> (value));
			else if (slot == kPresetMenu)
			{
				effect->presetIndex = static_cast<int32> (value);
				selectPreset ();
			}
			else
			{
				effect->skin = static_cast<int32> (value) + 1;
				writeSkinConfig (effect);
			}
			return;
		case ControlClass::kKickButton:
			// Only the press steps; the release brings the value back to 0.
			if (value > 0.5f)
				stepPreset (slot == kNextPreset ? 1 : -1);
			return;
		case ControlClass::kSplashScreen:
		case ControlClass::kTextLabel: return;
	}
}

void QuillmereEditorView::valueControlChanged (int32 slot, ParamValue value)
{
	const ParamID id = kControlInfo[slot].parameter;
	effect->setParamNormalized (id, value);
	effect->performEdit (id, value);
	if (CControl* field = controls[slot + 1])
		field->invalid ();
}

void QuillmereEditorView::listChanged (ParamID id, int32 index)
{
	effect->setParamNormalized (id, effect->plainParamToNormalized (id, index));
	effect->performEdit (id, effect->plainParamToNormalized (id, index));
}

// A typed entry goes through the parameter's own parser; what it cannot read is the bottom
// of the range. The host sees one performEdit, without brackets.
void QuillmereEditorView::valueFieldChanged (int32 slot)
{
	auto* field = dynamic_cast<CTextEdit*> (controls[slot]);
	CControl* valueControl = controls[slot - 1];
	if (!field || !valueControl)
		return;
	char typed[CTextEdit::kMaxTextLength + 1];
	field->getText (typed);
	String128 text = {};
	for (int32 i = 0; i < kMaxTypedChars && typed[i]; ++i)
		text[i] = static_cast<unsigned char> (typed[i]);
	ParamValue value = 0.0;
	const ParamID id = kControlInfo[slot].parameter;
	if (effect->getParamValueByString (id, text, value) == kResultOk)
		valueControl->setValue (static_cast<float> (value));
	else
		valueControl->setValue (0.f);
	valueChanged (valueControl);
	valueControl->invalid ();
}

void QuillmereEditorView::stepPreset (int32 direction)
{
	effect->presetIndex =
	    ((effect->presetIndex + direction) % kNumFactoryPresets + kNumFactoryPresets) %
	    kNumFactoryPresets;
	selectPreset ();
	if (CControl* menu = controls[kPresetMenu])
	{
		menu->setValue (static_cast<float> (effect->presetIndex));
		menu->invalid ();
	}
}

void QuillmereEditorView::selectPreset ()
{
	if (effect && effect->presetIndex >= 0 && effect->presetIndex < kNumFactoryPresets)
		effect->applyPreset (kFactoryPresets[effect->presetIndex]);
}

int32_t QuillmereEditorView::controlModifierClicked (CControl* control, long button)
{
	return 0;
}

namespace {
// Knobs, faders, switches and variation menus bracket their gestures for the host.
int32 bracketedParameter (int32 slot)
{
	const ControlInfo& info = kControlInfo[slot];
	return info.controlClass == ControlClass::kTextEdit ? kNoParameter : info.parameter;
}
} // namespace

void QuillmereEditorView::controlBeginEdit (CControl* control)
{
	const int32 slot = control ? openSlotOfTag (control->getTag ()) : -1;
	if (effect && slot >= 0 && bracketedParameter (slot) != kNoParameter)
		effect->beginEdit (bracketedParameter (slot));
}

void QuillmereEditorView::controlEndEdit (CControl* control)
{
	const int32 slot = control ? openSlotOfTag (control->getTag ()) : -1;
	if (effect && slot >= 0 && bracketedParameter (slot) != kNoParameter)
		effect->endEdit (bracketedParameter (slot));
}

tresult PLUGIN_API QuillmereEditorView::findParameter (int32 xPos, int32 yPos, ParamID& resultTag)
{
	// Faders first, then the knobs, menus and switches; a field counts as its knob.
	static constexpr ControlSlot kSearchOrder[] = {
	    kDrySlider, kDryText, kEarlySlider, kEarlyText, kReverbSlider, kReverbText, kWetSlider,
	    kWetText, kPredelayKnob, kPredelayText, kWidthKnob, kWidthText, kDecayKnob, kDecayText,
	    kRoomSizeKnob, kRoomSizeText, kDiffusionKnob, kDiffusionText, kDampIntensityKnob,
	    kDampIntensityText, kDampKnob, kDampText, kLowGainKnob, kLowGainText, kLowShelfKnob,
	    kLowShelfText, kPeakGainKnob, kPeakGainText, kPeakKnob, kPeakText, kHighShelfKnob,
	    kHighShelfText, kHighGainKnob, kHighGainText, kEarlyVariationMenu, kReverbVariationMenu,
	    kModSpeedKnob, kModSpeedText, kModDepthKnob, kModDepthText, kDryBypass, kEarlyBypass,
	    kReverbBypass, kWetBypass, kBypass};
	const CPoint where (xPos, yPos);
	for (ControlSlot slot : kSearchOrder)
	{
		if (controls[slot] && controls[slot]->hitTest (where, 0))
		{
			resultTag = static_cast<ParamID> (kControlInfo[slot].parameter);
			return kResultOk;
		}
	}
	return kResultFalse;
}

tresult PLUGIN_API QuillmereEditorView::executeMenuItem (int32 tag)
{
	return kResultFalse;
}

} // namespace Vst
} // namespace Steinberg
