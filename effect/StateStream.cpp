#include "StateStream.h"

#include "LogMapping.h"
#include "QuillmereIds.h"
#include "base/source/fstreamer.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {
// IBStreamer trusts the byte count a stream reports and ignores its result. A host's
// stream that answers with an error has not moved those bytes as far as we can tell,
// so this view of it reports no bytes at all for such a call.
class ResultCheckedStream final : public IBStream
{
public:
	explicit ResultCheckedStream (IBStream* stream) : stream (stream) {}

	tresult PLUGIN_API read (void* buffer, int32 numBytes, int32* numBytesRead) SMTG_OVERRIDE
	{
		return countOnlyOnSuccess (stream->read (buffer, numBytes, numBytesRead), numBytesRead);
	}
	tresult PLUGIN_API write (void* buffer, int32 numBytes, int32* numBytesWritten) SMTG_OVERRIDE
	{
		return countOnlyOnSuccess (stream->write (buffer, numBytes, numBytesWritten),
		                           numBytesWritten);
	}
	tresult PLUGIN_API seek (int64 pos, int32 mode, int64* result) SMTG_OVERRIDE
	{
		return stream->seek (pos, mode, result);
	}
	tresult PLUGIN_API tell (int64* pos) SMTG_OVERRIDE { return stream->tell (pos); }

	// Lives on the stack for one read or write; never handed out.
	tresult PLUGIN_API queryInterface (const TUID, void** obj) SMTG_OVERRIDE
	{
		if (obj)
			*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

private:
	static tresult countOnlyOnSuccess (tresult result, int32* count)
	{
		if (result != kResultOk && count)
			*count = 0;
		return result;
	}

	IBStream* stream;
};

// The double fields from dry to wet, in stream order.
double* leadingDoubles (SettingsBlock& b, int index)
{
	double* fields[] = {&b.dry,           &b.predelay,          &b.width,     &b.decay,
	                    &b.roomSize,      &b.diffusion,         &b.dampIntensity,
	                    &b.dampFrequency, &b.lowShelfFrequency, &b.lowGain,   &b.peakFrequency,
	                    &b.peakGain,      &b.highShelfFrequency, &b.highGain, &b.early,
	                    &b.reverb,        &b.wet};
	return fields[index];
}
const int kLeadingDoubles = 17;

bool readFlag (IBStreamer& in, bool& flag)
{
	int8 byte = 0;
	if (!in.readInt8 (byte))
		return false;
	flag = byte != 0; // anything but 0 reads as on
	return true;
}

int8 clampIndex (int8 index, int32 entries)
{
	return index < 0 ? 0 : (index >= entries ? static_cast<int8> (entries - 1) : index);
}

// Equaliser gains before version 5 were linear over +-12 dB; the cut half is now twice as deep.
double convertOldEqGain (double value)
{
	return value < 0.5 ? (value * 24.0 - 12.0 + 24.0) / 48.0 : value;
}

bool allFinite (SettingsBlock& b)
{
	for (int i = 0; i < kLeadingDoubles; ++i)
		if (!std::isfinite (*leadingDoubles (b, i)))
			return false;
	return std::isfinite (b.modSpeed) && std::isfinite (b.modDepth);
}

// Every double is a normalized value; one outside 0 to 1 would reach the engine as it is
// (a level of 1e300 overflows the output) while its parameter shows it capped.
void clampNormalized (double& value) { value = value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value); }

void clampAllNormalized (SettingsBlock& b)
{
	for (int i = 0; i < kLeadingDoubles; ++i)
		clampNormalized (*leadingDoubles (b, i));
	clampNormalized (b.modSpeed);
	clampNormalized (b.modDepth);
}
} // namespace

bool writeState (IBStream* stream, const SettingsBlock& block)
{
	if (!stream)
		return false;
	ResultCheckedStream checked (stream);
	IBStreamer out (&checked, kLittleEndian);
	SettingsBlock b = block;
	if (!out.writeInt64u (kStateVersion))
		return false;
	for (int i = 0; i < kLeadingDoubles; ++i)
		if (!out.writeDouble (*leadingDoubles (b, i)))
			return false;
	const int8 bytes[] = {b.earlyVariation, b.reverbVariation,      int8 (b.bypass),
	                      int8 (b.bypassDry), int8 (b.bypassEarly), int8 (b.bypassReverb),
	                      int8 (b.bypassWet)};
	for (int8 byte : bytes)
		if (!out.writeInt8 (byte))
			return false;
	return out.writeDouble (b.modSpeed) && out.writeDouble (b.modDepth);
}

bool readState (IBStream* stream, SettingsBlock& block)
{
	if (!stream)
		return false;
	ResultCheckedStream checked (stream);
	IBStreamer in (&checked, kLittleEndian);
	SettingsBlock b = block;
	uint64 version = 0;
	if (!in.readInt64u (version))
		return false;
	for (int i = 0; i < kLeadingDoubles; ++i)
		if (!in.readDouble (*leadingDoubles (b, i)))
			return false;
	if (!in.readInt8 (b.earlyVariation) || !in.readInt8 (b.reverbVariation) ||
	    !readFlag (in, b.bypass))
		return false;

	if (version == 0)
	{
		// Version 0 kept frequencies linear over their ranges and early reflections 6 dB hot.
		b.dampFrequency = logToNormalized (4000, 22020, b.dampFrequency * 18020 + 4000);
		b.lowShelfFrequency = logToNormalized (20, 1000, b.lowShelfFrequency * 980 + 20);
		b.peakFrequency = logToNormalized (30, 22000, b.peakFrequency * 21970 + 30);
		b.highShelfFrequency = logToNormalized (1000, 22000, b.highShelfFrequency * 21000 + 1000);
		b.early = b.early * 0.501187;
	}
	if (version <= 1)
		b.decay = std::sqrt (b.decay); // stored as the square of today's value

	if (version < 3)
		b.bypassDry = b.bypassEarly = b.bypassReverb = b.bypassWet = false;
	else if (!readFlag (in, b.bypassDry) || !readFlag (in, b.bypassEarly) ||
	         !readFlag (in, b.bypassReverb) || !readFlag (in, b.bypassWet))
		return false;

	if (version < 4)
		b.modSpeed = b.modDepth = 0.0;
	else if (!in.readDouble (b.modSpeed) || !in.readDouble (b.modDepth))
		return false;

	if (version <= 4)
	{
		b.lowGain = convertOldEqGain (b.lowGain);
		b.peakGain = convertOldEqGain (b.peakGain);
		b.highGain = convertOldEqGain (b.highGain);
	}

	// The stream is untrusted: refuse what no parameter can hold, keep values and lists in range.
	if (!allFinite (b))
		return false;
	clampAllNormalized (b);
	b.earlyVariation = clampIndex (b.earlyVariation, kNumEarlyVariations);
	b.reverbVariation = clampIndex (b.reverbVariation, kNumReverbVariations);
	block = b;
	return true;
}

} // namespace Vst
} // namespace Steinberg
