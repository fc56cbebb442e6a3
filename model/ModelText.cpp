#include "model/ModelText.h"

std::string textAfterLast(const std::string& text, const std::string& separator) {
    if (separator.empty()) return text;
    size_t at = text.rfind(separator);
    if (at == std::string::npos) return text;
    return text.substr(at + separator.size());
}

std::string lastPathPart(const std::string& path) {
    size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? path : path.substr(at + 1);
}

size_t findFirstCharWhere(const std::string& text, int (*test)(int), bool negate) {
    for (size_t i = 0; i < text.size(); ++i) {
        bool hit = test(static_cast<unsigned char>(text[i])) != 0;
        if (hit != negate) return i;
    }
    return std::string::npos;
}

bool sameArguments(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return a == b;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::string out;
    size_t start = 0;
    for (size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
        out.append(text, start, at - start);
        out += to;
    }
    if (start == 0) return text;
    out.append(text, start, std::string::npos);
    return out;
}

std::string makeLink(const std::string& text, const std::string& page,
                     const std::string& tag, const std::string& anchor) {
    std::string shown = tag.empty() ? text : "<" + tag + ">" + text + "</" + tag + ">";
    std::string target = anchor.empty() ? page : page + "#" + anchor;
    return "<a href=\"" + target + "\">" + shown + "</a>";
}

bool isGlobalsClassName(const std::string& name) {
    return name.find(" globals)") != std::string::npos;
}
