#include "coptionmenu.h"

#include "cbitmap.h"

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

} // namespace VSTGUI
