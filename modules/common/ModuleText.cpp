#include "modules/common/ModuleText.h"

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkString.h"
#include "model/CppClass.h"
#include "model/Keywords.h"
#include "model/ModelText.h"

#include <array>
#include <sys/stat.h>
#include <istream>
#include <iterator>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

std::string copyTextFileIntoPage(const std::string& text) {
    if (isHtmlFragment(text)) return text;
    std::string content = readWholeFile(text, kPageTextLimit);
    // Text mode: a carriage return before a line feed is dropped, every
    // other byte is kept as read.
    std::string result;
    result.reserve(content.size());
    for (std::size_t i = 0; i < content.size(); ++i)
        if (content[i] != '\r' || i + 1 >= content.size() || content[i + 1] != '\n')
            result += content[i];
    return result;
}

std::string readFoundTextFile(const std::string& path, const InputRoots& roots,
                              std::string& warning) {
    warning.clear();
    if (path.empty() || !fileExists(path)) {
        struct stat info;  // a link that leads nowhere is still a link found here
        if (path.empty() || ::lstat(path.c_str(), &info) != 0) return "";
    }
    std::string content;
    try {
        content = readFileFoundBeside(path, kPageTextLimit, roots);
    } catch (const VelkError& e) {
        // The message without the file's name, which the warning names first.
        warning = "Skipped \"" + path + "\": " + e.VelkError::getMessage() + ".";
        return "";
    }
    // Lines as readTextFile gives them: each followed by CR LF, a CR
    // before a line feed dropped, no empty line made of the final feed.
    std::string result;
    result.reserve(content.size() + content.size() / 16);
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        std::size_t next = end == std::string::npos ? content.size() : end + 1;
        if (end == std::string::npos) end = content.size();
        std::size_t stop = end;
        if (next != end && stop > start && content[stop - 1] == '\r') --stop;
        result.append(content, start, stop - start);
        result += "\r\n";
        start = next;
    }
    return result;
}

std::string readTextFile(const std::string& path) {
    std::string result;
    if (path.empty() || !fileExists(path)) return result;
    try {
        VelkInFile in(path, false);
        std::istream& stream = in.getStream();
        for (;;) {
            std::string line = in.readLine();
            if (stream.eof() && line.empty()) break;
            result += line;
            result += "\r\n";
            if (stream.eof()) break;
        }
    } catch (const VelkError&) {
        // A summary or overview that cannot be read is simply left out.
    }
    return result;
}

std::string globalsLinkLabel(const std::string& projectName) {
    std::string middle;
    if (!projectName.empty() && projectName != noProjectName) middle = projectName + " ";
    return "(" + middle + " globals)";
}

bool isKeyword(const CppClass& cls, const std::string& word) {
    return isKeyword(std::string_view(word), cls.getLanguage());
}

int languageFromText(const std::string& text) {
    if (text == "cpp") return 0;
    if (text == "csharp") return 1;
    if (text == "java") return 2;
    return 3;
}

std::string rightChars(const std::string& text, size_t n) {
    if (text.empty()) return text;
    if (n > text.size()) throw std::out_of_range("rightChars: count beyond the text");
    return text.substr(text.size() - n);
}

std::string leftChars(const std::string& text, size_t n) { return text.substr(0, n); }

std::string substring(const std::string& text, size_t start, size_t n) {
    return text.substr(start, n);
}

std::string afterLast(const std::string& text, const std::string& separator) {
    return textAfterLast(text, separator);
}

std::string toLowerCase(const std::string& text) {
    std::string result = text;
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string trim(const std::string& text) { return std::string(trimmedView(text)); }

std::string_view trimmedView(std::string_view text) {
    // The white space of trim: the six ASCII blanks, whatever the locale.
    auto isSpace = [](char c) {
        return c == ' ' || (c >= '\t' && c <= '\r');
    };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isSpace(text[begin])) ++begin;
    while (end > begin && isSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::size_t findLastOfEither(std::string_view text, char a, char b) {
    for (std::size_t i = text.size(); i-- != 0;)
        if (text[i] == a || text[i] == b) return i;
    return std::string_view::npos;
}

std::size_t findFirstOfFour(std::string_view text, std::size_t from, char a, char b, char c, char d) {
    if (from >= text.size()) return std::string_view::npos;
    const char* const data = text.data();
    const char* p = data + from;
    const char* const end = data + text.size();
#if defined(__SSE2__)
    // Sixteen at a time: the texts searched are declarations and comments.
    const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b), vc = _mm_set1_epi8(c),
                  vd = _mm_set1_epi8(d);
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, va), _mm_cmpeq_epi8(v, vb)),
                                         _mm_or_si128(_mm_cmpeq_epi8(v, vc), _mm_cmpeq_epi8(v, vd)));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return static_cast<std::size_t>(p - data) + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    for (; p != end; ++p)
        if (*p == a || *p == b || *p == c || *p == d) return static_cast<std::size_t>(p - data);
    return std::string_view::npos;
}

