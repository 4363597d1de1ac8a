#include "EditorFixture.h"

#include <fstream>
#include <sstream>

namespace QuillmereEditorTest {

void ScratchHome::writeConfig (const std::string& text) const
{
	fs::create_directories (folder + "/Documents/Quillmere");
	std::ofstream (configFile (), std::ios::binary) << text;
}

std::string ScratchHome::readConfig () const
{
	std::ifstream file (configFile (), std::ios::binary);
	if (!file)
		return "<none>";
	std::ostringstream text;
	text << file.rdbuf ();
	return text.str ();
}

void EditorTest::SetUp ()
{
	VSTGUI::setResourceFolder (QUILLMERE_RESOURCES_DIR);
	effect = new Quillmere ();
	ASSERT_EQ (effect->initialize (nullptr), kResultOk);
	effect->setComponentHandler (&handler);
}

void EditorTest::TearDown ()
{
	for (QuillmereEditorView* view : views)
	{
		view->close ();
		effect->editorRemoved (view);
		view->release ();
	}
	effect->setComponentHandler (nullptr);
	effect->terminate ();
	effect->release ();
	VSTGUI::setResourceFolder (QUILLMERE_RESOURCES_DIR);
}

QuillmereEditorView* EditorTest::newView ()
{
	IPlugView* made = effect->createView ("editor");
	auto* view = dynamic_cast<QuillmereEditorView*> (made);
	if (!view)
	{
		ADD_FAILURE () << "createView (\"editor\") gave no editor view";
		return nullptr;
	}
	views.push_back (view);
	effect->editorAttached (view);
	return view;
}

bool EditorTest::openOffscreen (QuillmereEditorView* view)
{
	VSTGUI::PlatformParent parent;
	parent.type = VSTGUI::PlatformType::kOffscreen;
	return view->open (&parent);
}

QuillmereEditorView* EditorTest::openView ()
{
	QuillmereEditorView* view = newView ();
	if (!view || !openOffscreen (view))
		return nullptr;
	return view;
}

void EditorTest::closeView (QuillmereEditorView* view)
{
	view->close ();
}

VSTGUI::OffscreenFrame* EditorTest::offscreen (QuillmereEditorView* view)
{
	VSTGUI::CFrame* frame = view ? view->getFrame () : nullptr;
	return frame ? dynamic_cast<VSTGUI::OffscreenFrame*> (frame->getPlatformFrame ()) : nullptr;
}

void OpenEditorTest::openEditor ()
{
	view = openView ();
	ASSERT_NE (view, nullptr);
	window = offscreen (view);
	ASSERT_NE (window, nullptr);
	handler.clear ();
}

std::string parameterText (Quillmere& effect, ParamID id, ParamValue value)
{
	String128 text = {};
	effect.getParamStringByValue (id, value, text);
	std::string ascii;
	for (size_t i = 0; i < 128 && text[i]; ++i)
		ascii.push_back (static_cast<char> (text[i]));
	return ascii;
}

VSTGUI::CPoint centreOf (const VSTGUI::CView* view)
{
	const VSTGUI::CRect& size = view->getViewSize ();
	return VSTGUI::CPoint ((size.left + size.right) / 2, (size.top + size.bottom) / 2);
}

std::string editSummary (const QuillmereHost::ComponentHandlerRecorder& handler)
{
	using Kind = QuillmereHost::ComponentHandlerRecorder::Kind;
	std::string summary;
	for (const auto& call : handler.calls ())
	{
		const char* letter = call.kind == Kind::kBeginEdit ? "b" : call.kind == Kind::kPerformEdit ? "p"
		                     : call.kind == Kind::kEndEdit ? "e" : nullptr;
		if (!letter)
			continue;
		if (!summary.empty ())
			summary += ' ';
		summary += letter + std::to_string (call.id);
	}
	return summary;
}

std::vector<ParamValue> performedValues (const QuillmereHost::ComponentHandlerRecorder& handler,
                                         ParamID id)
{
	std::vector<ParamValue> values;
	for (const auto& call : handler.calls ())
		if (call.kind == QuillmereHost::ComponentHandlerRecorder::Kind::kPerformEdit && call.id == id)
			values.push_back (call.value);
	return values;
}

cairo_surface_t* snapshot (VSTGUI::OffscreenFrame& frame)
{
	cairo_surface_t* source = frame.getSurface ();
	cairo_surface_t* copy = cairo_image_surface_create (
	    CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width (source),
	    cairo_image_surface_get_height (source));
	cairo_t* context = cairo_create (copy);
	cairo_set_source_surface (context, source, 0, 0);
	cairo_set_operator (context, CAIRO_OPERATOR_SOURCE);
	cairo_paint (context);
	cairo_destroy (context);
	cairo_surface_flush (copy);
	return copy;
}

bool samePixels (VSTGUI::OffscreenFrame& frame, cairo_surface_t* other, const VSTGUI::CRect& area)
{
	const unsigned char* data = cairo_image_surface_get_data (other);
	const int stride = cairo_image_surface_get_stride (other);
	for (VSTGUI::CCoord y = area.top; y < area.bottom; ++y)
		for (VSTGUI::CCoord x = area.left; x < area.right; ++x)
			if (frame.pixel (x, y) != reinterpret_cast<const uint32_t*> (data + y * stride)[x])
				return false;
	return true;
}

} // namespace QuillmereEditorTest
