#include "reader/TokenReader.h"

#include <string>

#include "VelkLib/VelkError.h"
#include "reader/CharBuffer.h"
#include <string_view>

// Tokens are compared with literals of known length: no strlen per test.
using namespace std::string_view_literals;

namespace {

constexpr int kEof = std::char_traits<char>::eof();

// Bytes above 127 arrive negative from a signed char and EOF is -1: neither
// may reach the <cctype> functions, and both count as "other" characters.
bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool isIdentChar(int c, char extra1, char extra2) {
    if (c < 0 || c > 127) return false;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
        return true;
    return (extra1 != 0 && c == extra1) || (extra2 != 0 && c == extra2);
}

// Skips white space; returns the first other character, or kEof at the end.
int skipWhite(CppStream& in, int* line, std::string* blankText) {
    std::string blanks;
    int c;
    while ((c = in.get()) != kEof && isBlank(c)) {
        if (c == '\n' && line) ++*line;
        if (blankText) blanks.push_back(static_cast<char>(c));
    }
    if (blankText) *blankText = std::move(blanks);
    return c;
}

// Reads the rest of a literal whose opening quote is already in `token`.
void readLiteral(CppStream& in, int* line, char quote, bool join, CharBuffer& token) {
    const int startLine = line ? *line : 0;
    for (;;) {
        int c = in.get();
        if (c == kEof) raiseTokenError(in, "End-of-file while in a quoted string", startLine);
        if (c == '\\') {
            token.append('\\');
            c = in.get();
            if (c == kEof) raiseTokenError(in, "End-of-file while in a quoted string", startLine);
            if (c == '\n' && line) ++*line;
            token.append(static_cast<char>(c));
            continue;
        }
        if (c == '\n' && line) ++*line;
        if (c != quote) {
            token.append(static_cast<char>(c));
            continue;
        }
        if (join) {
            int next = skipWhite(in, line, nullptr);
            if (quote == '"' && next == '"') continue;  // both quotes dropped
            if (next != kEof) in.putBack(next);
        }
        token.append(quote);
        return;
    }
}

}  // namespace

int skipBlanks(CppStream& in, int* line, std::string* blankText) {
    int c = skipWhite(in, line, blankText);
    return c == kEof ? 0 : c;
}

void raiseTokenError(CppStream& in, const std::string& message, int line) {
    throw VelkFileError(message + " on line " + std::to_string(line), in.getFileName());
}

bool lineStartsWith(const std::string& line, const std::string& prefix, bool anywhere) {
    std::size_t pos = line.find(prefix);
    if (pos == std::string::npos) return false;
    if (anywhere) return true;
    std::size_t first = 0;
    while (first < line.size() && isBlank(static_cast<unsigned char>(line[first]))) ++first;
    return pos == first;
}

std::string readToken(CppStream& in, int* line, bool quotedStrings, char extra1, char extra2,
                      bool singleQuotes, std::string* blankText, bool joinStrings) {
    if (in.eof()) {
        if (blankText) blankText->clear();
        return "";
    }
    int c = skipWhite(in, line, blankText);
    if (c == kEof) return "";

    CharBuffer token;
    token.append(static_cast<char>(c));
    if (isIdentChar(c, extra1, extra2)) {
        while ((c = in.get()) != kEof) {
            if (!isIdentChar(c, extra1, extra2)) {
                in.putBack(c);
                break;
            }
            token.append(static_cast<char>(c));
        }
        return token.take();
    }

    if (c == '-') {
        c = skipWhite(in, line, nullptr);
        while (c >= '0' && c <= '9') {
            token.append(static_cast<char>(c));
            c = in.get();
        }
        if (c != kEof) in.putBack(c);
        return token.take();
    }

    if (quotedStrings && (c == '"' || (singleQuotes && c == '\'')))
        readLiteral(in, line, static_cast<char>(c), joinStrings, token);
    return token.take();
}

std::string skipParenthesized(CppStream& in, int* line) {
    readToken(in, line);
    int depth = 1;
    for (;;) {
        std::string token = readToken(in, line);
        if (token == ")"sv && depth <= 1) break;
        if (token.empty())
            raiseTokenError(in, "Unexpected end of file while looking for \")\"", line ? *line : 0);
        if (token == "("sv) ++depth;
        else if (token == ")"sv) --depth;
    }
    return readToken(in, line);
}

void skipToToken(CppStream& in, const std::string& endToken, int* line,
                 const std::string& description, const std::string& openingToken) {
    const int startLine = line ? *line : 0;
    std::string previous;
    int depth = 0;
    bool inComment = false;
    for (;;) {
        std::string token = readToken(in, line, !inComment);
        if (token == endToken && depth <= 0 && !inComment) return;
        if (token.empty())
            raiseTokenError(in, "Unexpected end-of-file while parsing " + description +
                                    "(looking for \"" + endToken + "\")",
                            startLine);
        if (inComment) {
            // The closing "/" is spent: a "*" right after it opens nothing.
            if (token == "/"sv && previous == "*"sv) {
                inComment = false;
                previous.clear();
                continue;
            }
        } else if (!openingToken.empty() && token == openingToken) {
            ++depth;
        } else if (token == endToken) {
            --depth;
        } else if (token == "*"sv && previous == "/"sv) {
            // The opening "*" is spent too, so "/*/" does not close at once.
            inComment = true;
            previous.clear();
            continue;
        }
        previous = std::move(token);
    }
}

void skipBlock(CppStream& in, const std::string& description, int* line) {
    int depth = 1;
    for (;;) {
        std::string token = readToken(in, line);
        if (token.empty())
            raiseTokenError(in, "Unexpected end-of-file when parsing " + description, line ? *line : 0);
        if (token == "{"sv) ++depth;
        else if (token == "}"sv && --depth < 1) return;
    }
}
