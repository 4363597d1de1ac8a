// Draws every image of both editor skins into a folder, normally the bundle's
// Contents/Resources.
//
//   quillmere-artwork OUTPUT_DIR REGULAR_FONT BOLD_FONT VERSION

#include "Artwork.h"

#include <cstdio>
#include <set>

int main (int argc, char** argv)
{
	if (argc != 5)
	{
		std::fprintf (stderr, "usage: %s OUTPUT_DIR REGULAR_FONT BOLD_FONT VERSION\n", argv[0]);
		return 2;
	}
	const std::string folder = argv[1];
	artwork::Fonts fonts {artwork::Typeface (argv[2]), artwork::Typeface (argv[3])};
	if (!fonts.regular.valid () || !fonts.bold.valid ())
	{
		std::fprintf (stderr, "cannot read the fonts %s and %s\n", argv[2], argv[3]);
		return 1;
	}
	std::set<std::string> written;
	for (const artwork::SkinLayout* skin : artwork::allSkins ())
		for (const artwork::Picture& p : artwork::drawSkin (*skin, fonts, argv[4]))
		{
			// Files both skins share (the credits) are the same picture: write it once.
			if (!written.insert (p.file).second)
				continue;
			if (!p.image || !artwork::writePng (p.image, folder + "/" + p.file))
			{
				std::fprintf (stderr, "cannot write %s/%s\n", folder.c_str (), p.file.c_str ());
				return 1;
			}
		}
	return 0;
}
