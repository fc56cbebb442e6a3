#include "net/MailAddress.h"

#include "VelkLib/VelkError.h"
#include "platform/TerminalText.h"

std::string addressOf(const std::string& text) {
    std::string::size_type open = text.find('<');
    std::string::size_type close = text.rfind('>');
    if (open == std::string::npos || close == std::string::npos) {
        std::string::size_type blank = text.rfind(' ');
        return blank == std::string::npos ? text : text.substr(blank + 1);
    }
    if (close < open) throw VelkError("Bad address: " + terminalText(text), "", "[none]", 0);
    return text.substr(open + 1, close - open - 1);
}

void refuseControlCharacters(const std::string& what, const std::string& text) {
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) {
            throw VelkError("The " + what +
                                " must not hold a line break or another control character.",
                            "", "[none]", 0);
        }
    }
}
