#include "vst2text.h"

namespace Steinberg {
namespace Vst {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool isHighSurrogate (char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate (char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Reads one code point and advances source; stops at the terminator.
char32_t decodeUtf16 (const char16_t*& source)
{
	char32_t unit = *source++;
	if (isHighSurrogate (unit) && isLowSurrogate (*source))
	{
		char32_t low = *source++;
		return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
	}
	if (isHighSurrogate (unit) || isLowSurrogate (unit))
		return kReplacementCharacter;
	return unit;
}

char32_t decodeUtf8 (const unsigned char*& source)
{
	unsigned char lead = *source++;
	if (lead < 0x80)
		return lead;
	int continuationCount;
	char32_t codePoint;
	char32_t smallest;
	if ((lead & 0xE0) == 0xC0)
	{
		continuationCount = 1;
		codePoint = lead & 0x1F;
		smallest = 0x80;
	}
	else if ((lead & 0xF0) == 0xE0)
	{
		continuationCount = 2;
		codePoint = lead & 0x0F;
		smallest = 0x800;
	}
	else if ((lead & 0xF8) == 0xF0)
	{
		continuationCount = 3;
		codePoint = lead & 0x07;
		smallest = 0x10000;
	}
	else
		return kReplacementCharacter;
	for (int i = 0; i < continuationCount; ++i)
	{
		if ((*source & 0xC0) != 0x80) // also stops at the terminator
			return kReplacementCharacter;
		codePoint = (codePoint << 6) | (*source++ & 0x3F);
	}
	if (codePoint < smallest || codePoint > 0x10FFFF || isHighSurrogate (codePoint) ||
	    isLowSurrogate (codePoint))
		return kReplacementCharacter;
	return codePoint;
}

size_t encodeUtf8 (char32_t codePoint, char* out)
{
	if (codePoint < 0x80)
	{
		out[0] = static_cast<char> (codePoint);
		return 1;
	}
	if (codePoint < 0x800)
	{
		out[0] = static_cast<char> (0xC0 | (codePoint >> 6));
		out[1] = static_cast<char> (0x80 | (codePoint & 0x3F));
		return 2;
	}
	if (codePoint < 0x10000)
	{
		out[0] = static_cast<char> (0xE0 | (codePoint >> 12));
		out[1] = static_cast<char> (0x80 | ((codePoint >> 6) & 0x3F));
		out[2] = static_cast<char> (0x80 | (codePoint & 0x3F));
		return 3;
	}
	out[0] = static_cast<char> (0xF0 | (codePoint >> 18));
	out[1] = static_cast<char> (0x80 | ((codePoint >> 12) & 0x3F));
	out[2] = static_cast<char> (0x80 | ((codePoint >> 6) & 0x3F));
	out[3] = static_cast<char> (0x80 | (codePoint & 0x3F));
	return 4;
}

// Appends whole characters while they fit before the terminator.
template <typename Char, typename Decode>
void writeUtf8 (const Char* source, char* dest, size_t destSize, Decode decode)
{
	if (!dest || destSize == 0)
		return;
	size_t used = 0;
	while (source && *source)
	{
		char encoded[4];
		size_t length = encodeUtf8 (decode (source), encoded);
		if (used + length + 1 > destSize)
			break;
		for (size_t i = 0; i < length; ++i)
			dest[used++] = encoded[i];
	}
	dest[used] = 0;
}

} // namespace

void copyUtf16ToUtf8 (const char16_t* source, char* dest, size_t destSize)
{
	writeUtf8 (source, dest, destSize, decodeUtf16);
}

void copyUtf8Limited (const char* source, char* dest, size_t destSize)
{
	writeUtf8 (reinterpret_cast<const unsigned char*> (source), dest, destSize, decodeUtf8);
}

void copyUtf8ToUtf16 (const char* source, char16_t* dest, size_t destCount)
{
	if (!dest || destCount == 0)
		return;
	auto* bytes = reinterpret_cast<const unsigned char*> (source);
	size_t used = 0;
	while (bytes && *bytes)
	{
		char32_t codePoint = decodeUtf8 (bytes);
		size_t length = codePoint >= 0x10000 ? 2 : 1;
		if (used + length + 1 > destCount)
			break;
		if (length == 2)
		{
			dest[used++] = static_cast<char16_t> (0xD800 + ((codePoint - 0x10000) >> 10));
			dest[used++] = static_cast<char16_t> (0xDC00 + ((codePoint - 0x10000) & 0x3FF));
		}
		else
			dest[used++] = static_cast<char16_t> (codePoint);
	}
	dest[used] = 0;
}

} // namespace Vst
} // namespace Steinberg
