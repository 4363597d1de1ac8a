#pragma once
// A menu of text entries. Its value is the index of the current entry; closed, it shows
// that entry's text in its font colour.

#include "ctext.h"

#include <string>
#include <vector>

namespace VSTGUI {

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

protected:
	const char* displayedText () const override;

private:
	void updateRange ();

	std::vector<std::string> entries;
	CBitmap* backgroundWhenClicked;
};

} // namespace VSTGUI
