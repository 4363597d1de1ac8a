#include "coptionmenu.h"

#include "cbitmap.h"
#include "cframe.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

COptionMenu::COptionMenu (const CRect& size, CControlListener* listener, int32_t tag,
                          CBitmap* background, CBitmap* backgroundWhenClicked, int32_t style)
: CParamDisplay (size, listener, tag, background, style)
, backgroundWhenClicked (backgroundWhenClicked)
{
	if (backgroundWhenClicked)
		backgroundWhenClicked->remember ();
	defaultValue = 0.f;
	updateRange ();
}

COptionMenu::~COptionMenu ()
{
	// The open list holds a reference to its menu, so it is gone by now.
	if (backgroundWhenClicked)
		backgroundWhenClicked->forget ();
}

bool COptionMenu::addEntry (const char* text, int32_t index, int32_t flags)
{
	if (index < -1 || index > getNbEntries ())
		return false;
	const std::string entry (text ? text : "");
	if (index == -1)
		entries.push_back (entry);
	else
		entries.insert (entries.begin () + index, entry);
	updateRange ();
	return true;
}

bool COptionMenu::removeEntry (int32_t index)
{
	if (index < 0 || index >= getNbEntries ())
		return false;
	entries.erase (entries.begin () + index);
	updateRange ();
	return true;
}

void COptionMenu::removeAllEntry ()
{
	entries.clear ();
	updateRange ();
}

const char* COptionMenu::getEntry (int32_t index) const
{
	if (index < 0 || index >= getNbEntries ())
		return nullptr;
	return entries[static_cast<size_t> (index)].c_str ();
}

int32_t COptionMenu::getCurrentIndex () const
{
	return static_cast<int32_t> (value);
}

bool COptionMenu::setCurrent (int32_t index)
{
	if (index < 0 || index >= getNbEntries ())
		return false;
	setValue (static_cast<float> (index));
	return true;
}

// The value is always a whole entry index.
void COptionMenu::setValue (float newValue)
{
	CParamDisplay::setValue (std::trunc (newValue));
}

CMouseEventResult COptionMenu::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton) || listenerTookModifierClick (buttons) || !openPopup ())
		return kMouseEventNotHandled;
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COptionMenu::openPopup ()
{
	if (!frame || entries.empty () || popup)
		return false;
	auto* list = new COptionMenuPopup (this);
	frame->setModalView (list);
	list->forget ();
	// The list takes the keys (and the keyboard from the host's window) while it is open.
	frame->setFocusView (list);
	return true;
}

void COptionMenu::chooseEntry (int32_t index)
{
	if (index < 0 || index >= getNbEntries ())
		return;
	beginEdit ();
	setCurrent (index);
	valueChanged ();
	endEdit ();
	invalid ();
}

const char* COptionMenu::displayedText () const
{
	const char* entry = getCurrentEntry ();
	return entry ? entry : "";
}

void COptionMenu::updateRange ()
{
	vmin = 0.f;
	vmax = entries.empty () ? 0.f : static_cast<float> (entries.size () - 1);
	setValue (value);
	setDirty (true);
}

//------------------------------------------------------------------------ COptionMenuPopup

namespace {
constexpr CCoord kListMargin = 4;   // between the list's edge and its entries
constexpr CCoord kMarkWidth = 18;   // room left of each entry for the current entry's mark
constexpr CCoord kTextPadding = 10; // right of the longest entry
constexpr int32_t kLargestListFont = 14;

// The widest entry in `font`, measured on a scratch surface (the list is laid out before
// anything draws it).
CCoord widestEntry (const COptionMenu& menu, CFontRef font)
{
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 1, 1);
	cairo_t* cairo = cairo_create (surface);
	CDrawContext context (cairo);
	CCoord widest = 0;
	for (int32_t index = 0; index < menu.getNbEntries (); ++index)
		widest = std::max (widest, context.getStringWidth (menu.getEntry (index), font));
	cairo_destroy (cairo);
	cairo_surface_destroy (surface);
	return widest;
}

void drawCheckMark (CDrawContext* context, const CRect& entry, const CColor& color)
{
	cairo_t* cairo = context->getCairo ();
	const double middle = (entry.top + entry.bottom) / 2.0;
	setSourceColor (cairo, color);
	cairo_set_line_width (cairo, 2.0);
	cairo_move_to (cairo, entry.left + 4.5, middle);
	cairo_line_to (cairo, entry.left + 8.0, middle + 3.5);
	cairo_line_to (cairo, entry.left + 14.0, middle - 4.5);
	cairo_stroke (cairo);
}
} // namespace

COptionMenuPopup::COptionMenuPopup (COptionMenu* menu)
: CView (CRect ()), menu (menu), highlighted (menu->getCurrentIndex ())
{
	menu->remember ();
	menu->popup = this;
	font = menu->getFont () && menu->getFont ()->getSize () <= kLargestListFont ? menu->getFont ()
	                                                                            : kNormalFontBig;
	font->remember ();
	attached (menu->getFrame ());
	layout ();
}

COptionMenuPopup::~COptionMenuPopup ()
{
	font->forget ();
	menu->popup = nullptr;
	menu->forget ();
}

