#include "run/ModuleOptionCheck.h"

#include "platform/TerminalText.h"
#include "run/ColorText.h"
#include "run/DocModule.h"

ModuleOptionCheck checkModuleOptions(const std::map<std::string, std::string>& values,
                                     const std::string& optionText) {
    std::map<std::string, std::string> kinds;
    for (const std::vector<std::string>& group : DocModule::splitOptionText(optionText))
        kinds.emplace(group[0], group[2]);

    ModuleOptionCheck check;
    for (const auto& [key, value] : values) {
        auto kind = kinds.find(key);
        if (kind == kinds.end()) {
            check.unknown.push_back(key);
            continue;
        }
        if (kind->second == "color") {
            if (!isColorText(value)) check.refused.push_back("-" + terminalText(key) + "=" + terminalText(value) + ": the value must be " + colorRule());
            continue;
        }
        if (kind->second != "checkbox") continue;
        std::string lowered = value;
        for (char& c : lowered)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (!lowered.empty() && lowered != "true" && lowered != "false")
            check.refused.push_back("-" + terminalText(key) + "=" + terminalText(value) + ": the value must be true or false");
    }
    return check;
}
