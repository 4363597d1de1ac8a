#pragma once
// An on/off parameter (step count 1) whose texts "On" and "Off" also read back.

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class SwitchParameter : public Parameter
{
public:
	SwitchParameter (const TChar* title, ParamID tag, int32 flags);

	void toString (ParamValue normalized, String128 string) const SMTG_OVERRIDE;
	bool fromString (const TChar* string, ParamValue& normalized) const SMTG_OVERRIDE;
};

} // namespace Vst
} // namespace Steinberg
