#include "ctext.h"

#include "cbitmap.h"
#include "cframe.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

CParamDisplay::CParamDisplay (const CRect& size, CControlListener* listener, int32_t tag,
                              CBitmap* background, int32_t style)
: CControl (size, listener, tag, background), font (kNormalFontSmall), style (style)
{
	font->remember ();
}

CParamDisplay::~CParamDisplay ()
{
	if (font)
		font->forget ();
}

void CParamDisplay::setFont (CFontRef newFont)
{
	if (newFont)
		newFont->remember ();
	if (font)
		font->forget ();
	font = newFont;
	setDirty (true);
}

void CParamDisplay::setFontColor (const CColor& color)
{
	fontColor = color;
	setDirty (true);
}

void CParamDisplay::setBackColor (const CColor& color)
{
	backColor = color;
	setDirty (true);
}

void CParamDisplay::setFrameColor (const CColor& color)
{
	frameColor = color;
	setDirty (true);
}

void CParamDisplay::setHoriAlign (CHoriTxtAlign align)
{
	horiAlign = align;
	setDirty (true);
}

void CParamDisplay::setStyle (int32_t value)
{
	style = value;
	setDirty (true);
}

void CParamDisplay::draw (CDrawContext* context)
{
	drawText (context, displayedText ());
	setDirty (false);
}

void CParamDisplay::drawText (CDrawContext* context, const char* text)
{
	if (style & kNoDrawStyle)
		return;
	if (background)
		background->draw (context, size);
	else
		context->fillRect (size, backColor);
	if (!(style & kNoFrame))
		context->frameRect (size, frameColor);
	if (!(style & kNoTextStyle))
		context->drawString (text, size, font, fontColor, horiAlign);
}

CTextLabel::CTextLabel (const CRect& size, const char* text, CBitmap* background, int32_t style)
: CParamDisplay (size, nullptr, 0, background, style)
{
	setText (text);
}

void CTextLabel::setText (const char* newText)
{
	text = newText ? newText : "";
	setDirty (true);
}

CTextEdit::CTextEdit (const CRect& size, CControlListener* listener, int32_t tag,
                      const char* text, CBitmap* background, int32_t style)
: CParamDisplay (size, listener, tag, background, style)
{
	setText (text);
}

void CTextEdit::setText (const char* newText)
{
	std::string next (newText ? newText : "");
	if (next.size () > maxChars)
		next.resize (maxChars);
	if (next == text)
		return;
	text = next;
	setDirty (true);
}

void CTextEdit::getText (char* buffer) const
{
	if (!buffer)
		return;
	std::memcpy (buffer, text.c_str (), text.size () + 1);
}

void CTextEdit::setMaxChars (size_t count)
{
	maxChars = std::min (count, kMaxTextLength);
	if (text.size () > maxChars)
		text.resize (maxChars);
}

void CTextEdit::draw (CDrawContext* context)
{
	if (editingText)
		drawEditing (context);
	else
		CParamDisplay::draw (context);
}

// While typing: the typed text in a frame, the selection shaded, a caret. A text wider
// than the field slides left so the caret stays in sight.
void CTextEdit::drawEditing (CDrawContext* context)
{
	constexpr CCoord kPadding = 2;
	context->fillRect (size, backColor);
	context->frameRect (size, fontColor);
	auto widthTo = [&] (size_t index) {
		return context->getStringWidth (edited.substr (0, index).c_str (), font);
	};
	const CCoord textWidth = widthTo (edited.size ());
	const CCoord room = size.width () - 2 * kPadding;
	CCoord textLeft = size.left + kPadding;
	if (textWidth > room)
		textLeft -= std::max<CCoord> (0, widthTo (caret) - room);
	else if (horiAlign == kCenterText)
		textLeft = size.left + (size.width () - textWidth) / 2;
	else if (horiAlign == kRightText)
		textLeft = size.right - kPadding - textWidth;

	cairo_t* cairo = context->getCairo ();
	cairo_save (cairo);
	cairo_rectangle (cairo, size.left + 1, size.top + 1, size.width () - 2, size.height () - 2);
	cairo_clip (cairo);
	const CCoord middle = (size.top + size.bottom) / 2;
	const CCoord half = (font ? font->getSize () : 12) / 2 + 1;
	if (hasSelection ())
	{
		CColor shade (fontColor);
		shade.alpha = 96;
		context->fillRect (CRect (textLeft + widthTo (std::min (caret, anchor)), middle - half,
		                          textLeft + widthTo (std::max (caret, anchor)), middle + half),
		                   shade);
	}
	context->drawString (edited.c_str (), CRect (textLeft, size.top, textLeft + textWidth + 4, size.bottom),
	                     font, fontColor, kLeftText);
	const CCoord caretX = textLeft + widthTo (caret);
	context->fillRect (CRect (caretX, middle - half, caretX + 1, middle + half), fontColor);
	cairo_restore (cairo);
	setDirty (false);
}

