#include "SkinConfig.h"

#include "Quillmere.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace Steinberg {
namespace Vst {
namespace {

constexpr size_t kPathSize = 256;
constexpr size_t kKeySize = 15; // "QuillmereSkin=" and its terminator
const char* const kKey = "QuillmereSkin=";

// Appends "/part" to `path`; false when it does not fit.
bool appendFolder (char (&path)[kPathSize], const char* base, const char* part)
{
	const int written = std::snprintf (path, kPathSize, "%s/%s", base, part);
	return written >= 0 && static_cast<size_t> (written) < kPathSize;
}

// Builds the documents folder, the Quillmere folder and the file path in turn, each from
// the one before; false when HOME is unset or the result would not fit.
bool configPaths (char (&documents)[kPathSize], char (&folder)[kPathSize],
                  char (&file)[kPathSize])
{
	const char* home = std::getenv ("HOME");
	return home && appendFolder (documents, home, "Documents") &&
	       appendFolder (folder, documents, "Quillmere") &&
	       appendFolder (file, folder, "QuillmereConfig.txt");
}

// The decimal integer after the first word, or 0 when there is none. Values beyond the
// 32-bit range are held at its ends.
int32 readNumber (std::FILE* stream)
{
	char digits[24] = {};
	if (std::fscanf (stream, " %23[-+0123456789]", digits) != 1)
		return 0;
	const long long number = std::strtoll (digits, nullptr, 10);
	if (number > INT_MAX)
		return INT_MAX;
	if (number < INT_MIN)
		return INT_MIN;
	return static_cast<int32> (number);
}

} // namespace

void readSkinConfig (Quillmere* effect)
{
	if (!effect)
		return;
	char documents[kPathSize], folder[kPathSize], file[kPathSize];
	std::FILE* stream = configPaths (documents, folder, file) ? std::fopen (file, "r") : nullptr;
	if (!stream)
	{
		effect->skin = 1;
		return;
	}
	char key[kKeySize] = {};
	int32 skin = 0;
	// The key's first 14 characters, then whatever is left of the same word.
	if (std::fscanf (stream, "%14s%*[^ \t\n\r\f\v]", key) == 1)
		skin = readNumber (stream);
	effect->skin = skin;
	std::fclose (stream);
}

void writeSkinConfig (Quillmere* effect)
{
	if (!effect)
		return;
	char documents[kPathSize], folder[kPathSize], file[kPathSize];
	if (!configPaths (documents, folder, file))
		return;
	mkdir (documents, 0777);
	mkdir (folder, 0777);
	std::FILE* stream = std::fopen (file, "w");
	if (!stream)
		return;
	std::fprintf (stream, "%s %d\n", kKey, static_cast<int> (effect->skin));
	std::fflush (stream);
	std::fclose (stream);
}

} // namespace Vst
} // namespace Steinberg
