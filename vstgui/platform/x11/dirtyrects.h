#pragma once
// Rectangles waiting to be painted. Overlapping rectangles merge; past a handful, all
// merge into one, which costs less than many small copies to the window.

#include "vstgui/lib/cgeometry.h"

#include <vector>

namespace VSTGUI {

class DirtyRects
{
public:
	void add (const CRect& rect)
	{
		if (rect.isEmpty ())
			return;
		CRect merged (rect);
		// A merge can make the rectangle meet others it missed before; repeat until stable.
		for (bool grew = true; grew;)
		{
			grew = false;
			for (auto it = rects.begin (); it != rects.end (); ++it)
			{
				if (it->rectOverlap (merged))
				{
					merged.unite (*it);
					rects.erase (it);
					grew = true;
					break;
				}
			}
		}
		rects.push_back (merged);
		if (rects.size () > kMaxRects)
		{
			CRect all;
			for (const CRect& r : rects)
				all.unite (r);
			rects.assign (1, all);
		}
	}
	void clear () { rects.clear (); }
	bool empty () const { return rects.empty (); }
	// Hands the list over and leaves this one empty.
	std::vector<CRect> take ()
	{
		std::vector<CRect> taken;
		taken.swap (rects);
		return taken;
	}
	const std::vector<CRect>& list () const { return rects; }

private:
	static constexpr size_t kMaxRects = 16;
	std::vector<CRect> rects;
};

} // namespace VSTGUI
