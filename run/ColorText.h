// The 16 HTML colour names with their values, and what a colour text may
// be: the one table behind the colour settings of the dialogs, the command
// line, the settings file and the source listings.
//
// A colour text is a name of the table (matched without regard to letter
// case) or "#" and six hexadecimal digits. Nothing else is taken, since a
// colour is written into an HTML attribute.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct ColorName {
    const char* name;   // lower case
    const char* value;  // "#RRGGBB", upper case
};

// The table, in name order.
std::span<const ColorName> colorNames();

// The value of a colour name ("Navy" gives "#000080"); "" for any text that
// is not a name.
std::string colorValueOfName(const std::string& name);

// The name of a colour value ("#FF0000" gives "red", digits in either case);
// "" when the value has no name.
std::string colorNameOfValue(const std::string& value);

// The colour (0xRRGGBB) that a colour text stands for: a name's value, or
// "#" and six hexadecimal digits; black (0) for any other text.
unsigned colorOfText(const std::string& text);

// The text for a colour: its name when it has one, else "#RRGGBB".
std::string textOfColor(unsigned rgb);

// True for a colour text (a name of the table in any letter case, or "#"
// and six hexadecimal digits); false for anything else, "" included.
bool isColorText(std::string_view text);

struct SyntaxColorSettings;
// True when each of the seven colours of the listings is a colour text.
bool allColorTexts(const SyntaxColorSettings& colors);

// What a colour text may be, for the message that refuses another text:
// "a colour name (aqua, black, ..., yellow) or # and six hexadecimal digits".
std::string colorRule();
