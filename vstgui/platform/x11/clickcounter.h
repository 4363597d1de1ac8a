#pragma once
// X reports single presses only; a second press of the same button soon after and close
// to the first is a double-click. A third press starts over.

#include <cstdint>
#include <cstdlib>

namespace VSTGUI {

class ClickCounter
{
public:
	static constexpr uint32_t kIntervalMs = 250;
	static constexpr int32_t kDistance = 5;

	// `time` is the X server's timestamp of the press, in milliseconds.
	bool isDoubleClick (uint8_t button, int32_t x, int32_t y, uint32_t time)
	{
		bool isDouble = havePrevious && button == lastButton &&
		                uint32_t (time - lastTime) <= kIntervalMs &&
		                std::abs (x - lastX) <= kDistance && std::abs (y - lastY) <= kDistance;
		havePrevious = !isDouble;
		lastButton = button;
		lastX = x;
		lastY = y;
		lastTime = time;
		return isDouble;
	}

private:
	bool havePrevious = false;
	uint8_t lastButton = 0;
	int32_t lastX = 0;
	int32_t lastY = 0;
	uint32_t lastTime = 0;
};

} // namespace VSTGUI
