#include "SettingsBlock.h"

#include "ParameterTable.h"

namespace Steinberg {
namespace Vst {

int8 SettingsBlock::listIndex (ParamValue value, int32 entries)
{
	const double scaled = value * entries;
	if (!(scaled > 0.0))
		return 0;
	if (scaled >= entries - 1)
		return static_cast<int8> (entries - 1);
	return static_cast<int8> (scaled);
}

SettingsBlock SettingsBlock::defaults ()
{
	SettingsBlock s {};
	for (const ParameterSpec& row : kParameters)
	{
		const SettingsField& field = row.settings;
		const double start = startValue (row);
		if (field.number)
			s.*field.number = start;
		else if (field.entry)
			s.*field.entry = static_cast<int8> (start);
		else if (field.flag)
			s.*field.flag = start > 0.5;
	}
	return s;
}

bool SettingsBlock::store (ParamID id, ParamValue v)
{
	const ParameterSpec* row = findParameterSpec (id);
	if (!row || !row->settings.kept ())
		return false;
	const SettingsField& field = row->settings;
	if (field.number)
		this->*field.number = v;
	else if (field.entry)
		this->*field.entry = listIndex (v, listEntries (*row));
	else
		this->*field.flag = v > 0.5;
	return true;
}

ParamValue SettingsBlock::normalized (ParamID id) const
{
	const ParameterSpec* row = findParameterSpec (id);
	if (!row)
		return 0.0;
	const SettingsField& field = row->settings;
	if (field.number)
		return this->*field.number;
	if (field.entry)
		return this->*field.entry / row->max;
	if (field.flag)
		return this->*field.flag ? 1.0 : 0.0;
	return 0.0;
}

} // namespace Vst
} // namespace Steinberg
