#pragma once
// An equaliser gain in dB, -24 to +12 with 0 dB in the middle of the travel. A shelf band
// turns into a cut filter at the bottom, which the text names ("HPF" or "LPF").

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class EqGainParameter : public Parameter
{
public:
	enum BottomLabel : int32
	{
		kNoLabel = 0,
		kHighPassLabel = 1,
		kLowPassLabel = 2
	};

	EqGainParameter (int32 flags, ParamID tag, const char8* title, int32 bottomLabel);

	void toString (ParamValue normalized, String128 string) const SMTG_OVERRIDE;
	bool fromString (const TChar* string, ParamValue& normalized) const SMTG_OVERRIDE;

	static double toDecibels (ParamValue normalized);
	// The normalized value of a gain in dB, clamped into the range.
	static ParamValue normalizedOf (double dB);

protected:
	int32 bottomLabel;
};

} // namespace Vst
} // namespace Steinberg
