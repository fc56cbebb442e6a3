// Base64 parts (the MIME alphabet and "=" padding) and, in uuencode mode,
// the classic "begin 666" form: 45 input bytes per line, three bytes to four
// characters, the high six bits first.
#pragma once

#include <array>

#include "net/MimeEncoder.h"

class Base64Encoder : public MimeEncoder {
public:
    static constexpr std::size_t bytesPerLine = 45;

    explicit Base64Encoder(bool uuencodeMode);

    // Base64 with the header: the attachment header lines with the transfer
    // encoding "base64". Uuencode with the header: "begin 666 " + part name
    // first, and a line feed, a line "`" and a line "end" last. Each line
    // holds one block of 45 bytes; in uuencode mode it begins with the
    // character for the block's length. Lines are separated by a line feed,
    // none after the last.
    void encodeStream(std::istream& in, std::ostream& out, const std::string& partName,
                      bool withHeader) override;

    // Base64: white space is skipped, the rest must be alphabet or "=";
    // trailing "=" shorten the last group. Uuencode: empty lines and a
    // "begin " line are skipped, a line whose length character stands for
    // 0 (or is white space) or an "end" line ends the data; blanks cut off a
    // line's end are taken as value 0. Throws VelkError "The file contains
    // invalid characters (" + c + "). " for any other character.
    void decodeStream(std::istream& in, std::ostream& out, const std::string& inputName) override;

    bool isUuencodeMode() const { return uuencodeMode; }

private:
    char encodeValue(unsigned value) const { return alphabet[value & 63]; }
    void encodeGroup(const unsigned char* bytes, std::size_t count, std::string& line) const;
    void decodeGroup(const char* group, std::string& bytes) const;
    void decodeBase64(std::istream& in, std::ostream& out) const;
    void decodeUuencode(std::istream& in, std::ostream& out) const;

    bool uuencodeMode;
    // Stands where a group has fewer than three bytes: "=" in base64; in
    // uuencode mode "~", which the line lengths put in place while decoding.
    char padChar;
    std::array<char, 64> alphabet{};
    std::array<unsigned char, 128> values{};  // 0 outside the alphabet
    std::array<bool, 128> inAlphabet{};
};
