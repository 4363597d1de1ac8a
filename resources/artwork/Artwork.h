#pragma once

#include "Brand.h"
#include "Layout.h"

#include <string>
#include <vector>

namespace artwork {

struct Picture
{
	std::string file;
	Surface image;
};

// Every image the skin names, once each.
std::vector<Picture> drawSkin (const SkinLayout& skin, const Fonts& fonts, const std::string& version);

} // namespace artwork
