// Per-class entry templates: "$X" variables and "!X ... !X" conditional
// parts expanded with texts of one class.
//
// Variables: C name (italic for an interface, bold for a namespace),
// D documentation block, F and G first and second source file, H page file,
// J package, P base list, R the caller's relative prefix. Code text is
// escaped; the documentation block is HTML.
#pragma once

#include "modules/common/TemplateExpansion.h"

#include <optional>
#include <ostream>
#include <string>

class CppClass;

// Where the entries go: relativePrefix leads from the page being written to
// the detail directory (for R and the links inside D).
struct ItemTemplateContext {
    std::string relativePrefix;
    std::string sourceDirectory;
};

// The value of the variable, or nothing when the letter is no variable.
std::optional<std::string> templateVariable(const CppClass& cls, char letter,
                                            const ItemTemplateContext& context);

// Writes the expansion of the template for the class. "$" or "!" before a
// letter that is no variable, and as the last character, is written as is.
// Throws VelkError "Missing a closing '!X'" when an empty conditional part
// is not closed; what was expanded before stays written.
void expandItemTemplate(std::ostream& out, const CppClass& cls, const std::string& templateText,
                        const ItemTemplateContext& context);
