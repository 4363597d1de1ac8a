#pragma once
// Controls that show one line of text: the shared display, the fixed label, and the
// value field the user can type into.

#include "ccolor.h"
#include "ccontrol.h"
#include "cdrawcontext.h"
#include "cfont.h"

#include <string>

namespace VSTGUI {

// Draws a text over an optional background colour and frame, in a font and colour.
class CParamDisplay : public CControl
{
public:
	CParamDisplay (const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0,
	               CBitmap* background = nullptr, int32_t style = 0);
	~CParamDisplay () override;

	void setFont (CFontRef font);
	CFontRef getFont () const { return font; }
	void setFontColor (const CColor& color);
	const CColor& getFontColor () const { return fontColor; }
	void setBackColor (const CColor& color);
	const CColor& getBackColor () const { return backColor; }
	void setFrameColor (const CColor& color);
	const CColor& getFrameColor () const { return frameColor; }
	void setHoriAlign (CHoriTxtAlign align);
	CHoriTxtAlign getHoriAlign () const { return horiAlign; }
	void setStyle (int32_t value);
	int32_t getStyle () const { return style; }

	void draw (CDrawContext* context) override;

protected:
	// The text the display shows now.
	virtual const char* displayedText () const { return ""; }
	void drawText (CDrawContext* context, const char* text);

	CFontRef font = nullptr;
	CColor fontColor = kWhiteCColor;
	CColor backColor = kBlackCColor;
	CColor frameColor = kBlackCColor;
	CHoriTxtAlign horiAlign = kCenterText;
	int32_t style;
};

// A fixed text.
class CTextLabel : public CParamDisplay
{
public:
	CTextLabel (const CRect& size, const char* text = nullptr, CBitmap* background = nullptr,
	            int32_t style = 0);

	void setText (const char* text);
	const char* getText () const { return text.c_str (); }

protected:
	const char* displayedText () const override { return text.c_str (); }

private:
	std::string text;
};

// A value field: shows a text, and lets the user type a new one. A click starts an edit
// (the field takes the keyboard focus, all its text selected); Return or a click elsewhere
// ends it and tells the listener, Escape drops it and brings the old text back.
class CTextEdit : public CParamDisplay
{
public:
	// Longest text a field holds, without the terminator.
	static constexpr size_t kMaxTextLength = 255;

	CTextEdit (const CRect& size, CControlListener* listener, int32_t tag,
	           const char* text = nullptr, CBitmap* background = nullptr, int32_t style = 0);

	void setText (const char* text);
	// Copies the text into `buffer`, which holds kMaxTextLength + 1 characters.
	void getText (char* buffer) const;
	const char* getText () const { return text.c_str (); }
	// Longest text the field takes, typed or set (at most kMaxTextLength).
	void setMaxChars (size_t count);
	size_t getMaxChars () const { return maxChars; }

	bool isBeingEdited () const { return editingText; }
	const std::string& getEditedText () const { return edited; }
	// While editing: the caret and the other end of the selection, as character indices.
	size_t getCaret () const { return caret; }
	size_t getSelectionAnchor () const { return anchor; }

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	// 1 for the keys an edit uses, -1 for all others (and for every key when not editing).
	int32_t onKeyDown (VstKeyCode& key) override;
	int32_t onKeyUp (VstKeyCode& key) override;
	void takeFocus () override;
	void looseFocus () override;

protected:
	const char* displayedText () const override { return text.c_str (); }

private:
	void drawEditing (CDrawContext* context);
	void finishEdit (bool commit);
	bool isEditingKey (const VstKeyCode& key) const;
	bool hasSelection () const { return caret != anchor; }
	void eraseSelection ();
	void moveCaret (size_t position, bool extend);

	std::string text;
	std::string edited;
	size_t maxChars = kMaxTextLength;
	size_t caret = 0;
	size_t anchor = 0;
	bool editingText = false;
};

} // namespace VSTGUI
