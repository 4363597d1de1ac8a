#include "fontfile.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

namespace VSTGUI {
namespace {

// One FreeType library for the module's lifetime. It is ours alone, but cairo may keep
// faces made from it cached past any point where we could tell, so it is never freed.
FT_Library fontLibrary ()
{
	static FT_Library library = nullptr;
	static std::once_flag once;
	std::call_once (once, [] {
		if (FT_Init_FreeType (&library) != 0)
			library = nullptr;
	});
	return library;
}

const cairo_user_data_key_t kFreeTypeFaceKey {};

void releaseFreeTypeFace (void* face)
{
	FT_Done_Face (static_cast<FT_Face> (face));
}

} // namespace

cairo_font_face_t* createFontFaceFromFile (const char* path)
{
	FT_Library library = fontLibrary ();
	if (!library || !path)
		return nullptr;
	FT_Face face = nullptr;
	if (FT_New_Face (library, path, 0, &face) != 0)
		return nullptr;
	cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face (face, 0);
	if (cairo_font_face_status (cairoFace) != CAIRO_STATUS_SUCCESS ||
	    cairo_font_face_set_user_data (cairoFace, &kFreeTypeFaceKey, face,
	                                   releaseFreeTypeFace) != CAIRO_STATUS_SUCCESS)
	{
		cairo_font_face_destroy (cairoFace);
		FT_Done_Face (face);
		return nullptr;
	}
	return cairoFace;
}

} // namespace VSTGUI
