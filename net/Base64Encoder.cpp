#include "net/Base64Encoder.h"

#include <istream>
#include <ostream>

#include "VelkLib/VelkError.h"

namespace {

[[noreturn]] void invalidCharacter(char c) {
    throw VelkError(std::string("The file contains invalid characters (") + c + "). ", "",
                    "[none]", 0);
}

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Base64Encoder::Base64Encoder(bool uuencode) : uuencodeMode(uuencode), padChar(uuencode ? '~' : '=') {
    const char* mime = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (unsigned v = 0; v < 64; ++v) {
        // Uuencode writes value v as the character 32 + v, value 0 as the
        // grave accent so that no line ends in a blank.
        alphabet[v] = uuencode ? static_cast<char>(v == 0 ? '`' : 32 + v) : mime[v];
        values[static_cast<unsigned char>(alphabet[v])] = static_cast<unsigned char>(v);
        inAlphabet[static_cast<unsigned char>(alphabet[v])] = true;
    }
    if (uuencode) {
        inAlphabet[' '] = true;  // value 0 as older encoders wrote it
        values[' '] = 0;
    }
}

void Base64Encoder::encodeGroup(const unsigned char* bytes, std::size_t count,
                                std::string& line) const {
    unsigned group = static_cast<unsigned>(bytes[0]) << 16;
    if (count > 1) group |= static_cast<unsigned>(bytes[1]) << 8;
    if (count > 2) group |= bytes[2];
    char pad = uuencodeMode ? alphabet[0] : '=';
    line += encodeValue(group >> 18);
    line += encodeValue(group >> 12);
    line += count > 1 ? encodeValue(group >> 6) : pad;
    line += count > 2 ? encodeValue(group) : pad;
}

void Base64Encoder::encodeStream(std::istream& in, std::ostream& out, const std::string& partName,
                                 bool withHeader) {
    if (withHeader) {
        if (uuencodeMode)
            out << "begin 666 " << partName << "\n";
        else
            writeAttachmentHeader(out, partName, "base64");
    }
    unsigned char block[bytesPerLine];
    bool first = true;
    std::string line;
    while (in.read(reinterpret_cast<char*>(block), sizeof block) || in.gcount() > 0) {
        std::size_t count = static_cast<std::size_t>(in.gcount());
        line.clear();
        if (uuencodeMode) line += encodeValue(static_cast<unsigned>(count));
        for (std::size_t i = 0; i < count; i += 3) {
            encodeGroup(block + i, std::min<std::size_t>(3, count - i), line);
        }
        if (!first) out << "\n";
        out << line;
        first = false;
        if (count < sizeof block) break;
    }
    if (uuencodeMode && withHeader) out << "\n`\nend";
}

void Base64Encoder::decodeGroup(const char* group, std::string& bytes) const {
    unsigned value = 0;
    int pads = 0;
    for (int i = 0; i < 4; ++i) {
        char c = group[i];
        if (c == padChar) {
            ++pads;
            value <<= 6;
        } else {
            pads = 0;  // only pads at the group's end shorten it
            value = (value << 6) | values[static_cast<unsigned char>(c)];
        }
    }
    int count = 3 - std::min(pads, 3);
    if (count > 0) bytes += static_cast<char>(value >> 16);
    if (count > 1) bytes += static_cast<char>((value >> 8) & 255);
    if (count > 2) bytes += static_cast<char>(value & 255);
}

void Base64Encoder::decodeBase64(std::istream& in, std::ostream& out) const {
    char group[4];
    int filled = 0;
    std::string bytes;
    char block[2400];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        bytes.clear();
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            char c = block[i];
            if (isWhiteSpace(c)) continue;
            unsigned char byte = static_cast<unsigned char>(c);
            if (c != padChar && (byte >= 128 || !inAlphabet[byte])) invalidCharacter(c);
            group[filled++] = c;
            if (filled == 4) {
                decodeGroup(group, bytes);
                filled = 0;
            }
        }
        out << bytes;
    }
    if (filled > 0) {
        while (filled < 4) group[filled++] = padChar;
        bytes.clear();
        decodeGroup(group, bytes);
        out << bytes;
    }
}

void Base64Encoder::decodeUuencode(std::istream& in, std::ostream& out) const {
    std::string line;
    std::string bytes;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (line.empty() || line.compare(0, 6, "begin ") == 0) continue;
        if (line == "end") break;
        char lengthChar = line[0];
        unsigned char lengthByte = static_cast<unsigned char>(lengthChar);
        if (isWhiteSpace(lengthChar)) break;
        if (lengthByte >= 128 || !inAlphabet[lengthByte]) invalidCharacter(lengthChar);
        std::size_t length = values[lengthByte];
        if (length == 0) break;
        std::size_t groups = (length + 2) / 3;
        std::string data = line.substr(1, groups * 4);
        for (char c : data) {
            unsigned char byte = static_cast<unsigned char>(c);
            if (byte >= 128 || !inAlphabet[byte]) invalidCharacter(c);
        }
        data.resize(groups * 4, alphabet[0]);
        // The line's length says how many of the last group's bytes count.
        if (length % 3 == 1) data.replace(data.size() - 2, 2, 2, padChar);
        if (length % 3 == 2) data.back() = padChar;
        bytes.clear();
        for (std::size_t i = 0; i < data.size(); i += 4) decodeGroup(data.data() + i, bytes);
        out << bytes;
    }
}

void Base64Encoder::decodeStream(std::istream& in, std::ostream& out, const std::string&) {
    if (uuencodeMode)
        decodeUuencode(in, out);
    else
        decodeBase64(in, out);
}
