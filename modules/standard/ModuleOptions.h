// The standard module's 22 options: the table that getOptions describes and
// setOptions fills, in one fixed order.
#pragma once

#include <array>
#include <cstddef>
#include <string>

struct StandardModule;

enum class OptionKind { Text, Color, Checkbox };

// One row of the options table. Text and colour options live in a text
// field, checkbox options in a flag; `text` or `flag` picks the field out of
// the module object (the other one is null).
struct ModuleOption {
    const char* key;
    const char* label;
    OptionKind kind;
    const char* defaultValue;
    std::string& (*text)(StandardModule&);
    bool& (*flag)(StandardModule&);
    // The value is the base of page names beside the main page: a plain
    // name (pageBaseRefusal).
    bool namesOutputPages = false;
};

inline constexpr size_t moduleOptionCount = 22;

// The table, in the order of the option text and of the setOptions array.
const std::array<ModuleOption, moduleOptionCount>& moduleOptionTable();

// "text", "color" or "checkbox".
const char* optionKindText(OptionKind kind);

// "true" or "false".
std::string boolToText(bool flag);
// True for "" and for any text whose lower-case form is "true"; false for
// everything else ("1", "yes", " true").
bool textToBool(const std::string& text);

// Builds the option text ("key|label|kind|current|default|" per option,
// then one more "|"), stores it in module.optionText and returns it.
const std::string& buildOptionText(StandardModule& module);

// Applies one value per option from an array of exactly moduleOptionCount
// entries in table order; a null entry leaves its option unchanged. Texts
// and colours are stored as given, checkboxes through textToBool. A value
// that pageBaseRefusal refuses for the base of the index pages (one that
// leaves the output directory, names a folder: "/", "\\" or "..", or
// makes a page name longer than a file name can be) is
// refused: its option keeps its value, every other value is applied, and
// then VelkError is thrown naming the refused value and option (one line
// per refusal).
void applyOptionValues(StandardModule& module, const char* const* values);
