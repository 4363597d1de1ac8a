#include "ControlTags.h"

namespace Steinberg {
namespace Vst {

using CC = ControlClass;

const ControlInfo kControlInfo[kControlSlotCount] = {
    {controlTag ("drSl"), CC::kVerticalSlider, 0},
    {controlTag ("drTx"), CC::kTextEdit, 0},
    {controlTag ("erSl"), CC::kVerticalSlider, 16},
    {controlTag ("erTx"), CC::kTextEdit, 16},
    {controlTag ("reSl"), CC::kVerticalSlider, 17},
    {controlTag ("reTx"), CC::kTextEdit, 17},
    {controlTag ("weSl"), CC::kVerticalSlider, 18},
    {controlTag ("weTx"), CC::kTextEdit, 18},
    {controlTag ("prKn"), CC::kAnimKnob, 1},
    {controlTag ("prTx"), CC::kTextEdit, 1},
    {controlTag ("wdKn"), CC::kAnimKnob, 2},
    {controlTag ("wdTx"), CC::kTextEdit, 2},
    {controlTag ("dtKn"), CC::kAnimKnob, 5},
    {controlTag ("dtTx"), CC::kTextEdit, 5},
    {controlTag ("rsKn"), CC::kAnimKnob, 6},
    {controlTag ("rsTx"), CC::kTextEdit, 6},
    {controlTag ("dfKn"), CC::kAnimKnob, 7},
    {controlTag ("dfTx"), CC::kTextEdit, 7},
    {controlTag ("diKn"), CC::kAnimKnob, 8},
    {controlTag ("diTx"), CC::kTextEdit, 8},
    {controlTag ("dmKn"), CC::kAnimKnob, 9},
    {controlTag ("dmTx"), CC::kTextEdit, 9},
    {controlTag ("lgKn"), CC::kAnimKnob, 11},
    {controlTag ("lgTx"), CC::kTextEdit, 11},
    {controlTag ("lsKn"), CC::kAnimKnob, 10},
    {controlTag ("lsTx"), CC::kTextEdit, 10},
    {controlTag ("pgKn"), CC::kAnimKnob, 13},
    {controlTag ("pgTx"), CC::kTextEdit, 13},
    {controlTag ("piKn"), CC::kAnimKnob, 12},
    {controlTag ("piTx"), CC::kTextEdit, 12},
    {controlTag ("hgKn"), CC::kAnimKnob, 15},
    {controlTag ("hgTx"), CC::kTextEdit, 15},
    {controlTag ("hsKn"), CC::kAnimKnob, 14},
    {controlTag ("hsTx"), CC::kTextEdit, 14},
    {controlTag ("erMn"), CC::kOptionMenu, 3},
    {controlTag ("rvMn"), CC::kOptionMenu, 4},
    {controlTag ("fmKn"), CC::kAnimKnob, 24},
    {controlTag ("fmTx"), CC::kTextEdit, 24},
    {controlTag ("pmKn"), CC::kAnimKnob, 25},
    {controlTag ("pmTx"), CC::kTextEdit, 25},
    {controlTag ("drbp"), CC::kOnOffButton, 20},
    {controlTag ("erbp"), CC::kOnOffButton, 21},
    {controlTag ("rebp"), CC::kOnOffButton, 22},
    {controlTag ("webp"), CC::kOnOffButton, 23},
    {controlTag ("bpbp"), CC::kOnOffButton, 19},
    {controlTag ("lodw"), CC::kOnOffButton, kNoParameter},
    {controlTag ("nepr"), CC::kKickButton, kNoParameter},
    {controlTag ("lapr"), CC::kKickButton, kNoParameter},
    {controlTag ("prMn"), CC::kOptionMenu, kNoParameter},
    {controlTag ("spsn"), CC::kSplashScreen, kNoParameter},
    {kNoTag, CC::kTextLabel, kNoParameter},
    {controlTag ("guMn"), CC::kOptionMenu, kNoParameter},
};

int32 valueControlSlot (uint32 parameter)
{
	for (int32 slot = 0; slot < kControlSlotCount; ++slot)
	{
		const ControlInfo& info = kControlInfo[slot];
		if (info.parameter == static_cast<int32> (parameter) &&
		    (info.controlClass == ControlClass::kVerticalSlider ||
		     info.controlClass == ControlClass::kAnimKnob))
			return slot;
	}
	return -1;
}

} // namespace Vst
} // namespace Steinberg
