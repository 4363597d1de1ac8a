#pragma once
// The effect's editor view. The effect keeps the open views in a list and tells each of
// them about every parameter change.

#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class QuillmereEditorView : public EditorView
{
public:
	explicit QuillmereEditorView (EditController* controller, ViewRect* size = nullptr)
	: EditorView (controller, size)
	{
	}

	// Moves the controls of one parameter to a new normalized value.
	virtual void updateParameter (ParamID tag, ParamValue value) {}

	OBJ_METHODS (QuillmereEditorView, EditorView)
};

} // namespace Vst
} // namespace Steinberg
