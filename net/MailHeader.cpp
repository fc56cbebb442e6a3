#include "net/MailHeader.h"

#include <cstdio>
#include <random>

namespace {

// Whole lines of mail are at most 998 octets; a header of printable ASCII
// that fits goes out as it is.
constexpr std::size_t maxHeaderLine = 998;

bool printableAscii(const std::string& text) {
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte >= 127) return false;
    }
    return true;
}

std::string base64(const std::string& bytes) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16 |
                         static_cast<unsigned char>(bytes[i + 1]) << 8 |
                         static_cast<unsigned char>(bytes[i + 2]);
        for (int shift : {18, 12, 6, 0}) out += alphabet[(value >> shift) & 63];
    }
    if (i < bytes.size()) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += alphabet[(value >> 18) & 63];
        out += alphabet[(value >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(value >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// The text as encoded words of at most 75 characters: 45 bytes give 60
// base64 characters, and a word ends before a character that would not
// fit whole.
std::vector<std::string> encodedWords(const std::string& text) {
    constexpr std::size_t maxBytes = 45;
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.size(), start + maxBytes);
        // Back to the start of a UTF-8 character (a byte 10xxxxxx continues
        // one), unless the word would be empty.
        while (end < text.size() && end > start + 1 &&
               (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
        words.push_back("=?utf-8?B?" + base64(text.substr(start, end - start)) + "?=");
        start = end;
    }
    if (words.empty()) words.emplace_back();
    return words;
}

std::vector<std::string> joinedLines(const std::string& first, const std::vector<std::string>& words,
                                     const std::string& after) {
    std::vector<std::string> lines{first + words[0]};
    for (std::size_t i = 1; i < words.size(); ++i) lines.push_back(" " + words[i]);
    lines.back() += after;
    return lines;
}

}  // namespace

std::vector<std::string> textHeaderLines(const std::string& name, const std::string& value) {
    const std::string first = name + ": ";
    if (printableAscii(value) && first.size() + value.size() <= maxHeaderLine)
        return {first + value};
    return joinedLines(first, encodedWords(value), "");
}

std::vector<std::string> addressHeaderLines(const std::string& name, const std::string& value) {
    const std::string first = name + ": ";
    std::string::size_type open = value.find('<');
    if (printableAscii(value) || open == std::string::npos) return {first + value};
    std::string phrase = value.substr(0, open);
    while (!phrase.empty() && phrase.back() == ' ') phrase.pop_back();
    if (printableAscii(phrase)) return {first + value};
    return joinedLines(first, encodedWords(phrase), " " + value.substr(open));
}

std::vector<std::string> addressListHeaderLines(const std::string& name,
                                                const std::vector<std::string>& addresses) {
    std::string joined;
    bool ascii = true;
    for (const std::string& address : addresses) {
        joined += (joined.empty() ? "" : ", ") + address;
        ascii = ascii && printableAscii(address);
    }
    if (ascii) return addressHeaderLines(name, joined);
    std::vector<std::string> lines;
    for (const std::string& address : addresses) {
        std::vector<std::string> one = addressHeaderLines(name, address);
        if (!lines.empty()) {
            lines.back() += ",";
            one[0] = " " + one[0].substr(name.size() + 2);
        }
        lines.insert(lines.end(), one.begin(), one.end());
    }
    return lines;
}

std::string mailDate(std::time_t moment) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    localtime_r(&moment, &local);
    long offset = local.tm_gmtoff / 60;
    char sign = offset < 0 ? '-' : '+';
    if (offset < 0) offset = -offset;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  days[local.tm_wday % 7], local.tm_mday, months[local.tm_mon % 12],
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, sign,
                  offset / 60, offset % 60);
    return text;
}

std::string newMessageId(std::time_t moment, const std::string& hostName) {
    std::string host;
    for (char c : hostName) {
        bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.';
        if (kept) host += c;
    }
    while (!host.empty() && host.front() == '.') host.erase(0, 1);
    while (!host.empty() && host.back() == '.') host.pop_back();
    if (host.empty()) host = "localhost";
    std::random_device device;
    char random[32];
    std::snprintf(random, sizeof random, "%08x%08x", device(), device());
    return "<" + std::to_string(static_cast<long long>(moment)) + "." + random + "@" + host + ">";
}
