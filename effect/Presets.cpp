#include "ParameterTable.h"
#include "Quillmere.h"
#include "TextScan.h"

namespace Steinberg {
namespace Vst {

namespace {
// The mix that the preset lock keeps.
bool keptByLock (ParamID id)
{
	return id == kDryId || id == kWetId || id == kBypassDryId || id == kBypassWetId;
}
} // namespace

void Quillmere::applyPreset (const PresetValues& preset)
{
	for (ParamID id = 0; id <= kLastSettingId; ++id)
	{
		const ParameterSpec& row = parameterSpec (id);
		if (!row.presetValue || (presetLock && keptByLock (id)))
			continue;
		const double plain = preset.*row.presetValue;
		ParamValue value = getParamNormalized (id);
		if (row.kind == ParameterKind::kList || row.kind == ParameterKind::kSwitch)
		{
			value = plainParamToNormalized (id, plain);
		}
		else
		{
			// As if typed: two decimals through the parameter's own parser, so a preset
			// lands exactly where the same text typed by the user would.
			String128 text;
			printNumber (text, "%.2f", plain);
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
