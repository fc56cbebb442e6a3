#include "platform/TerminalText.h"

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string terminalText(std::string_view text, bool keepLineFeeds) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (keepLineFeeds && (c == '\n' || c == '\t')) {
            shown += static_cast<char>(c);
        } else if (keepLineFeeds && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            // A line end of a text written for the dialogs: the line feed ends the line.
        } else if (isControl(c)) {
            shown += "\\x";
            shown += hexDigits[c >> 4];
            shown += hexDigits[c & 15];
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            const auto c1 = static_cast<unsigned char>(text[++i]);
            shown += "\\u00";
            shown += hexDigits[c1 >> 4];
            shown += hexDigits[c1 & 15];
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}
