#include "run/ColorText.h"

#include "run/SyntaxColorSettings.h"

#include <cctype>


namespace {

constexpr ColorName table[] = {
    {"aqua", "#00FFFF"},   {"black", "#000000"}, {"blue", "#0000FF"},   {"fuchsia", "#FF00FF"},
    {"gray", "#808080"},   {"green", "#008000"}, {"lime", "#00FF00"},   {"maroon", "#800000"},
    {"navy", "#000080"},   {"olive", "#808000"}, {"purple", "#800080"}, {"red", "#FF0000"},
    {"silver", "#C0C0C0"}, {"teal", "#008080"},  {"white", "#FFFFFF"},  {"yellow", "#FFFF00"},
};

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The colour of "#" and six hexadecimal digits; false for anything else.
bool parseValue(const std::string& text, unsigned& rgb) {
    if (text.size() != 7 || text[0] != '#') return false;
    unsigned value = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        int digit = hexDigit(text[i]);
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    rgb = value;
    return true;
}

std::string valueText(unsigned rgb) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4) text += digits[(rgb >> shift) & 0xF];
    return text;
}

}  // namespace

std::span<const ColorName> colorNames() { return table; }

std::string colorValueOfName(const std::string& name) {
    std::string lower = lowerCase(name);
    for (const ColorName& entry : table)
        if (lower == entry.name) return entry.value;
    return "";
}

std::string colorNameOfValue(const std::string& value) {
    unsigned rgb = 0;
    if (!parseValue(value, rgb)) return "";
    std::string canonical = valueText(rgb);
    for (const ColorName& entry : table)
        if (canonical == entry.value) return entry.name;
    return "";
}

unsigned colorOfText(const std::string& text) {
    std::string value = colorValueOfName(text);
    unsigned rgb = 0;
    if (!parseValue(value.empty() ? text : value, rgb)) return 0;
    return rgb;
}

std::string textOfColor(unsigned rgb) {
    std::string value = valueText(rgb & 0xFFFFFFu);
    std::string name = colorNameOfValue(value);
    return name.empty() ? value : name;
}

bool isColorText(std::string_view text) {
    unsigned rgb = 0;
    return parseValue(std::string(text), rgb) || !colorValueOfName(std::string(text)).empty();
}

std::string colorRule() {
    std::string names;
    for (const ColorName& entry : table) names += std::string(names.empty() ? "" : ", ") + entry.name;
    return "a colour name (" + names + ") or # and six hexadecimal digits";
}

bool allColorTexts(const SyntaxColorSettings& c) {
    for (const std::string* color : {&c.comment, &c.keyword, &c.userKeyword, &c.string, &c.number, &c.op,
                                     &c.separator})
        if (!isColorText(*color)) return false;
    return true;
}
