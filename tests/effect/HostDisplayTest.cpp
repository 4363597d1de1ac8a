// What a host shows is what plays: the effect asks the host to read its values again when
// the host's handler arrives and when a host brings the controller in step, and never
// calls the host back from inside a restore.

#include "BundleFixture.h"
#include "public.sdk/source/common/memorystream.h"

#include <cstring>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace QuillmereTest;
using Recorder = QuillmereHost::ComponentHandlerRecorder;

namespace {
using Bytes = std::vector<uint8_t>;

Bytes stateOf (QuillmereHost::EffectInstance& effect)
{
	Bytes bytes;
	EXPECT_EQ (effect.getState (bytes), kResultOk);
	return bytes;
}

// The normalized value a saved state holds for a setting.
double savedNormalized (const Bytes& state, ParamID id)
{
	static const ParamID kDoubles[] = {0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
	for (size_t i = 0; i < 17; ++i)
		if (kDoubles[i] == id)
		{
			double v;
			std::memcpy (&v, state.data () + 8 + 8 * i, 8);
			return v;
		}
	if (id == 3)
		return state[144] / 11.0;
	if (id == 4)
		return state[145] / 4.0;
	if (id >= 19 && id <= 23)
		return state[146 + id - 19] ? 1.0 : 0.0;
	double v;
	std::memcpy (&v, state.data () + (id == 24 ? 151 : 159), 8);
	return v;
}

void expectShowsWhatIsSaved (QuillmereHost::EffectInstance& effect)
{
	const Bytes state = stateOf (effect);
	for (ParamID id = 0; id <= 25; ++id)
		EXPECT_DOUBLE_EQ (effect.getParamNormalized (id), savedNormalized (state, id)) << "id " << id;
}

void expectToldValuesChangedOnce (Recorder& handler)
{
	ASSERT_EQ (handler.calls ().size (), 1u);
	const Recorder::Call& call = handler.calls ()[0];
	EXPECT_EQ (call.kind, Recorder::Kind::kRestartComponent);
	EXPECT_EQ (call.flags, kParamValuesChanged);
	EXPECT_EQ (call.thread, std::this_thread::get_id ());
}
} // namespace

TEST (HostDisplay, ANewHandlerIsToldToReadTheValuesThatPlay)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	// The host library installs its handler on creation.
	expectToldValuesChangedOnce (effect->handler ());
	expectShowsWhatIsSaved (*effect);
	// The "Default" settings play, not the parameter-info defaults.
	EXPECT_EQ (effect->valueToText (5, effect->getParamNormalized (5)), "3.00");
	EXPECT_NE (effect->getParamNormalized (5), effect->findParameterById (5)->defaultNormalizedValue);

	// Without a handler there is no one to tell, and nothing breaks.
	effect->handler ().clear ();
	ASSERT_EQ (effect->controller ()->setComponentHandler (nullptr), kResultTrue);
	EXPECT_EQ (effect->setState (stateOf (*effect)), kResultOk);
	EXPECT_TRUE (effect->handler ().calls ().empty ());
	effect->controller ()->setComponentHandler (&effect->handler ());
	expectToldValuesChangedOnce (effect->handler ());
}

TEST (HostDisplay, ARestoreNeverCallsTheHostBackAndTheValuesShowWhatPlays)
{
	// A state saved elsewhere, as a preset file brings it.
	auto source = newEffect ();
	ASSERT_TRUE (source);
	for (auto edit : {std::make_pair (5u, 0.9), std::make_pair (3u, 0.5), std::make_pair (9u, 0.1),
	                  std::make_pair (21u, 1.0), std::make_pair (25u, 0.0)})
		source->setParamNormalized (edit.first, edit.second);
	const Bytes preset = stateOf (*source);

	auto effect = newActiveEffect ();
	ASSERT_TRUE (effect);
	effect->handler ().clear ();
	// A host that holds a lock around its restore (Ardour's preset loading) would wait on
	// itself if called back here.
	ASSERT_EQ (effect->setState (preset), kResultOk);
	EXPECT_TRUE (effect->handler ().calls ().empty ());
	EXPECT_EQ (stateOf (*effect), preset);
	expectShowsWhatIsSaved (*effect);
	EXPECT_EQ (effect->getParamNormalized (5), 0.9);

	// Ardour then brings the controller in step and reads the values on its own: still
	// no call back, and the state is not applied twice.
	Bytes copy = preset;
	MemoryStream sync (copy.data (), static_cast<TSize> (copy.size ()));
	EXPECT_EQ (effect->controller ()->setComponentState (&sync), kResultOk);
	EXPECT_TRUE (effect->handler ().calls ().empty ());
	EXPECT_EQ (stateOf (*effect), preset);

	const Bytes cut (preset.begin (), preset.begin () + 100);
	EXPECT_EQ (effect->setState (cut), kResultFalse);
	Bytes poisoned = preset;
	std::memset (poisoned.data () + 8, 0xff, 8); // a NaN Dry level
	EXPECT_EQ (effect->setState (poisoned), kResultFalse);
	MemoryStream poisonedSync (poisoned.data (), static_cast<TSize> (poisoned.size ()));
	EXPECT_EQ (effect->controller ()->setComponentState (&poisonedSync), kResultFalse);
	EXPECT_TRUE (effect->handler ().calls ().empty ());
	EXPECT_EQ (stateOf (*effect), preset);
}

TEST (HostDisplay, AControllerBroughtInStepWithoutARestoreIsToldWhatPlays)
{
	// Ardour inserts a plug-in by reading its state and handing it to the controller; it
	// builds its own table of values from the parameter-info defaults before that.
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	effect->handler ().clear ();
	Bytes state = stateOf (*effect);
	MemoryStream sync (state.data (), static_cast<TSize> (state.size ()));
	EXPECT_EQ (effect->controller ()->setComponentState (&sync), kResultOk);
	expectToldValuesChangedOnce (effect->handler ());
	expectShowsWhatIsSaved (*effect);
}
