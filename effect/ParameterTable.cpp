#include "ParameterTable.h"

#include "DecimalRangeParameter.h"
#include "EqGainParameter.h"
#include "GainParameter.h"
#include "LogMapping.h"
#include "LogParameter.h"
#include "ParabolParameter.h"
#include "Quillmere.h"
#include "SwitchParameter.h"

#include "pluginterfaces/base/ustring.h"
#include <cstdio>

namespace Steinberg {
namespace Vst {

namespace {
Parameter* withPrecision (Parameter* parameter, int32 precision)
{
	parameter->setPrecision (precision);
	return parameter;
}

StringListParameter* variationList (const TChar* title, ParamID id, int32 entries, int32 flags)
{
	auto* list = new StringListParameter (title, id, nullptr, flags);
	for (int32 i = 1; i <= entries; ++i)
	{
		char name[32];
		std::snprintf (name, sizeof (name), "Variation %d", i);
		list->appendString (UString128 (name));
	}
	return list;
}

Parameter* makeParameter (const ParameterSpec& p)
{
	const UString128 title (p.title);
	const UString128 unitText (p.units);
	const TChar* units = p.units[0] ? static_cast<const TChar*> (unitText) : nullptr;
	switch (p.kind)
	{
		case ParameterKind::kLevel: return new GainParameter (p.flags, p.id, p.title);
		case ParameterKind::kLinear:
		case ParameterKind::kMeter:
			return withPrecision (
			    new DecimalRangeParameter (title, p.id, units, p.min, p.max, p.infoDefault, p.flags),
			    p.precision);
		case ParameterKind::kParabola:
			return withPrecision (new ParabolParameter (title, p.id, units, p.flags, kRootUnitId,
			                                            p.min, p.max, p.infoDefault, p.exponent),
			                      p.precision);
		case ParameterKind::kLogarithmic:
			return withPrecision (new LogParameter (title, p.id, units, p.flags, kRootUnitId, p.min,
			                                        p.max, p.infoDefault),
			                      p.precision);
		case ParameterKind::kEqGain: return new EqGainParameter (p.flags, p.id, p.title, p.bottomLabel);
		case ParameterKind::kList: return variationList (title, p.id, listEntries (p), p.flags);
		case ParameterKind::kSwitch: return new SwitchParameter (title, p.id, p.flags);
	}
	return nullptr;
}
} // namespace

double startValue (const ParameterSpec& p)
{
	if (!p.start.fromDefaultPreset)
		return p.start.normalized;
	const double value = p.defaultPreset;
	switch (p.kind)
	{
		case ParameterKind::kLevel: return GainParameter::gainOfDecibels (value);
		case ParameterKind::kLinear:
		case ParameterKind::kMeter: return (value - p.min) / (p.max - p.min);
		case ParameterKind::kParabola:
			return ParabolParameter::normalizedOf (p.min, p.max, p.exponent, value);
		case ParameterKind::kLogarithmic: return logToNormalized (p.min, p.max, value);
		case ParameterKind::kEqGain: return EqGainParameter::normalizedOf (value);
		case ParameterKind::kList:
		case ParameterKind::kSwitch: return value;
	}
	return 0.0;
}

void Quillmere::registerParameters ()
{
	for (const ParameterSpec& row : kParameters)
		parameters.addParameter (makeParameter (row));
}

} // namespace Vst
} // namespace Steinberg
