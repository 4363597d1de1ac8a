#pragma once
// What a frame knows of the editor that owns it.

#include <cstdint>

namespace VSTGUI {

class CFrame;

class VSTGUIEditorInterface
{
public:
	virtual ~VSTGUIEditorInterface () = default;

	// Every timer tick: the editor's idle work, which ends by running the frame's idle.
	virtual void doIdleStuff ();
	// Edit brackets from the toolkit's side (parameter index = control tag).
	virtual void beginEdit (int32_t index) {}
	virtual void endEdit (int32_t index) {}
	// The host's knob mode, or -1 when it has none.
	virtual int32_t getKnobMode () const { return -1; }

	virtual CFrame* getFrame () const { return frame; }

protected:
	CFrame* frame = nullptr;
};

} // namespace VSTGUI
