#include "ctext.h"

#include "cbitmap.h"
#include "cframe.h"

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
	if (next.size () > kMaxTextLength)
		next.resize (kMaxTextLength);
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

void CTextEdit::draw (CDrawContext* context)
{
	if (!editingText)
	{
		CParamDisplay::draw (context);
		return;
	}
	// While typing: the typed text, framed, with a caret after it.
	context->fillRect (size, backColor);
	context->frameRect (size, fontColor);
	context->drawString (edited.c_str (), size, font, fontColor, horiAlign);
	const CCoord width = context->getStringWidth (edited.c_str (), font);
	CCoord caretX = size.left + (size.width () + width) / 2;
	if (horiAlign == kLeftText)
		caretX = size.left + width;
	else if (horiAlign == kRightText)
		caretX = size.right - 1;
	const CCoord middle = (size.top + size.bottom) / 2;
	const CCoord half = font ? font->getSize () / 2 : 6;
	context->fillRect (CRect (caretX, middle - half, caretX + 1, middle + half), fontColor);
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
	invalid ();
}

void CTextEdit::looseFocus ()
{
	// Losing the focus without Return drops what was typed.
	if (editingText)
		finishEdit (false);
}

int32_t CTextEdit::onKeyDown (VstKeyCode& key)
{
	if (!editingText)
		return -1;
	switch (key.virt)
	{
		case VKEY_RETURN:
		case VKEY_ENTER: finishEdit (true); return 1;
		case VKEY_ESCAPE: finishEdit (false); return 1;
		case VKEY_BACK:
			if (!edited.empty ())
				edited.pop_back ();
			invalid ();
			return 1;
		default: break;
	}
	if (key.character >= 0x20 && key.character < 0x7f && !(key.modifier & MODIFIER_CONTROL))
	{
		if (edited.size () < kMaxTextLength)
			edited.push_back (static_cast<char> (key.character));
		invalid ();
		return 1;
	}
	return -1;
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
	invalid ();
}

} // namespace VSTGUI
