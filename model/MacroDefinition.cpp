#include "model/MacroDefinition.h"

#include <utility>

MacroDefinition::MacroDefinition(std::string name_, std::vector<std::string> arguments_,
                                 std::string body_, std::string comment_,
                                 std::string fileName_, std::string package_)
    : name(std::move(name_)),
      arguments(std::move(arguments_)),
      body(std::move(body_)),
      comment(std::move(comment_)),
      fileName(std::move(fileName_)),
      package(std::move(package_)) {}

std::string MacroDefinition::getSignature() const {
    std::string text = "#define " + name;
    if (!arguments.empty()) {
        text += '(';
        for (size_t i = 0; i < arguments.size(); ++i) {
            if (i > 0) text += ", ";
            text += arguments[i];
        }
        text += ')';
    }
    text += ' ';
    text += body;
    return text;
}
