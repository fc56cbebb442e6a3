#include "reader/TemplateHeads.h"

#include <string_view>
#include <utility>

#include "model/Keywords.h"
#include "model/SpecialisationNames.h"

using namespace std::string_view_literals;

namespace {

constexpr int kCpp = 0;

bool opens(const std::string& t) { return t == "<"sv || t == "("sv || t == "["sv || t == "{"sv; }
bool closes(const std::string& t) { return t == ">"sv || t == ")"sv || t == "]"sv || t == "}"sv; }
bool isDots(const std::string& t) { return t == "."sv || t == "..."sv; }

// The ranges [begin, end) of the comma-separated entries of the list whose
// brackets are at open and close.
std::vector<std::pair<std::size_t, std::size_t>> entries(const Tokens& tokens, std::size_t open,
                                                        std::size_t close) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    std::size_t begin = open + 1;
    int depth = 0;
    for (std::size_t i = open + 1; i < close; ++i) {
        const std::string& t = tokens[i];
        if (opens(t)) ++depth;
        else if (closes(t) && depth > 0) --depth;
        else if (t == ","sv && depth == 0) {
            found.emplace_back(begin, i);
            begin = i + 1;
        }
    }
    if (begin < close) found.emplace_back(begin, close);
    return found;
}

bool isParameterName(const std::string& t) { return isNameToken(t) && !isKeyword(t, kCpp); }

// The name that the entry [begin, end) of a head declares, "" when it has
// none; readable turns false for a macro call, whose parameters are not
// written out.
std::string parameterName(const Tokens& tokens, std::size_t begin, std::size_t end, bool& readable) {
    std::size_t stop = end;
    int depth = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const std::string& t = tokens[i];
        if (t == "("sv && depth == 0 && i > begin && isMacroLikeWord(tokens[i - 1])) readable = false;
        if (opens(t)) ++depth;
        else if (closes(t) && depth > 0) --depth;
        else if (t == "="sv && depth == 0) {
            stop = i;  // a default follows
            break;
        }
    }
    // The last word at depth 0 after the kind ("class T", "int N",
    // "typename... Ts"); one of a pointer to a function is in its
    // parentheses ("void (*F)(int)").
    std::size_t last = stop;
    while (last > begin && isDots(tokens[last - 1])) --last;
    if (last > begin + 1 && isParameterName(tokens[last - 1])) return tokens[last - 1];
    for (std::size_t i = begin; i + 2 < stop; ++i)
        if ((tokens[i] == "*"sv || tokens[i] == "&"sv) && isParameterName(tokens[i + 1]) && tokens[i + 2] == ")"sv)
            return tokens[i + 1];
    return {};
}

// Whether the entry [begin, end) of a list is the parameter name itself,
// perhaps expanded as a pack ("Ts...").
bool isParameter(const Tokens& tokens, std::size_t begin, std::size_t end, const std::string& name) {
    if (name.empty() || begin >= end || tokens[begin] != name) return false;
    for (std::size_t i = begin + 1; i < end; ++i)
        if (!isDots(tokens[i])) return false;
    return true;
}

}  // namespace

TemplateHead readTemplateHead(const Tokens& tokens, std::size_t open, std::size_t close) {
    TemplateHead head;
    for (const auto& [begin, end] : entries(tokens, open, close))
        head.parameters.push_back(parameterName(tokens, begin, end, head.readable));
    return head;
}

std::vector<TemplateHead> leadingTemplateHeads(const Tokens& tokens) {
    std::vector<TemplateHead> heads;
    std::size_t i = 0;
    while (i + 1 < tokens.size()) {
        if (tokens[i] != "template"sv || tokens[i + 1] != "<"sv) {
            ++i;
            continue;
        }
        const std::size_t open = i + 1;
        int depth = 0, parens = 0;
        std::size_t close = open;
        for (; close < tokens.size(); ++close) {
            const std::string& t = tokens[close];
            if (t == "("sv) ++parens;
            else if (t == ")"sv && parens > 0) --parens;
            else if (parens == 0 && t == "<"sv) ++depth;
            else if (parens == 0 && t == ">"sv && --depth == 0) break;
        }
        if (close >= tokens.size()) break;
        heads.push_back(readTemplateHead(tokens, open, close));
        i = close + 1;
    }
    return heads;
}

std::vector<TemplateHead> templateHeadsWithin(const Tokens& tokens, const std::vector<int>& bracketMatch,
                                              std::size_t begin, std::size_t end) {
    std::vector<TemplateHead> heads;
    for (std::size_t i = begin; i + 1 < end; ++i) {
        if (tokens[i] != "template"sv || tokens[i + 1] != "<"sv || bracketMatch[i + 1] <= static_cast<int>(i + 1))
            continue;
        const auto close = static_cast<std::size_t>(bracketMatch[i + 1]);
        if (close >= end) break;
        heads.push_back(readTemplateHead(tokens, i + 1, close));
        i = close;
    }
    return heads;
}

bool TemplateHeadMatch::namesSpecialisation(const Tokens& tokens, std::size_t open, std::size_t close) {
    if (next >= heads.size()) return true;
    const TemplateHead& head = heads[next];
    const auto arguments = entries(tokens, open, close);
    if (head.parameters.empty() && head.readable) {
        ++next;  // "template <>"
        return true;
    }
    if (!head.readable) {
        // Parameters not written out: a list of names alone is theirs.
        ++next;
        for (const auto& [begin, end] : arguments) {
            if (!isParameterName(tokens[begin])) return true;
            for (std::size_t i = begin + 1; i < end; ++i)
                if (!isDots(tokens[i])) return true;
        }
        return false;
    }
    bool repeats = arguments.size() == head.parameters.size();
    for (std::size_t k = 0; repeats && k < arguments.size(); ++k)
        repeats = isParameter(tokens, arguments[k].first, arguments[k].second, head.parameters[k]);
    if (repeats) {
        ++next;
        return false;
    }
    for (std::size_t i = open + 1; i < close; ++i)
        for (const std::string& parameter : head.parameters)
            if (!parameter.empty() && tokens[i] == parameter) {
                ++next;  // a partial specialisation's own head
                return true;
            }
    // No parameter of the head in it: a member of an explicit
    // specialisation, which is defined without "template <>"; the head is
    // the member's own.
    return true;
}

std::string templateArgumentText(const Tokens& tokens, std::size_t open, std::size_t close) {
    return "<" + normalizedTemplateName(joinTokens(tokens, open + 1, close)) + ">";
}

std::vector<std::string> specialisedQualifier(const Tokens& tokens, const std::vector<int>& bracketMatch,
                                              std::size_t qualifierBegin, std::size_t nameAt,
                                              TemplateHeadMatch& heads) {
    std::vector<std::string> parts;
    std::size_t i = qualifierBegin;
    auto colons = [&](std::size_t at) { return at + 1 < nameAt && tokens[at] == ":"sv && tokens[at + 1] == ":"sv; };
    if (colons(i)) i += 2;  // the global scope
    while (i < nameAt) {
        std::string part = tokens[i++];
        if (i < nameAt && tokens[i] == "<"sv && bracketMatch[i] > static_cast<int>(i)) {
            const auto close = static_cast<std::size_t>(bracketMatch[i]);
            if (heads.namesSpecialisation(tokens, i, close)) part += templateArgumentText(tokens, i, close);
            i = close + 1;
        }
        parts.push_back(std::move(part));
        if (!colons(i)) break;
        i += 2;
    }
    return parts;
}
