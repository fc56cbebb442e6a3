#include "net/QuotedPrintableEncoder.h"

#include <istream>
#include <ostream>

#include "VelkLib/VelkError.h"

namespace {

bool isLiteral(unsigned char byte) {
    return (byte >= 33 && byte <= 60) || (byte >= 62 && byte <= 126) || byte == '\t' || byte == ' ';
}

const char hexDigits[] = "0123456789ABCDEF";

void appendEscape(std::string& line, unsigned char byte) {
    line += '=';
    line += hexDigits[byte >> 4];
    line += hexDigits[byte & 15];
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

void QuotedPrintableEncoder::encodeStream(std::istream& in, std::ostream& out,
                                          const std::string& partName, bool withHeader) {
    if (withHeader) writeAttachmentHeader(out, partName, "Quoted-Printable");
    std::string line;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            unsigned char byte = static_cast<unsigned char>(block[i]);
            if (isLiteral(byte))
                line += static_cast<char>(byte);
            else
                appendEscape(line, byte);
            if (line.size() + 3 >= maxLineLength) {
                out << line << "=\n";
                line.clear();
            }
        }
    }
    if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        unsigned char last = static_cast<unsigned char>(line.back());
        line.pop_back();
        appendEscape(line, last);
    }
    out << line;
}

void QuotedPrintableEncoder::decodeStream(std::istream& in, std::ostream& out,
                                          const std::string& inputName) {
    std::string line;
    while (std::getline(in, line)) {
        std::string::size_type end = line.find_last_not_of(" \t\r");
        line.erase(end == std::string::npos ? 0 : end + 1);
        if (!line.empty() && line.back() == '=') line.pop_back();
        std::string bytes;
        for (std::string::size_type i = 0; i < line.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(line[i]);
            if (c == '=') {
                if (i + 2 >= line.size()) {
                    throw VelkError("QuotedPrintableEncoder: found incomplete line in file " +
                                        inputName,
                                    "", "[none]", 0);
                }
                int high = hexValue(line[i + 1]);
                int low = hexValue(line[i + 2]);
                if (high < 0 || low < 0) {
                    char bad = high < 0 ? line[i + 1] : line[i + 2];
                    throw VelkError(
                        std::string("QuotedPrintableEncoder: found an invalid Hex character (") +
                            bad + ")",
                        "", "[none]", 0);
                }
                bytes += static_cast<char>(high * 16 + low);
                i += 2;
            } else if (isLiteral(c)) {
                bytes += static_cast<char>(c);
            } else {
                throw VelkError("QuotedPrintableEncoder: found invalid character in file " +
                                    inputName,
                                "", "[none]", 0);
            }
        }
        out << bytes;
    }
}

namespace {

// One line of a quoted-printable text body, written as it grows.
class TextLineWriter {
public:
    explicit TextLineWriter(std::ostream& out) : out(out) {}

    void add(unsigned char byte) {
        std::string piece;
        if (isLiteral(byte)) piece = static_cast<char>(byte);
        else appendEscape(piece, byte);
        // A soft break before the piece keeps the line and its "=" within
        // the limit; escapes are never split.
        if (line.size() + piece.size() + 1 > QuotedPrintableEncoder::maxLineLength) {
            out << line << "=\n";
            line.clear();
        }
        line += piece;
    }

    // Ends the line: with a line end after it (a break of the text), or
    // without one (the end of the text).
    void end(bool lineBreak) {
        // Decoders drop white space at a line's end.
        if (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            unsigned char last = static_cast<unsigned char>(line.back());
            line.pop_back();
            appendEscape(line, last);
            if (line.size() > QuotedPrintableEncoder::maxLineLength) {
                out << line.substr(0, line.size() - 3) << "=\n";
                line.erase(0, line.size() - 3);
            }
        }
        out << line;
        if (lineBreak) out << '\n';
        line.clear();
    }

private:
    std::ostream& out;
    std::string line;
};

}  // namespace

void encodeTextQuotedPrintable(std::istream& in, std::ostream& out) {
    TextLineWriter line(out);
    bool afterCarriageReturn = false;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            unsigned char byte = static_cast<unsigned char>(block[i]);
            if (byte == '\n' && afterCarriageReturn) {
                afterCarriageReturn = false;  // the LF of a CR LF: the line has ended
                continue;
            }
            afterCarriageReturn = byte == '\r';
            if (byte == '\n' || byte == '\r') line.end(true);
            else line.add(byte);
        }
    }
    line.end(false);
}
