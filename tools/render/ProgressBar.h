#pragma once
// A one-line progress bar on stderr, drawn only when stderr is a terminal.

#include "RenderLoop.h"

#include <chrono>

namespace QuillmereRender {

class ProgressBar
{
public:
	// Draws only when enabled and stderr is a terminal.
	explicit ProgressBar (bool enabled);
	~ProgressBar ();

	void update (const RenderProgress& progress);
	ProgressCallback callback ()
	{
		return [this] (const RenderProgress& p) { update (p); };
	}

private:
	void clear ();

	bool active;
	bool drawn = false;
	std::chrono::steady_clock::time_point lastDrawn {};
};

} // namespace QuillmereRender
