#include "cfont.h"

namespace VSTGUI {
namespace {
// Static descriptions: their count starts at one and never drops to zero.
CFontDesc normalFontSmall ("Helvetica", 11);
CFontDesc normalFont ("Helvetica", 12);
CFontDesc normalFontBig ("Helvetica", 14);
CFontDesc normalFontVeryBig ("Helvetica", 18);
} // namespace

const CFontRef kNormalFontSmall = &normalFontSmall;
const CFontRef kNormalFont = &normalFont;
const CFontRef kNormalFontBig = &normalFontBig;
const CFontRef kNormalFontVeryBig = &normalFontVeryBig;

const char* const kTextFontFileName = "LiberationSans-Regular.ttf";

} // namespace VSTGUI
