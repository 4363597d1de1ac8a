#include "ProgressBar.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace QuillmereRender {

namespace {
const int kBarWidth = 40;
const auto kRedrawInterval = std::chrono::milliseconds (100);
} // namespace

ProgressBar::ProgressBar (bool enabled) : active (enabled && isatty (STDERR_FILENO)) {}

ProgressBar::~ProgressBar ()
{
	clear ();
}

void ProgressBar::update (const RenderProgress& progress)
{
	if (!active)
		return;
	const auto now = std::chrono::steady_clock::now ();
	if (drawn && now - lastDrawn < kRedrawInterval)
		return;
	lastDrawn = now;
	drawn = true;
	const int filled = static_cast<int> (progress.inputFraction * kBarWidth + 0.5);
	const std::string bar = std::string (static_cast<size_t> (filled), '#') +
	                        std::string (static_cast<size_t> (kBarWidth - filled), '.');
	if (progress.inTail)
		std::fprintf (stderr, "\rrendering [%s] 100%%  tail %.1f s ", bar.c_str (), progress.tailSeconds);
	else
		std::fprintf (stderr, "\rrendering [%s] %3d%% ", bar.c_str (),
		              static_cast<int> (progress.inputFraction * 100.0));
	std::fflush (stderr);
}

void ProgressBar::clear ()
{
	if (active && drawn)
	{
		std::fprintf (stderr, "\r%*s\r", kBarWidth + 40, "");
		std::fflush (stderr);
		drawn = false;
	}
}

} // namespace QuillmereRender
