#include "reader/Literals.h"

namespace {

constexpr int kMaxNesting = 16;
constexpr std::size_t kNone = std::string_view::npos;
// The longest delimiter of a C++ raw string.
constexpr std::size_t kMaxRawDelimiter = 16;

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool findAt(std::string_view text, std::size_t quote, SpecialLiteral& found, int depth);

// Just past an ordinary literal opened at text[open] (backslash escapes),
// kNone when the text ends first.
std::size_t ordinaryEnd(std::string_view text, std::size_t open) {
    const char quote = text[open];
    for (std::size_t k = open + 1; k < text.size(); ++k) {
        if (text[k] == '\\') ++k;
        else if (text[k] == quote) return k + 1;
    }
    return kNone;
}

// Just past any literal opened at text[open], kNone when unterminated.
std::size_t literalEnd(std::string_view text, std::size_t open, int depth) {
    if (text[open] == '"') {
        SpecialLiteral inner;
        if (depth < kMaxNesting && findAt(text, open, inner, depth + 1))
            return inner.closed ? inner.end : kNone;
    }
    return ordinaryEnd(text, open);
}

// Just past the "}" that closes the hole opened at text[open], kNone when
// the text ends first.
std::size_t holeEnd(std::string_view text, std::size_t open, int depth) {
    int braces = 1;
    for (std::size_t k = open + 1; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '"' || c == '\'') {
            const std::size_t end = literalEnd(text, k, depth);
            if (end == kNone) return kNone;
            k = end - 1;
        } else if (c == '{') {
            ++braces;
        } else if (c == '}' && --braces == 0) {
            return k + 1;
        }
    }
    return kNone;
}

void finish(SpecialLiteral& found, std::string_view text, std::size_t contentEnd, std::size_t end) {
    found.closed = end != kNone;
    found.contentEnd = found.closed ? contentEnd : text.size();
    found.end = found.closed ? end : text.size();
}

bool rawCpp(std::string_view text, std::size_t quote, SpecialLiteral& found) {
    if (quote == 0 || text[quote - 1] != 'R') return false;
    std::size_t begin = quote - 1;
    for (std::string_view prefix : {"u8", "u", "U", "L"})
        if (begin >= prefix.size() && text.substr(begin - prefix.size(), prefix.size()) == prefix) {
            begin -= prefix.size();
            break;
        }
    if (begin > 0 && isIdentifierChar(text[begin - 1])) return false;
    std::size_t open = quote + 1;
    while (open < text.size() && open - quote - 1 <= kMaxRawDelimiter && text[open] != '(') {
        const char c = text[open];
        if (c == ' ' || c == ')' || c == '\\' || c == '"' || c == '\t' || c == '\n' || c == '\r')
            return false;
        ++open;
    }
    if (open >= text.size() || text[open] != '(') return false;
    std::string closing = ")";
    closing.append(text.substr(quote + 1, open - quote - 1));
    closing += '"';
    found.begin = begin;
    found.contentBegin = open + 1;
    const std::size_t at = text.find(closing, open + 1);
    finish(found, text, at, at == kNone ? kNone : at + closing.size());
    return true;
}

// """...""" (C# raw, as many quotes as open it) and Java text blocks.
bool tripleQuoted(std::string_view text, std::size_t quote, std::size_t begin, SpecialLiteral& found) {
    std::size_t run = 0;
    while (quote + run < text.size() && text[quote + run] == '"') ++run;
    if (run < 3) return false;
    found.begin = begin;
    found.contentBegin = quote + run;
    // Opened at the end of its line: a text block, whose backslashes
    // escape (a C# raw string of several lines closes on a line of its
    // own, so the rule never cuts one short).
    std::size_t k = found.contentBegin;
    while (k < text.size() && (text[k] == ' ' || text[k] == '\t' || text[k] == '\r')) ++k;
    const bool escapes = k >= text.size() || text[k] == '\n';
    for (k = found.contentBegin; k < text.size(); ++k) {
        if (escapes && text[k] == '\\') {
            ++k;
            continue;
        }
        if (text[k] != '"') continue;
        std::size_t closing = 0;
        while (k + closing < text.size() && text[k + closing] == '"') ++closing;
        if (closing >= run) {
            finish(found, text, k + closing - run, k + closing);
            return true;
        }
        k += closing - 1;
    }
    finish(found, text, kNone, kNone);
    return true;
}

// @"..." and $"...", either with holes or without.
bool csharpString(std::string_view text, std::size_t quote, std::size_t begin, bool verbatim,
                  bool holes, SpecialLiteral& found, int depth) {
    found.begin = begin;
    found.contentBegin = quote + 1;
    found.verbatim = verbatim;
    for (std::size_t k = quote + 1; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '\\' && !verbatim) {
            ++k;
        } else if (c == '"') {
            if (verbatim && k + 1 < text.size() && text[k + 1] == '"') {
                ++k;
                continue;
            }
            finish(found, text, k, k + 1);
            return true;
        } else if (c == '{' && holes) {
            if (k + 1 < text.size() && text[k + 1] == '{') {
                ++k;
                continue;
            }
            const std::size_t end = holeEnd(text, k, depth);
            if (end == kNone) break;
            k = end - 1;
        }
    }
    finish(found, text, kNone, kNone);
    return true;
}

bool findAt(std::string_view text, std::size_t quote, SpecialLiteral& found, int depth) {
    found = SpecialLiteral();
    if (quote >= text.size() || text[quote] != '"') return false;
    if (rawCpp(text, quote, found)) return true;
    std::size_t begin = quote;
    int dollars = 0, ats = 0;
    while (begin > 0 && quote - begin < 8 && (text[begin - 1] == '$' || text[begin - 1] == '@')) {
        --begin;
        (text[begin] == '$' ? dollars : ats) += 1;
    }
    if (ats > 1) return false;
    if (tripleQuoted(text, quote, begin, found)) return true;
    if (ats == 0 && dollars == 0) return false;
    return csharpString(text, quote, begin, ats == 1, dollars > 0, found, depth);
}

}  // namespace

bool findSpecialLiteral(std::string_view text, std::size_t quote, SpecialLiteral& found) {
    return findAt(text, quote, found, 0);
}

void appendPlainLiteral(std::string& out, std::string_view content, bool verbatim) {
    out += '"';
    for (std::size_t k = 0; k < content.size(); ++k) {
        const char c = content[k];
        if (c == '"') {
            if (verbatim && k + 1 < content.size() && content[k + 1] == '"') ++k;
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {
            out += c;
        }
    }
    out += '"';
}
