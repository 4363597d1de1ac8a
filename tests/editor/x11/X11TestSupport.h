#pragma once
// Small helpers of the X11 tests: open descriptors of this process, images to compare, a
// home folder of their own for the skin file.

#include "X11Host.h"

#include <cairo.h>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace QuillmereTest {

// HOME points at an empty folder for the life of the object, so the skin file is ours.
class ScratchHome
{
public:
	ScratchHome ()
	{
		if (const char* old = std::getenv ("HOME"))
			previous = old;
		char pattern[] = "/tmp/quillmere-x11-home-XXXXXX";
		folder = ::mkdtemp (pattern);
		::setenv ("HOME", folder.c_str (), 1);
	}
	~ScratchHome ()
	{
		::setenv ("HOME", previous.c_str (), 1);
		std::error_code ignored;
		std::filesystem::remove_all (folder, ignored);
	}
	void chooseSkin (int skin) const
	{
		std::filesystem::create_directories (folder + "/Documents/Quillmere");
		std::ofstream (folder + "/Documents/Quillmere/QuillmereConfig.txt") << "QuillmereSkin= " << skin << "\n";
	}

private:
	std::string folder;
	std::string previous;
};

// Entries of /proc/self/fd (the directory's own descriptor included, a constant).
inline int openFileCount ()
{
	int count = 0;
	if (DIR* fds = ::opendir ("/proc/self/fd"))
	{
		while (::readdir (fds))
			++count;
		::closedir (fds);
	}
	return count;
}

// Whether the host's window has lost all its children within `timeoutMs`. Another
// client's teardown and our query are not ordered at the server, so we ask until then.
inline bool childrenGone (QuillmereHost::X11HostWindow& host, int timeoutMs = 2000)
{
	for (int waited = 0; !host.children ().empty (); waited += 5)
	{
		if (waited >= timeoutMs)
			return false;
		::usleep (5000);
	}
	return true;
}

// The RGB of an image surface, as the host's screenshots hold it.
inline QuillmereHost::X11Image imageOf (cairo_surface_t* surface)
{
	cairo_surface_flush (surface);
	QuillmereHost::X11Image image;
	image.width = cairo_image_surface_get_width (surface);
	image.height = cairo_image_surface_get_height (surface);
	int stride = cairo_image_surface_get_stride (surface);
	const unsigned char* data = cairo_image_surface_get_data (surface);
	image.pixels.resize (size_t (image.width) * size_t (image.height));
	for (int y = 0; y < image.height; ++y)
		for (int x = 0; x < image.width; ++x)
		{
			uint32_t pixel;
			std::memcpy (&pixel, data + size_t (y) * size_t (stride) + size_t (x) * 4, 4);
			image.pixels[size_t (y) * size_t (image.width) + size_t (x)] = pixel & 0xffffffu;
		}
	return image;
}

// Pixels whose colour differs in any channel by more than `tolerance`; -1 when the sizes
// differ.
inline long countDifferentPixels (const QuillmereHost::X11Image& a, const QuillmereHost::X11Image& b,
                                  int tolerance = 0)
{
	if (a.width != b.width || a.height != b.height)
		return -1;
	long different = 0;
	for (size_t i = 0; i < a.pixels.size (); ++i)
		for (int shift : {0, 8, 16})
			if (std::abs (int ((a.pixels[i] >> shift) & 255) - int ((b.pixels[i] >> shift) & 255)) > tolerance)
			{
				++different;
				break;
			}
	return different;
}

} // namespace QuillmereTest
