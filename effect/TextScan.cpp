#include "TextScan.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace Steinberg {
namespace Vst {

namespace {
const int kMaxScanLength = 127;

// Numbers are written with a point whatever locale the host runs in.
locale_t cLocale ()
{
	static locale_t locale = newlocale (LC_NUMERIC_MASK, "C", nullptr);
	return locale;
}

TChar asciiLower (TChar c)
{
	return (c >= 'A' && c <= 'Z') ? static_cast<TChar> (c - 'A' + 'a') : c;
}

void widen (const char* narrow, String128 text)
{
	int i = 0;
	for (; narrow[i] && i < 127; ++i)
		text[i] = static_cast<TChar> (static_cast<unsigned char> (narrow[i]));
	text[i] = 0;
}
} // namespace

bool scanNumber (const TChar* text, double& value)
{
	if (!text)
		return false;
	char narrow[kMaxScanLength + 1];
	int length = 0;
	bool commaSeen = false;
	for (; text[length] && length < kMaxScanLength; ++length)
	{
		TChar c = text[length];
		if (c == ',' && !commaSeen)
		{
			c = '.';
			commaSeen = true;
		}
		narrow[length] = (c > 0 && c < 128) ? static_cast<char> (c) : '?';
	}
	narrow[length] = 0;

	for (int start = 0; start < length; ++start)
	{
		char* end = nullptr;
		const double number = strtod_l (narrow + start, &end, cLocale ());
		if (end != narrow + start)
		{
			if (!std::isfinite (number))
				return false;
			value = number;
			return true;
		}
	}
	return false;
}

bool textIsWord (const TChar* text, const char* word)
{
	if (!text || !word)
		return false;
	int i = 0;
	while (text[i] == ' ')
		++i;
	for (; *word; ++word, ++i)
	{
		if (asciiLower (text[i]) != asciiLower (static_cast<TChar> (*word)))
			return false;
	}
	while (text[i] == ' ')
		++i;
	return text[i] == 0;
}

void printWord (String128 text, const char* word)
{
	widen (word, text);
}

void printNumber (String128 text, const char* format, double value)
{
	char narrow[128];
	locale_t previous = uselocale (cLocale ());
	std::snprintf (narrow, sizeof (narrow), format, value);
	uselocale (previous);
	widen (narrow, text);
}

void printNumber (String128 text, const char* format, int precision, double value)
{
	char narrow[128];
	locale_t previous = uselocale (cLocale ());
	std::snprintf (narrow, sizeof (narrow), format, precision, value);
	uselocale (previous);
	widen (narrow, text);
}

} // namespace Vst
} // namespace Steinberg
