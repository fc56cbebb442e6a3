#include "modules/common/PageEscape.h"

#include <array>

std::string hrefEscape(const std::string& path) {
    std::string out;
    out.reserve(path.size() + 8);
    appendHrefEscaped(out, path);
    return out;
}

void appendHrefEscaped(std::string& out, std::string_view path) {
    static const char hex[] = "0123456789ABCDEF";
    // The bytes that are not copied as they are.
    static constexpr auto special = [] {
        std::array<bool, 256> table{};
        for (int byte = 0; byte < 0x21; ++byte) table[byte] = true;
        table[0x7F] = true;
        for (unsigned char c : {'%', '#', '?', '"', '<', '>', '\'', '&'}) table[c] = true;
        return table;
    }();
    std::size_t from = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        auto byte = static_cast<unsigned char>(c);
        if (!special[byte]) continue;
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
