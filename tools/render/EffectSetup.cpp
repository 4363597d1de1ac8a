#include "EffectSetup.h"

#include "PresetLibrary.h"
#include "StereoAudio.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace QuillmereRender {

namespace {

std::string lowered (std::string text)
{
	for (auto& c : text)
		c = static_cast<char> (std::tolower (static_cast<unsigned char> (c)));
	return text;
}

std::string trimmed (const std::string& text)
{
	const size_t first = text.find_first_not_of (" \t");
	if (first == std::string::npos)
		return {};
	return text.substr (first, text.find_last_not_of (" \t") - first + 1);
}

std::vector<ParameterInfo> allParameters (const QuillmereHost::EffectInstance& effect)
{
	std::vector<ParameterInfo> infos;
	for (int32 i = 0; i < effect.parameterCount (); ++i)
		if (auto info = effect.parameterInfo (i))
			infos.push_back (*info);
	return infos;
}

// The switch words a user may reasonably type; the SDK's own parser wants numbers.
bool switchWord (const std::string& text, ParamValue& value)
{
	const std::string word = lowered (trimmed (text));
	if (word == "on" || word == "true" || word == "yes")
		value = 1.0;
	else if (word == "off" || word == "false" || word == "no")
		value = 0.0;
	else
		return false;
	return true;
}

} // namespace

std::shared_ptr<QuillmereHost::PluginModule> loadBundle (const std::string& bundlePath)
{
	std::string error;
	auto module = QuillmereHost::PluginModule::load (bundlePath, error);
	if (!module)
		throw ToolError ("cannot load the plug-in " + bundlePath + ": " + error);
	return module;
}

std::unique_ptr<QuillmereHost::EffectInstance>
createConfiguredEffect (const std::shared_ptr<QuillmereHost::PluginModule>& module,
                        const EffectSetup& setup)
{
	std::string error;
	auto effect = QuillmereHost::EffectInstance::create (module, error);
	if (!effect)
		throw ToolError ("cannot create the effect: " + error);
	if (!setup.presetState.empty () && effect->setState (setup.presetState) != kResultOk)
		throw ToolError ("the effect refused the state of preset \"" + setup.presetName + "\"");
	for (const auto& setting : setup.settings)
		effect->setParamNormalized (setting.id, setting.value);
	return effect;
}

std::vector<ParameterSetting>
resolveSettings (const QuillmereHost::EffectInstance& effect,
                 const std::vector<std::pair<std::string, std::string>>& requests)
{
	const auto infos = allParameters (effect);
	std::vector<ParameterSetting> settings;
	for (const auto& [title, text] : requests)
	{
		const std::string wanted = lowered (trimmed (title));
		auto it = std::find_if (infos.begin (), infos.end (), [&] (const ParameterInfo& info) {
			return lowered (QuillmereHost::toUtf8 (info.title)) == wanted;
		});
		if (it == infos.end ())
		{
			std::string message = "no parameter titled \"" + title + "\"";
			std::string close;
			for (const auto& info : infos)
			{
				const std::string name = QuillmereHost::toUtf8 (info.title);
				const std::string candidate = lowered (name);
				if (editDistance (wanted, candidate) <= std::max<size_t> (2, wanted.size () / 3) ||
				    (!wanted.empty () && candidate.find (wanted) != std::string::npos))
					close += (close.empty () ? "" : ", ") + ("\"" + name + "\"");
			}
			message += close.empty () ? " (see --list-params)" : "; close matches: " + close;
			throw ToolError (message);
		}
		const std::string name = QuillmereHost::toUtf8 (it->title);
		if (it->flags & ParameterInfo::kIsReadOnly)
			throw ToolError ("parameter \"" + name + "\" is read-only");
		ParamValue value = 0.0;
		const bool isSwitch = it->stepCount == 1;
		if (effect.textToValue (it->id, trimmed (text), value) != kResultOk &&
		    !(isSwitch && switchWord (text, value)))
			throw ToolError ("parameter \"" + name + "\" cannot take the value \"" + text + "\"");
		settings.push_back ({it->id, value});
	}
	return settings;
}

std::string describeParameters (const QuillmereHost::EffectInstance& effect)
{
	std::string text;
	char line[256];
	std::snprintf (line, sizeof (line), "%-20s %-6s %s\n", "title", "units", "value");
	text += line;
	for (const auto& info : allParameters (effect))
	{
		const std::string title = QuillmereHost::toUtf8 (info.title);
		const std::string units = QuillmereHost::toUtf8 (info.units);
		const std::string value = effect.valueToText (info.id, effect.getParamNormalized (info.id));
		const char* note = (info.flags & ParameterInfo::kIsReadOnly) ? "  (read-only)" : "";
		std::snprintf (line, sizeof (line), "%-20s %-6s %s%s\n", title.c_str (), units.c_str (),
		               value.c_str (), note);
		text += line;
	}
	return text;
}

} // namespace QuillmereRender
