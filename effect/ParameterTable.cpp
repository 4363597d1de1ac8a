#include "EqGainParameter.h"
#include "GainParameter.h"
#include "LogParameter.h"
#include "ParabolParameter.h"
#include "Quillmere.h"
#include "QuillmereIds.h"

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
	    new RangeParameter (STR16 ("Predelay"), kPredelayId, STR16 ("ms"), 0, 200, 10), 1));
	parameters.addParameter (withPrecision (
	    new RangeParameter (STR16 ("Width"), kWidthId, STR16 ("%"), 0, 100, 100), 2));
	parameters.addParameter (variationList (STR16 ("E.R. variation"), kEarlyVariationId, 12));
	parameters.addParameter (variationList (STR16 ("Reverb variation"), kReverbVariationId, 5));
	parameters.addParameter (withPrecision (new ParabolParameter (STR16 ("Decay time"), kDecayId,
	                                                              STR16 ("sec"), kAutomate,
	                                                              kRootUnitId, 0.2, 20, 5.0, 2),
	                                        2));
	parameters.addParameter (withPrecision (
	    new RangeParameter (STR16 ("Room size"), kRoomSizeId, STR16 ("%"), 0, 100, 100), 2));
	parameters.addParameter (withPrecision (
	    new RangeParameter (STR16 ("Diffusion"), kDiffusionId, STR16 ("%"), 0, 100, 100), 2));
	parameters.addParameter (withPrecision (
	    new RangeParameter (STR16 ("Damp intensity"), kDampIntensityId, STR16 ("%"), 0, 100, 80),
	    2));
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
	parameters.addParameter (STR16 ("Bypass Dry"), nullptr, 1, 0, kAutomate, kBypassDryId);
	parameters.addParameter (STR16 ("Bypass E.R."), nullptr, 1, 0, kAutomate, kBypassEarlyId);
	parameters.addParameter (STR16 ("Bypass Reverb"), nullptr, 1, 0, kAutomate, kBypassReverbId);
	parameters.addParameter (STR16 ("Bypass Wet"), nullptr, 1, 0, kAutomate, kBypassWetId);
	parameters.addParameter (withPrecision (new ParabolParameter (STR16 ("Mod. speed"),
	                                                              kModSpeedId, STR16 ("Hz"),
	                                                              kAutomate, kRootUnitId, 0, 20,
	                                                              0.8, 3),
	                                        2));
	parameters.addParameter (withPrecision (
	    new RangeParameter (STR16 ("Mod. deph"), kModDepthId, STR16 ("%"), 0, 100, 50), 2));
	parameters.addParameter (STR16 ("Bypass"), nullptr, 1, 0,
	                         ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, kBypassId);
	parameters.addParameter (STR16 ("VuPPM"), nullptr, 0, 0, ParameterInfo::kIsReadOnly, kVuPpmId);
}

} // namespace Vst
} // namespace Steinberg
