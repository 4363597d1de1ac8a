#pragma once
// Stereo audio held in memory, and the error a renderer step reports to the user.

#include <stdexcept>
#include <string>
#include <vector>

namespace QuillmereRender {

struct StereoAudio
{
	double sampleRate = 48000.0;
	std::vector<float> left;
	std::vector<float> right;

	size_t frames () const { return left.size (); }
	void resize (size_t frames)
	{
		left.resize (frames, 0.0f);
		right.resize (frames, 0.0f);
	}
};

// One line for the user: what went wrong, naming the file, preset or parameter.
class ToolError : public std::runtime_error
{
public:
	using std::runtime_error::runtime_error;
};

} // namespace QuillmereRender
