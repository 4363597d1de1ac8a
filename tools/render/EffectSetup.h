#pragma once
// What the user asked the effect to be: a preset's state and parameter settings,
// resolved against the loaded module and applied to fresh instances.

#include "EffectInstance.h"
#include "PluginModule.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace QuillmereRender {

struct ParameterSetting
{
	Steinberg::Vst::ParamID id;
	Steinberg::Vst::ParamValue value; // normalized
};

struct EffectSetup
{
	std::string presetName;                   // for messages; empty: start-up settings
	std::vector<std::uint8_t> presetState;    // component state; empty: none
	std::vector<ParameterSetting> settings;   // applied after the preset, in order
};

// Loads the bundle (throws ToolError naming it).
std::shared_ptr<QuillmereHost::PluginModule> loadBundle (const std::string& bundlePath);

// A new instance of the module's effect with the preset state restored and the
// settings given to its controller. Throws ToolError.
std::unique_ptr<QuillmereHost::EffectInstance>
createConfiguredEffect (const std::shared_ptr<QuillmereHost::PluginModule>& module,
                        const EffectSetup& setup);

// Finds each TITLE (any case) and converts TEXT with that parameter's own parser.
// Switches also take on/off. Throws ToolError for an unknown title (naming close
// ones) or a text the parameter refuses.
std::vector<ParameterSetting>
resolveSettings (const QuillmereHost::EffectInstance& effect,
                 const std::vector<std::pair<std::string, std::string>>& requests);

// Title, units and current value text of every parameter, one per line.
std::string describeParameters (const QuillmereHost::EffectInstance& effect);

} // namespace QuillmereRender