void COptionMenuPopup::layout ()
{
	const CRect bounds = frame ? frame->getViewSize () : menu->getViewSize ();
	const int32_t count = menu->getNbEntries ();
	rowHeight = font->getSize () + 8;
	const CCoord room = bounds.width () - 2 * kListMargin;
	columnWidth = std::min (room, kMarkWidth + widestEntry (*menu, font) + kTextPadding);
	const int32_t maxRows = std::max<int32_t> (1, (bounds.height () - 2 * kListMargin) / rowHeight);
	columns = std::max<int32_t> (1, (count + maxRows - 1) / maxRows);
	// Balanced columns: 36 entries in three columns of 12 rather than 16, 16 and 4.
	rows = std::max<int32_t> (1, (count + columns - 1) / columns);
	visibleColumns = std::min<int32_t> (columns, std::max<CCoord> (1, room / std::max<CCoord> (1, columnWidth)));

	const CRect& anchor = menu->getViewSize ();
	const CCoord width = visibleColumns * columnWidth + 2 * kListMargin;
	const CCoord height = rows * rowHeight + 2 * kListMargin;
	CCoord left = anchor.left;
	CCoord top = anchor.bottom;
	if (left + width > bounds.right)
		left = std::max (bounds.left, bounds.right - width);
	if (top + height > bounds.bottom)
		top = std::max (bounds.top, bounds.bottom - height);
	size = mouseableArea = CRect (left, top, left + width, top + height);
	highlight (highlighted);
}

CRect COptionMenuPopup::getEntryRect (int32_t index) const
{
	if (index < 0 || index >= menu->getNbEntries ())
		return CRect ();
	const int32_t column = index / rows - firstColumn;
	if (column < 0 || column >= visibleColumns)
		return CRect ();
	const CCoord left = size.left + kListMargin + column * columnWidth;
	const CCoord top = size.top + kListMargin + (index % rows) * rowHeight;
	return CRect (left, top, left + columnWidth, top + rowHeight);
}

int32_t COptionMenuPopup::entryAt (const CPoint& where) const
{
	for (int32_t index = 0; index < menu->getNbEntries (); ++index)
		if (getEntryRect (index).pointInside (where))
			return index;
	return -1;
}

void COptionMenuPopup::highlight (int32_t index)
{
	const int32_t count = menu->getNbEntries ();
	highlighted = std::min (std::max (index, 0), count - 1);
	const int32_t column = highlighted / rows;
	if (column < firstColumn)
		firstColumn = column;
	else if (column >= firstColumn + visibleColumns)
		firstColumn = column - visibleColumns + 1;
	invalid ();
}

void COptionMenuPopup::draw (CDrawContext* context)
{
	context->fillRect (size, kBackColor);
	context->frameRect (size, kFrameColor);
	const int32_t current = menu->getCurrentIndex ();
	for (int32_t index = 0; index < menu->getNbEntries (); ++index)
	{
		const CRect entry = getEntryRect (index);
		if (entry.isEmpty ())
			continue;
		if (index == highlighted)
			context->fillRect (entry, kHighlightColor);
		if (index == current)
			drawCheckMark (context, entry, kTextColor);
		CRect text (entry);
		text.left += kMarkWidth;
		context->drawString (menu->getEntry (index), text, font, kTextColor, kLeftText);
	}
	setDirty (false);
}

CMouseEventResult COptionMenuPopup::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	// The second press of the double-click that opened the list chooses nothing.
	if (buttons & kDoubleClick)
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	const int32_t index = (buttons & kLButton) ? entryAt (where) : -1;
	if (index >= 0)
		choose (index);
	else if (!size.pointInside (where))
		close ();
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult COptionMenuPopup::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	const int32_t index = entryAt (where);
	if (index >= 0 && index != highlighted)
		highlight (index);
	return kMouseEventHandled;
}

bool COptionMenuPopup::onWheel (const CPoint& where, float distance, const CButtonState& buttons)
{
	// Away from the user goes up the list.
	if (distance != 0.f)
		highlight (highlighted + (distance > 0.f ? -1 : 1));
	return true;
}

int32_t COptionMenuPopup::onKeyDown (VstKeyCode& key)
{
	const int32_t last = menu->getNbEntries () - 1;
	switch (key.virt)
	{
		case VKEY_UP: highlight (highlighted - 1); return 1;
		case VKEY_DOWN: highlight (highlighted + 1); return 1;
		case VKEY_LEFT:
		case VKEY_PAGEUP: highlight (highlighted >= rows ? highlighted - rows : 0); return 1;
		case VKEY_RIGHT:
		case VKEY_PAGEDOWN: highlight (std::min (highlighted + rows, last)); return 1;
		case VKEY_HOME: highlight (0); return 1;
		case VKEY_END: highlight (last); return 1;
		case VKEY_RETURN:
		case VKEY_ENTER:
		case VKEY_SPACE: choose (highlighted); return 1;
		case VKEY_ESCAPE: close (); return 1;
		default: return -1;
	}
}

void COptionMenuPopup::looseFocus ()
{
	close ();
}

void COptionMenuPopup::close ()
{
	if (closing)
		return;
	closing = true;
	CFrame* owner = frame;
	if (!owner)
		return;
	if (owner->getFocusView () == this)
		owner->setFocusView (nullptr);
	// Last: the frame's reference may be the only one left.
	owner->setModalView (nullptr);
}

void COptionMenuPopup::choose (int32_t index)
{
	COptionMenu* owner = menu;
	owner->remember ();
	close ();
	owner->chooseEntry (index);
	owner->forget ();
}

} // namespace VSTGUI
