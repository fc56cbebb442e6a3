// Options given on the command line for a module, checked against what the
// module declares, so that a misspelt option or a value the module cannot
// take is reported before a run instead of being dropped on the way.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ModuleOptionCheck {
    // Keys the module does not declare, in key order.
    std::vector<std::string> unknown;
    // One text per value the module's option cannot take, naming the option
    // and its accepted values ("-separate-index-pages=yes: the value must be
    // true or false").
    std::vector<std::string> refused;
};

// values: option key -> value as stored from the command line.
// optionText: the module's getOptions text (groups of key, label, kind,
// current value, default, split as DocModule::splitOptionText does). A
// "checkbox" option takes no value, "true" or "false" in any letter case;
// a "color" option a colour text (ColorText.h); every other kind any text.
ModuleOptionCheck checkModuleOptions(const std::map<std::string, std::string>& values,
                                     const std::string& optionText);
