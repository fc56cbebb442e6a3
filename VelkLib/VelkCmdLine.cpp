#include "VelkLib/VelkCmdLine.h"

VelkCmdLine::VelkCmdLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr) add(argv[i]);
    }
}

VelkCmdLine::VelkCmdLine(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) add(argument);
}

VelkCmdLine::~VelkCmdLine() = default;

void VelkCmdLine::add(const std::string& argument) {
    if (!argument.empty() && argument[0] == '-') {
        flags.push_back(argument.substr(1));
        flagCount = static_cast<int>(flags.size());
    } else {
        params.push_back(argument);
        paramCount = static_cast<int>(params.size());
    }
}

std::string VelkCmdLine::getParam(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= params.size()) return std::string();
    return params[static_cast<size_t>(index)];
}

std::string VelkCmdLine::getFlag(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= flags.size()) return std::string();
    return flags[static_cast<size_t>(index)];
}
