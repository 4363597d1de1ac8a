#pragma once
// The VST 3 module-info description of a loaded module, built from its factory.

#include "PluginModule.h"

#include <nlohmann/json.hpp>
#include <string>

namespace QuillmereTools {

// moduleName: the bundle's name without ".vst3".
nlohmann::ordered_json describeModule (const QuillmereHost::PluginModule& module,
                                       const std::string& moduleName);

// "Fx|Reverb" -> ["Fx", "Reverb"]
std::vector<std::string> splitSubCategories (const std::string& text);

} // namespace QuillmereTools
