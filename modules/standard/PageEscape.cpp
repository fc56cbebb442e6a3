#include "modules/standard/PageEscape.h"

std::string hrefEscape(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size() + 8);
    for (char c : path) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '&') {
            out += "&amp;";
        } else if (byte < 0x21 || byte == 0x7F || c == '%' || c == '#' || c == '?' ||
                   c == '"' || c == '<' || c == '>' || c == '\'') {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}