namespace {

bool isWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

size_t findOutsideQuotes(std::string_view text, char c, size_t start, bool singleQuotes,
                         bool angles) {
    bool inDouble = false, inSingle = false;
    int bracketDepth[3] = {0, 0, 0};  // (), [], {}
    int angleDepth = 0;
    // The characters that change the state below; the others are passed
    // over at one table look-up each.
    static constexpr auto marks = [] {
        std::array<bool, 256> table{};
        for (unsigned char m : {'"', '\'', '(', '[', '{', '<', ')', ']', '}', '>'}) table[m] = true;
        return table;
    }();
    for (size_t i = start; i < text.size(); ++i) {
        char ch = text[i];
        if (ch != c && !marks[static_cast<unsigned char>(ch)]) continue;
        if (ch == c && !inDouble && !(singleQuotes && inSingle) && bracketDepth[0] == 0 &&
            bracketDepth[1] == 0 && bracketDepth[2] == 0 && !(angles && angleDepth != 0))
            return i;
        switch (ch) {
        case '"': inDouble = !inDouble; break;
        case '\'': {
            // An apostrophe inside a word ("the list's size") is no quote,
            // nor is one that ends a word before a blank or the end outside a
            // quote (a plural's "the users' lists").
            const bool afterWord = i > 0 && isWordByte(text[i - 1]);
            const bool beforeWord = i + 1 < text.size() && isWordByte(text[i + 1]);
            const bool beforeBlank =
                i + 1 == text.size() || text[i + 1] == ' ' || text[i + 1] == '\t' ||
                text[i + 1] == '\n' || text[i + 1] == '\r';
            if (singleQuotes && afterWord && (beforeWord || (!inSingle && beforeBlank))) break;
            inSingle = !inSingle;
            break;
        }
        case '(': ++bracketDepth[0]; break;
        case '[': ++bracketDepth[1]; break;
        case '{': ++bracketDepth[2]; break;
        case '<': ++angleDepth; break;
        case ')': if (bracketDepth[0] > 0) --bracketDepth[0]; break;
        case ']': if (bracketDepth[1] > 0) --bracketDepth[1]; break;
        case '}': if (bracketDepth[2] > 0) --bracketDepth[2]; break;
        case '>': if (angleDepth > 0) --angleDepth; break;
        default: break;
        }
    }
    return std::string::npos;
}

std::string escapeHtml(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    appendEscapedHtml(result, text);
    return result;
}

bool characterReferenceAt(std::string_view text, std::size_t at, std::size_t& end) {
    if (at >= text.size() || text[at] != '&') return false;
    std::size_t i = at + 1;
    while (i < text.size() && i - at <= 7 &&
           ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z') ||
            (text[i] >= '0' && text[i] <= '9') || text[i] == '#'))
        ++i;
    if (i < text.size() && text[i] == ';' && i > at + 1) {
        end = i;
        return true;
    }
    return false;
}

void appendEscapedHtml(std::string& out, std::string_view text) {
    // Runs without any of the four bytes are copied whole: most names have none.
    static constexpr auto special = [] {
        std::array<bool, 256> table{};
        for (unsigned char c : {'&', '<', '>', '"'}) table[c] = true;
        return table;
    }();
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!special[static_cast<unsigned char>(text[i])]) continue;
        out.append(text.data() + from, i - from);
        switch (text[i]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += "&quot;"; break;
        }
        from = i + 1;
    }
    out.append(text.data() + from, text.size() - from);
}
