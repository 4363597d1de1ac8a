#include "iplatformframe.h"
#include "offscreen/offscreenframe.h"

#if QUILLMERE_HAS_X11
#include "x11/x11frame.h"
#endif

namespace VSTGUI {

IPlatformFrame* createPlatformFrame (IPlatformFrameCallback* frame, const CRect& size,
                                     const PlatformParent& parent)
{
	switch (parent.type)
	{
		case PlatformType::kOffscreen: return new OffscreenFrame (frame, size);
		case PlatformType::kX11EmbedWindowID:
#if QUILLMERE_HAS_X11
			return createX11Frame (frame, size, parent);
#else
			return nullptr;
#endif
	}
	return nullptr;
}

} // namespace VSTGUI
