#pragma once
// An effect with editor views opened offscreen: HOME points at a scratch folder, bitmaps
// and the font come from the built bundle, and every edit the effect sends to the host is
// recorded.

#include "ComponentHandlerRecorder.h"
#include "ControlTags.h"
#include "Quillmere.h"
#include "QuillmereEditorView.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/resourcefolder.h"
#include "vstgui/platform/offscreen/offscreenframe.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace QuillmereEditorTest {

namespace fs = std::filesystem;
using namespace Steinberg;
using namespace Steinberg::Vst;

// A scratch folder as HOME for the life of the object; the old HOME comes back after.
class ScratchHome
{
public:
	ScratchHome ()
	{
		const char* old = std::getenv ("HOME");
		hadHome = old != nullptr;
		if (old)
			oldHome = old;
		char pattern[] = "/tmp/quillmere-home-XXXXXX";
		folder = mkdtemp (pattern);
		setenv ("HOME", folder.c_str (), 1);
	}
	~ScratchHome ()
	{
		if (hadHome)
			setenv ("HOME", oldHome.c_str (), 1);
		else
			unsetenv ("HOME");
		std::error_code ignored;
		fs::remove_all (folder, ignored);
	}
	const std::string& path () const { return folder; }
	std::string configFile () const { return folder + "/Documents/Quillmere/QuillmereConfig.txt"; }
	// Writes the configuration file with `text`, making its folders.
	void writeConfig (const std::string& text) const;
	// The configuration file's whole text, or "<none>" when there is no file.
	std::string readConfig () const;

private:
	std::string folder;
	std::string oldHome;
	bool hadHome = false;
};

class EditorTest : public ::testing::Test
{
protected:
	void SetUp () override;
	void TearDown () override;

	// A view from the effect's createView ("editor"), registered with the effect as a
	// host's attach would, and opened offscreen. Null when open fails.
	QuillmereEditorView* openView ();
	// A view made and registered but not opened.
	QuillmereEditorView* newView ();
	void closeView (QuillmereEditorView* view);
	static bool openOffscreen (QuillmereEditorView* view);
	static VSTGUI::OffscreenFrame* offscreen (QuillmereEditorView* view);
	template <typename Control>
	static Control* control (QuillmereEditorView* view, int32 slot)
	{
		return dynamic_cast<Control*> (view->getControl (slot));
	}

	ScratchHome home;
	Quillmere* effect = nullptr;
	QuillmereHost::ComponentHandlerRecorder handler;
	std::vector<QuillmereEditorView*> views;
};

// One editor view opened offscreen before each test, with the host's record cleared.
class OpenEditorTest : public EditorTest
{
protected:
	void SetUp () override
	{
		EditorTest::SetUp ();
		openEditor ();
	}
	// Opens `view` into `window` (a derived SetUp may write the skin file first).
	void openEditor ();

	QuillmereEditorView* view = nullptr;
	VSTGUI::OffscreenFrame* window = nullptr;
};

// The parameter's own text for a normalized value, in 8-bit characters.
std::string parameterText (Quillmere& effect, ParamID id, ParamValue value);

// The middle of a control, where a user would click it.
VSTGUI::CPoint centreOf (const VSTGUI::CView* view);

// The edits the host heard, in order and in short: "b5" beginEdit (5), "p5" performEdit,
// "e5" endEdit; restartComponent calls are left out.
std::string editSummary (const QuillmereHost::ComponentHandlerRecorder& handler);
// The values of the host's performEdit calls for `id`, in order.
std::vector<ParamValue> performedValues (const QuillmereHost::ComponentHandlerRecorder& handler,
                                         ParamID id);

// True when the two images hold the same pixels inside `area`.
bool samePixels (VSTGUI::OffscreenFrame& frame, cairo_surface_t* other, const VSTGUI::CRect& area);
// A copy of the frame's last image.
cairo_surface_t* snapshot (VSTGUI::OffscreenFrame& frame);

} // namespace QuillmereEditorTest
