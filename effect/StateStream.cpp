#include "StateStream.h"

#include "LogMapping.h"
#include "ParameterTable.h"
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

// The first version that saved a setting.
uint64 savedSince (const ParameterSpec& row)
{
	switch (row.olderStates)
	{
		case OlderStates::kAbsentBeforeVersion3: return 3;
		case OlderStates::kAbsentBeforeVersion4: return 4;
		default: return 0;
	}
}

bool readField (IBStreamer& in, const SettingsField& field, SettingsBlock& b)
{
	if (field.number)
		return in.readDouble (b.*field.number);
	if (field.entry)
		return in.readInt8 (b.*field.entry);
	return readFlag (in, b.*field.flag);
}

bool writeField (IBStreamer& out, const SettingsField& field, const SettingsBlock& b)
{
	if (field.number)
		return out.writeDouble (b.*field.number);
	if (field.entry)
		return out.writeInt8 (b.*field.entry);
	return out.writeInt8 (static_cast<int8> (b.*field.flag));
}

void clearField (const SettingsField& field, SettingsBlock& b)
{
	if (field.number)
		b.*field.number = 0.0;
	else if (field.entry)
		b.*field.entry = 0;
	else
		b.*field.flag = false;
}

// Brings a value saved by an older version to today's meaning.
double convertFromOlderState (const ParameterSpec& row, uint64 version, double value)
{
	switch (row.olderStates)
	{
		case OlderStates::kLinearHertzInVersion0:
			return version == 0 ? logToNormalized (row.min, row.max,
			                                       value * (row.max - row.min) + row.min)
			                    : value;
		case OlderStates::kSixDecibelsHotInVersion0: return version == 0 ? value * 0.501187 : value;
		case OlderStates::kSquaredBeforeVersion2: return version <= 1 ? std::sqrt (value) : value;
		case OlderStates::kNarrowCutBeforeVersion5:
			// The cut half is now twice as deep.
			return version <= 4 && value < 0.5 ? (value * 24.0 - 12.0 + 24.0) / 48.0 : value;
		default: return value;
	}
}

// Every double is a normalized value; one outside 0 to 1 would reach the engine as it is
// (a level of 1e300 overflows the output) while its parameter shows it capped.
double clampNormalized (double value) { return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value); }
} // namespace

bool writeState (IBStream* stream, const SettingsBlock& block)
{
	if (!stream)
		return false;
	ResultCheckedStream checked (stream);
	IBStreamer out (&checked, kLittleEndian);
	if (!out.writeInt64u (kStateVersion))
		return false;
	for (ParamID id : kSettingsOrder)
		if (!writeField (out, parameterSpec (id).settings, block))
			return false;
	return true;
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
	for (ParamID id : kSettingsOrder)
	{
		const ParameterSpec& row = parameterSpec (id);
		if (version < savedSince (row))
			clearField (row.settings, b);
		else if (!readField (in, row.settings, b))
			return false;
	}

	// The stream is untrusted: refuse what no parameter can hold, keep values and lists in range.
	for (ParamID id : kSettingsOrder)
	{
		const ParameterSpec& row = parameterSpec (id);
		if (double SettingsBlock::*number = row.settings.number)
		{
			const double value = convertFromOlderState (row, version, b.*number);
			if (!std::isfinite (value))
				return false;
			b.*number = clampNormalized (value);
		}
		else if (int8 SettingsBlock::*entry = row.settings.entry)
		{
			b.*entry = clampIndex (b.*entry, listEntries (row));
		}
	}
	block = b;
	return true;
}

} // namespace Vst
} // namespace Steinberg
