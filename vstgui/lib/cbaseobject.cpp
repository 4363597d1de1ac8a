#include "cbaseobject.h"

namespace VSTGUI {

const char* const kMsgTimer = "timer";

} // namespace VSTGUI
