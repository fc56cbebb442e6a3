#include "modules/standard/PageEscape.h"

std::string hrefEscape(const std::string& path) {
    std::string out;
    out.reserve(path.size() + 8);
    appendHrefEscaped(out, path);
    return out;
}

void appendHrefEscaped(std::string& out, std::string_view path) {
    static const char hex[] = "0123456789ABCDEF";
    std::size_t from = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        auto byte = static_cast<unsigned char>(c);
        bool encode = byte < 0x21 || byte == 0x7F || c == '%' || c == '#' || c == '?' ||
                      c == '"' || c == '<' || c == '>' || c == '\'';
        if (c != '&' && !encode) continue;
        out.append(path.data() + from, i - from);
        from = i + 1;
        if (c == '&') {
            out += "&amp;";
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 15];
        }
    }
    out.append(path.data() + from, path.size() - from);
}