CMouseEventResult CTextEdit::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton) || listenerTookModifierClick (buttons) || !frame)
		return kMouseEventNotHandled;
	frame->setFocusView (this);
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus ()
{
	editingText = true;
	edited = text;
	anchor = 0;
	caret = edited.size ();
	invalid ();
}

void CTextEdit::looseFocus ()
{
	// A click elsewhere, or another window taking the keyboard, ends the entry as Return
	// would.
	if (editingText)
		finishEdit (true);
}

bool CTextEdit::isEditingKey (const VstKeyCode& key) const
{
	switch (key.virt)
	{
		case VKEY_RETURN:
		case VKEY_ENTER:
		case VKEY_ESCAPE:
		case VKEY_BACK:
		case VKEY_DELETE:
		case VKEY_LEFT:
		case VKEY_RIGHT:
		case VKEY_HOME:
		case VKEY_END: return true;
		case VKEY_SPACE: return !(key.modifier & MODIFIER_CONTROL);
		default: break;
	}
	if (key.modifier & MODIFIER_CONTROL)
		return key.character == 'a' || key.character == 'A';
	return key.character >= 0x20 && key.character < 0x7f;
}

int32_t CTextEdit::onKeyDown (VstKeyCode& key)
{
	if (!editingText || !isEditingKey (key))
		return -1;
	const bool extend = (key.modifier & MODIFIER_SHIFT) != 0;
	switch (key.virt)
	{
		case VKEY_RETURN:
		case VKEY_ENTER: finishEdit (true); return 1;
		case VKEY_ESCAPE: finishEdit (false); return 1;
		case VKEY_BACK:
			if (!hasSelection () && caret > 0)
				anchor = caret - 1;
			eraseSelection ();
			break;
		case VKEY_DELETE:
			if (!hasSelection () && caret < edited.size ())
				anchor = caret + 1;
			eraseSelection ();
			break;
		case VKEY_LEFT:
			if (hasSelection () && !extend)
				moveCaret (std::min (caret, anchor), false);
			else
				moveCaret (caret > 0 ? caret - 1 : 0, extend);
			break;
		case VKEY_RIGHT:
			if (hasSelection () && !extend)
				moveCaret (std::max (caret, anchor), false);
			else
				moveCaret (std::min (caret + 1, edited.size ()), extend);
			break;
		case VKEY_HOME: moveCaret (0, extend); break;
		case VKEY_END: moveCaret (edited.size (), extend); break;
		default:
			if (key.modifier & MODIFIER_CONTROL)
			{
				anchor = 0; // Ctrl+A
				caret = edited.size ();
				break;
			}
			eraseSelection ();
			if (edited.size () < maxChars)
				edited.insert (caret++, 1, static_cast<char> (key.virt == VKEY_SPACE ? ' ' : key.character));
			anchor = caret;
			break;
	}
	invalid ();
	return 1;
}

int32_t CTextEdit::onKeyUp (VstKeyCode& key)
{
	return editingText && isEditingKey (key) ? 1 : -1;
}

void CTextEdit::eraseSelection ()
{
	const size_t from = std::min (caret, anchor);
	edited.erase (from, std::max (caret, anchor) - from);
	caret = anchor = from;
}

void CTextEdit::moveCaret (size_t position, bool extend)
{
	caret = position;
	if (!extend)
		anchor = caret;
}

void CTextEdit::finishEdit (bool commit)
{
	editingText = false;
	if (frame && frame->getFocusView () == this)
		frame->setFocusView (nullptr);
	if (commit)
	{
		setText (edited.c_str ());
		valueChanged ();
	}
	edited.clear ();
	caret = anchor = 0;
	invalid ();
}

} // namespace VSTGUI
