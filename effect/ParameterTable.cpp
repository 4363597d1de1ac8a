#include "DecimalRangeParameter.h"
#include "EqGainParameter.h"
#include "GainParameter.h"
#include "LogParameter.h"
#include "ParabolParameter.h"
#include "Quillmere.h"
#include "QuillmereIds.h"
#include "SwitchParameter.h"

#include "pluginterfaces/base/ustring.h"
#include <cstdio>

namespace Steinberg {
namespace Vst {

namespace {
const int32 kAutomate = ParameterInfo::kCanAutomate;

Parameter* withPrecision (Parameter* parameter, int32 precision)
{
	parameter->setPrecision (precision);
	return parameter;
}

Parameter* percentage (const TChar* title, ParamID id, ParamValue defaultPlain)
{
	return withPrecision (new DecimalRangeParameter (title, id, STR16 ("%"), 0, 100, defaultPlain),
	                      2);
}

StringListParameter* variationList (const TChar* title, ParamID id, int32 entries)
{
	auto* list = new StringListParameter (title, id, nullptr,
	                                      ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
	for (int32 i = 1; i <= entries; ++i)
	{
		char name[32];
		std::snprintf (name, sizeof (name), "Variation %d", i);
		list->appendString (UString128 (name));
	}
	return list;
}
} // namespace

void Quillmere::registerParameters ()
{
	// Registration order is the host's index order: "Bypass" (id 19) comes after "Mod. deph".
	parameters.addParameter (new GainParameter (kAutomate, kDryId, "Dry"));
	parameters.addParameter (withPrecision (
	    new DecimalRangeParameter (STR16 ("Predelay"), kPredelayId, STR16 ("ms"), 0, 200, 10),
	    1));
	parameters.addParameter (percentage (STR16 ("Width"), kWidthId, 100));
	parameters.addParameter (variationList (STR16 ("E.R. variation"), kEarlyVariationId, 12));
	parameters.addParameter (variationList (STR16 ("Reverb variation"), kReverbVariationId, 5));
	parameters.addParameter (withPrecision (new ParabolParameter (STR16 ("Decay time"), kDecayId,
	                                                              STR16 ("sec"), kAutomate,
	                                                              kRootUnitId, 0.2, 20, 5.0, 2),
	                                        2));
	parameters.addParameter (percentage (STR16 ("Room size"), kRoomSizeId, 100));
	parameters.addParameter (percentage (STR16 ("Diffusion"), kDiffusionId, 100));
	parameters.addParameter (percentage (STR16 ("Damp intensity"), kDampIntensityId, 80));
	parameters.addParameter (withPrecision (new LogParameter (STR16 ("Damp"), kDampFrequencyId,
	                                                          STR16 ("Hz"), kAutomate, kRootUnitId,
	                                                          4000, 22020, 20000),
	                                        1));
	parameters.addParameter (withPrecision (
	    new LogParameter (STR16 ("Low shelf"), kLowShelfFrequencyId, STR16 ("Hz"), kAutomate,
	                      kRootUnitId, 20, 1000, 100),
	    1));
	parameters.addParameter (
	    new EqGainParameter (kAutomate, kLowGainId, "Low gain", EqGainParameter::kHighPassLabel));
	parameters.addParameter (withPrecision (new LogParameter (STR16 ("Peak"), kPeakFrequencyId,
	                                                          STR16 ("Hz"), kAutomate, kRootUnitId,
	                                                          30, 22000, 1000),
	                                        1));
	parameters.addParameter (
	    new EqGainParameter (kAutomate, kPeakGainId, "Peak gain", EqGainParameter::kNoLabel));
	parameters.addParameter (withPrecision (
	    new LogParameter (STR16 ("High shelf"), kHighShelfFrequencyId, STR16 ("Hz"), kAutomate,
	                      kRootUnitId, 1000, 22000, 10000),
	    1));
	parameters.addParameter (
	    new EqGainParameter (kAutomate, kHighGainId, "High gain", EqGainParameter::kLowPassLabel));
	parameters.addParameter (new GainParameter (kAutomate, kEarlyId, "Early reflections"));
	parameters.addParameter (new GainParameter (kAutomate, kReverbId, "Reverb"));
	parameters.addParameter (new GainParameter (kAutomate, kWetId, "Wet"));
	parameters.addParameter (new SwitchParameter (STR16 ("Bypass Dry"), kBypassDryId, kAutomate));
	parameters.addParameter (
	    new SwitchParameter (STR16 ("Bypass E.R."), kBypassEarlyId, kAutomate));
	parameters.addParameter (
	    new SwitchParameter (STR16 ("Bypass Reverb"), kBypassReverbId, kAutomate));
	parameters.addParameter (new SwitchParameter (STR16 ("Bypass Wet"), kBypassWetId, kAutomate));
	parameters.addParameter (withPrecision (new ParabolParameter (STR16 ("Mod. speed"),
	                                                              kModSpeedId, STR16 ("Hz"),
	                                                              kAutomate, kRootUnitId, 0, 20,
	                                                              0.8, 3),
	                                        2));
	parameters.addParameter (percentage (STR16 ("Mod. deph"), kModDepthId, 50));
	parameters.addParameter (new SwitchParameter (
	    STR16 ("Bypass"), kBypassId, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass));
	parameters.addParameter (new DecimalRangeParameter (STR16 ("VuPPM"), kVuPpmId, nullptr, 0, 1, 0,
	                                                    ParameterInfo::kIsReadOnly));
}

} // namespace Vst
} // namespace Steinberg
