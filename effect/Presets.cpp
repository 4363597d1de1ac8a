#include "Quillmere.h"
#include "QuillmereIds.h"
#include "TextScan.h"

namespace Steinberg {
namespace Vst {

namespace {
bool keptByLock (ParamID id)
{
	return id == kDryId || id == kWetId || id == kBypassDryId || id == kBypassWetId;
}

bool takesPlainValue (ParamID id)
{
	return id == kEarlyVariationId || id == kReverbVariationId ||
	       (id >= kBypassDryId && id <= kBypassWetId);
}
} // namespace

void Quillmere::applyPreset (const double* row)
{
	for (ParamID id = 0; id <= kLastSettingId; ++id)
	{
		if (id == kBypassId || (presetLock && keptByLock (id)))
			continue;
		ParamValue value = getParamNormalized (id);
		if (takesPlainValue (id))
		{
			value = plainParamToNormalized (id, row[id]);
		}
		else
		{
			// As if typed: two decimals through the parameter's own parser, so a preset
			// lands exactly where the same text typed by the user would.
			String128 text;
			printNumber (text, "%.2f", row[id]);
			getParamValueByString (id, text, value);
		}
		setParamNormalized (id, value);
		beginEdit (id);
		performEdit (id, value);
		endEdit (id);
	}
}

} // namespace Vst
} // namespace Steinberg
