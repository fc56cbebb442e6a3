#include "model/ModelText.h"

#include <algorithm>
#include <array>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    std::string link = "<a href=\"";
    appendHrefEscaped(link, page);
    if (!anchor.empty()) {
        link += '#';
        // Anchors come escaped as element text is; only a quote could
        // still end the attribute.
        for (char c : anchor) {
            if (c == '"') link += "&quot;";
            else link += c;
        }
    }
    link += "\">";
    link += shown;
    link += "</a>";
    return link;
}

std::size_t findEither(std::string_view text, std::size_t from, char a, char b) {
    // memchr is many times faster than a byte loop; searching in windows
    // keeps a rare character from being looked for to the end of the text
    // on every call, which would make a scan of the whole text quadratic.
    constexpr std::size_t window = 256;
    const char* data = text.data();
    while (from < text.size()) {
        const std::size_t end = std::min(text.size(), from + window);
        const void* atA = std::memchr(data + from, a, end - from);
        const std::size_t limit = atA ? static_cast<const char*>(atA) - data : end;
        if (const void* atB = std::memchr(data + from, b, limit - from))
            return static_cast<const char*>(atB) - data;
        if (atA) return limit;
        from = end;
    }
    return std::string_view::npos;
}

std::size_t inlineTagEnd(std::string_view text, std::size_t from) {
    int depth = 0;
    // From brace to brace: the text between holds none.
    for (std::size_t i = findEither(text, from, '{', '}'); i != std::string_view::npos;
         i = findEither(text, i + 1, '{', '}')) {
        if (text[i] == '{') {
            ++depth;
        } else {
            if (depth == 0) return i;
            --depth;
        }
    }
    return text.find('}', from);
}

bool isGlobalsClassName(const std::string& name) {
    return name.find(" globals)") != std::string::npos;
}

std::string hrefEscape(const std::string& path) {
    std::string out;
    out.reserve(path.size() + 8);
    appendHrefEscaped(out, path);
    return out;
}

namespace {

// The bytes that are not copied as they are, and ':' (which is not, before
// the first "/").
constexpr char kHrefSpecials[] = {'%', '#', '?', '"', '<', '>', '\'', '&', ':', '\x7F'};

constexpr auto hrefSpecial = [] {
    std::array<bool, 256> table{};
    for (int byte = 0; byte < 0x21; ++byte) table[byte] = true;
    for (char c : kHrefSpecials) table[static_cast<unsigned char>(c)] = true;
    return table;
}();

// The first byte of path at or after from that hrefSpecial marks; npos
// when none.
std::size_t nextHrefSpecial(std::string_view path, std::size_t from) {
    const char* const data = path.data();
    const char* p = data + std::min(from, path.size());
    const char* const end = data + path.size();
#if defined(__SSE2__)
    // Sixteen at a time: page paths run to some tens of bytes.
    const __m128i blank = _mm_set1_epi8(0x20);
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit = _mm_cmpeq_epi8(_mm_min_epu8(v, blank), v);  // up to 0x20
        for (char c : kHrefSpecials) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(c)));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return static_cast<std::size_t>(p - data) + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    for (; p != end; ++p)
        if (hrefSpecial[static_cast<unsigned char>(*p)]) return static_cast<std::size_t>(p - data);
    return std::string_view::npos;
}

}  // namespace

void appendHrefEscaped(std::string& out, std::string_view path) {
    static const char hex[] = "0123456789ABCDEF";
    // A ":" before the first "/" would make the first segment a URL scheme
    // ("javascript:", "data:"), so a page named after a file could run
    // script; there it is percent-encoded, which still names the same file.
    const std::size_t firstSlash = path.find('/');
    std::size_t from = 0;
    for (std::size_t i = nextHrefSpecial(path, 0); i != std::string_view::npos;
         i = nextHrefSpecial(path, i + 1)) {
        char c = path[i];
        auto byte = static_cast<unsigned char>(c);
        if (c == ':' && i > firstSlash) continue;
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

void appendListField(std::string& out, std::string_view field) {
    if (field.find_first_of("|\\") == std::string_view::npos) {
        out.append(field);
        return;
    }
    for (char c : field) {
        if (c == '|' || c == '\\') out += '\\';
        out += c;
    }
}

std::string escapeListField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    appendListField(out, field);
    return out;
}

std::vector<std::string> splitListFields(std::string_view text) {
    std::vector<std::string> fields;
    forEachListField(text, [&](std::string_view field) { fields.emplace_back(field); });
    return fields;
}
