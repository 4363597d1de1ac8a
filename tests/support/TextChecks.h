#pragma once
// Checks on parameter texts shared by the VST 3 and VST 2 text tests.

#include <algorithm>
#include <cctype>
#include <clocale>
#include <string>

namespace QuillmereTest {

// Hosts must never be shown "nan" or "inf".
inline bool showsANonNumber (std::string text)
{
	for (char& c : text)
		c = static_cast<char> (std::tolower (static_cast<unsigned char> (c)));
	return text.find ("nan") != std::string::npos || text.find ("inf") != std::string::npos;
}

// Texts that show the same reading: equal, or a negative zero beside a zero ("-0.00", "0.00").
inline bool sameReading (const std::string& a, const std::string& b)
{
	auto unsignedZero = [] (const std::string& text) {
		const bool zero = text.size () > 1 && text[0] == '-' &&
		                  text.find_first_not_of ("0.", 1) == std::string::npos;
		return zero ? text.substr (1) : text;
	};
	return unsignedZero (a) == unsignedZero (b);
}

// Switches the whole process to a locale that writes a decimal comma, and back.
class CommaLocale
{
public:
	CommaLocale ()
	{
		previous = std::setlocale (LC_ALL, nullptr);
		for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE"})
			if (std::setlocale (LC_ALL, name) && *std::localeconv ()->decimal_point == ',')
				return;
		std::setlocale (LC_ALL, previous.c_str ());
		previous.clear ();
	}
	~CommaLocale ()
	{
		if (active ())
			std::setlocale (LC_ALL, previous.c_str ());
	}
	CommaLocale (const CommaLocale&) = delete;
	CommaLocale& operator= (const CommaLocale&) = delete;
	bool active () const { return !previous.empty (); }

private:
	std::string previous;
};

} // namespace QuillmereTest
