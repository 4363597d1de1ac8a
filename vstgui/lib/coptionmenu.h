#pragma once
// A menu of text entries. Its value is the index of the current entry; closed, it shows
// that entry's text in its font colour. A click opens the entry list (COptionMenuPopup)
// over the frame.

#include "ctext.h"

#include <string>
#include <vector>

namespace VSTGUI {

class COptionMenuPopup;

class COptionMenu : public CParamDisplay
{
public:
	COptionMenu (const CRect& size, CControlListener* listener, int32_t tag,
	             CBitmap* background = nullptr, CBitmap* backgroundWhenClicked = nullptr,
	             int32_t style = 0);
	~COptionMenu () override;

	// Adds an entry at `index`, or at the end for -1; false for an index out of range.
	bool addEntry (const char* text, int32_t index = -1, int32_t flags = 0);
	bool removeEntry (int32_t index);
	void removeAllEntry ();
	int32_t getNbEntries () const { return static_cast<int32_t> (entries.size ()); }
	// The entry's text, or null for an index out of range.
	const char* getEntry (int32_t index) const;

	int32_t getCurrentIndex () const;
	const char* getCurrentEntry () const { return getEntry (getCurrentIndex ()); }
	bool setCurrent (int32_t index);

	void setValue (float value) override;

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	// Opens the entry list over the frame; false without a frame or entries.
	bool openPopup ();
	// The open entry list, or null.
	COptionMenuPopup* getPopup () const { return popup; }
	// The user chose `index` in the list: one whole edit, the listener hears of it even
	// when the entry was already current.
	void chooseEntry (int32_t index);

protected:
	const char* displayedText () const override;

private:
	void updateRange ();

	std::vector<std::string> entries;
	CBitmap* backgroundWhenClicked;
	COptionMenuPopup* popup = nullptr;

	friend class COptionMenuPopup;
};

// The open entry list of a menu: drawn inside the frame above everything, in as many
// columns as the frame's height needs (scrolling by columns when even the frame's width
// is too small), in colours of its own so entries stay readable whatever the menu's font
// colour. The current entry carries a mark. A click on an entry, or Return on the
// highlighted one, chooses it; the wheel and the arrow keys move the highlight; Escape, a
// click outside or the keyboard going elsewhere closes the list without a change.
class COptionMenuPopup : public CView
{
public:
	explicit COptionMenuPopup (COptionMenu* menu);
	~COptionMenuPopup () override;

	COptionMenu* getMenu () const { return menu; }
	int32_t getHighlighted () const { return highlighted; }
	int32_t getNbColumns () const { return columns; }
	int32_t getNbRows () const { return rows; }
	// Where the entry is drawn; empty when it is scrolled out of sight.
	CRect getEntryRect (int32_t index) const;
	// The entry under `where`, or -1.
	int32_t entryAt (const CPoint& where) const;
	// Closes the list without choosing; the frame drops it (which may delete it).
	void close ();

	void draw (CDrawContext* context) override;
	bool hitTest (const CPoint& where, const CButtonState& buttons = 0) override { return true; }
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	bool onWheel (const CPoint& where, float distance, const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& key) override;
	void looseFocus () override;

	// The list's look.
	static constexpr CColor kBackColor {36, 36, 36, 248};
	static constexpr CColor kFrameColor {128, 128, 128, 255};
	static constexpr CColor kTextColor {228, 228, 228, 255};
	static constexpr CColor kHighlightColor {72, 104, 150, 255};

private:
	void layout ();
	void highlight (int32_t index);
	void choose (int32_t index);

	COptionMenu* menu;
	CFontRef font;
	int32_t highlighted;
	int32_t rows = 1;
	int32_t columns = 1;
	int32_t visibleColumns = 1;
	int32_t firstColumn = 0;
	CCoord columnWidth = 0;
	CCoord rowHeight = 0;
	bool closing = false;
};

} // namespace VSTGUI
