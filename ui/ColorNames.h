// The 16 HTML colour names with their values, and the colour chooser that
// the option rows and the Syntax Coloring dialog share.
//
// A colour text is a name of the table (matched without regard to letter
// case) or "#" and six hexadecimal digits; the chooser writes names in lower
// case and values as "#" and six upper-case digits.
#pragma once

#include <span>
#include <string>

namespace gui {
class CDialog;
}

namespace ui {

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

// Opens the backend's colour chooser on the colour of text; when the user
// picks one, text becomes textOfColor of it and the dialog's edit editId
// shows it. Returns false when the user cancelled (nothing changes).
bool chooseColor(std::string& text, gui::CDialog& dialog, int editId);

}  // namespace ui
