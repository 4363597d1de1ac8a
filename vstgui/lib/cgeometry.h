#pragma once
// Whole-pixel geometry, measured from the top-left corner of the frame. Rectangles are
// left, top, right, bottom; right and bottom lie just outside.

#include <algorithm>
#include <cstdint>

namespace VSTGUI {

using CCoord = int32_t;

struct CPoint
{
	CCoord x = 0;
	CCoord y = 0;

	CPoint () = default;
	CPoint (CCoord x, CCoord y) : x (x), y (y) {}

	CPoint& offset (CCoord dx, CCoord dy) { x += dx; y += dy; return *this; }
	bool operator== (const CPoint& other) const { return x == other.x && y == other.y; }
	bool operator!= (const CPoint& other) const { return !(*this == other); }
};

struct CRect
{
	CCoord left = 0;
	CCoord top = 0;
	CCoord right = 0;
	CCoord bottom = 0;

	CRect () = default;
	CRect (CCoord left, CCoord top, CCoord right, CCoord bottom)
	: left (left), top (top), right (right), bottom (bottom)
	{
	}

	CCoord width () const { return right - left; }
	CCoord height () const { return bottom - top; }
	CCoord getWidth () const { return width (); }
	CCoord getHeight () const { return height (); }
	bool isEmpty () const { return right <= left || bottom <= top; }

	CRect& offset (CCoord dx, CCoord dy)
	{
		left += dx; right += dx; top += dy; bottom += dy;
		return *this;
	}
	bool pointInside (const CPoint& where) const
	{
		return where.x >= left && where.x < right && where.y >= top && where.y < bottom;
	}
	bool rectOverlap (const CRect& other) const
	{
		return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
	}
	// The part of this rectangle inside `other`; empty when they do not overlap.
	CRect& bound (const CRect& other)
	{
		left = std::max (left, other.left);
		top = std::max (top, other.top);
		right = std::max (left, std::min (right, other.right));
		bottom = std::max (top, std::min (bottom, other.bottom));
		return *this;
	}
	// The smallest rectangle holding both; an empty rectangle adds nothing.
	CRect& unite (const CRect& other)
	{
		if (other.isEmpty ())
			return *this;
		if (isEmpty ())
			return *this = other;
		left = std::min (left, other.left);
		top = std::min (top, other.top);
		right = std::max (right, other.right);
		bottom = std::max (bottom, other.bottom);
		return *this;
	}
	bool operator== (const CRect& other) const
	{
		return left == other.left && top == other.top && right == other.right &&
		       bottom == other.bottom;
	}
	bool operator!= (const CRect& other) const { return !(*this == other); }
};

} // namespace VSTGUI
