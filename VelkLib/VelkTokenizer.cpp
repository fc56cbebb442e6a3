#include "VelkLib/VelkTokenizer.h"

#include <climits>
#include <cstring>

#include "platform/TerminalText.h"

VelkTokenizer::InvalidNumberError::InvalidNumberError(const std::string& token)
    : VelkError("Error reading string: expected a number, got \"" + terminalText(token) + "\"") {}

VelkTokenizer::VelkTokenizer(const std::string& text_, const std::string& separator1,
                             const std::string& separator2, const std::string& separator3,
                             const std::string& separator4)
    : text(text_.c_str()) {
    for (const std::string* separator : {&separator1, &separator2, &separator3, &separator4}) {
        if (!separator->empty()) separators.push_back(*separator);
    }
}

VelkTokenizer::~VelkTokenizer() = default;

std::string VelkTokenizer::nextToken(char quote, char escape) {
    if (!pushedBack.empty()) {
        std::string token = std::move(pushedBack.back());
        pushedBack.pop_back();
        return token;
    }
    const size_t start = cursor;
    const size_t length = text.size();
    size_t end = length;
    size_t next = length;
    bool inQuotes = false;
    bool escaped = false;
    for (size_t p = start; p < length; ++p) {
        const char c = text[p];
        if (quote != '\0' && c == quote && !escaped) {
            inQuotes = !inQuotes;
        } else if (!inQuotes && !escaped) {
            size_t matched = 0;
            for (const std::string& separator : separators) {
                if (separator.size() == 1 ? c == separator[0]
                                          : text.compare(p, separator.size(), separator) == 0) {
                    matched = separator.size();
                    break;
                }
            }
            if (matched != 0) {
                end = p;
                next = p + matched;
                break;
            }
        }
        // Only the one character before decides, so an escaped escape
        // character still protects what follows it.
        escaped = escape != '\0' && c == escape;
    }
    cursor = next;
    if (end - start >= 2 && text[start] == quote && text[end - 1] == quote && quote != '\0') {
        return text.substr(start + 1, end - start - 2);
    }
    if (end - start == 1 && quote != '\0' && text[start] == quote) return std::string();
    return text.substr(start, end - start);
}

int VelkTokenizer::nextNumber() {
    const std::string token = nextToken('\0', '\\');
    for (char c : token) {
        if (c != '-' && (c < '0' || c > '9')) throw InvalidNumberError(token);
    }
    size_t i = 0;
    const bool negative = !token.empty() && token[0] == '-';
    if (negative) i = 1;
    // The value is built negatively so INT_MIN itself fits.
    long long value = 0;
    for (; i < token.size() && token[i] != '-'; ++i) {
        value = value * 10 - (token[i] - '0');
        if (value < static_cast<long long>(INT_MIN)) throw InvalidNumberError(token);
    }
    if (!negative) {
        if (-value > static_cast<long long>(INT_MAX)) throw InvalidNumberError(token);
        return static_cast<int>(-value);
    }
    return static_cast<int>(value);
}
