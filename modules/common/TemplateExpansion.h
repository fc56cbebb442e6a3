// The entry-template language of both output modules: "$X" is replaced by
// the value of variable X, and "!X ... !X" is kept only when X's value is
// not empty. Which letters are variables, and what they stand for, is the
// caller's.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

class CppClass;

// The value of a variable, or nothing when the letter is no variable.
using TemplateVariables = std::function<std::optional<std::string>(char letter)>;

// Writes the expansion of the template. "$" or "!" before a letter that is
// no variable, and as the last character, is written as is. Throws
// VelkError "Missing a closing '!X'" (source "[none]") when an empty
// conditional part is not closed; what was expanded before stays written.
void expandTemplate(std::ostream& out, const std::string& templateText,
                    const TemplateVariables& variable);

// The first and second source file of the class; "" when it has fewer.
std::string firstSourceFile(const CppClass& cls);
std::string secondSourceFile(const CppClass& cls);
