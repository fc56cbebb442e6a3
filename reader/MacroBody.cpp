#include "reader/MacroBody.h"

#include <utility>

#include "reader/ReaderText.h"

namespace {
const std::string kParameterPrefix = "arg_";
}

MacroBodyPart MacroBodyPart::literal(std::string text) {
    MacroBodyPart part;
    part.literalText = std::move(text);
    return part;
}

MacroBodyPart MacroBodyPart::parameter(int index) {
    MacroBodyPart part;
    part.parameterFlag = true;
    part.index = index;
    return part;
}

std::string MacroBodyPart::text(const std::string& prefix) const {
    if (!parameterFlag) return literalText;
    return prefix + static_cast<char>('a' + index);
}

std::string MacroBodyPart::expand(const std::vector<std::string>& arguments) const {
    if (!parameterFlag) return literalText;
    return static_cast<std::size_t>(index) < arguments.size() ? arguments[index] : std::string();
}

MacroBody::MacroBody(const std::string& body) : parts{MacroBodyPart::literal(body)} {}

MacroBody::MacroBody(const std::vector<std::string>& parameters, const std::string& body)
    : parameterCount(static_cast<int>(parameters.size())) {
    std::string literal;
    std::size_t pos = 0;
    while (pos < body.size()) {
        bool matched = false;
        // A parameter name never starts inside a word.
        if (pos == 0 || !isWordChar(body[pos - 1])) {
            for (std::size_t i = 0; i < parameters.size(); ++i) {
                if (!matchesWordAt(parameters[i], body, pos)) continue;
                if (!literal.empty()) parts.push_back(MacroBodyPart::literal(std::move(literal)));
                literal.clear();
                parts.push_back(MacroBodyPart::parameter(static_cast<int>(i)));
                pos += parameters[i].size();
                matched = true;
                break;
            }
        }
        if (!matched) literal.push_back(body[pos++]);
    }
    if (!literal.empty()) parts.push_back(MacroBodyPart::literal(std::move(literal)));
}

namespace {

// Joins the tokens on both sides of every "##": the marker goes with the
// blanks around it, those an argument brought included, so that
// "name ## _left" with the argument " plus" gives "plus_left", one word.
std::string pasteTokens(const std::string& text) {
    if (text.find("##") == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "##") != 0) {
            out.push_back(text[i++]);
            continue;
        }
        while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
        i += 2;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    }
    return out;
}

}  // namespace

std::string MacroBody::expand(const std::vector<std::string>& arguments) const {
    std::string out;
    for (const MacroBodyPart& part : parts) out += part.expand(arguments);
    return pasteTokens(out);
}

std::string MacroBody::parameterText() const {
    if (parameterCount == 0) return "";
    std::string out = "(";
    for (int i = 0; i < parameterCount; ++i) {
        if (i > 0) out += ",";
        out += MacroBodyPart::parameter(i).text(kParameterPrefix);
    }
    return out + ")";
}

std::string MacroBody::bodyText() const {
    std::string out;
    for (const MacroBodyPart& part : parts) out += part.text(kParameterPrefix);
    return out;
}
