#include "net/MimeEncoder.h"

#include <cctype>
#include <istream>
#include <ostream>
#include <vector>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"
#include "net/Base64Encoder.h"
#include "net/QuotedPrintableEncoder.h"

MimeEncoder::~MimeEncoder() = default;

void MimeEncoder::encode(const std::string& inputFile, const std::string& outputFile,
                         const std::string& partName, bool withHeader) {
    VelkInFile in(inputFile, true);
    VelkOutFile out(outputFile, true, false);
    encodeStream(in.getStream(), out.getStream(), partName, withHeader);
    if (in.getStream().bad()) throw VelkFileError("Could not read the file", inputFile);
    out.close();
}

void MimeEncoder::decode(const std::string& inputFile, const std::string& outputFile) {
    VelkInFile in(inputFile, true);
    VelkOutFile out(outputFile, true, false);
    decodeStream(in.getStream(), out.getStream(), inputFile);
    if (in.getStream().bad()) throw VelkFileError("Could not read the file", inputFile);
    out.close();
}

std::unique_ptr<MimeEncoder> makeMimeEncoder(int encoding) {
    switch (encoding) {
        case MimeBase64: return std::make_unique<Base64Encoder>(false);
        case MimeQuotedPrintable: return std::make_unique<QuotedPrintableEncoder>();
        default: return std::make_unique<PlainTextEncoder>();
    }
}

std::string quotedParameter(const std::string& value) {
    std::string quoted = "\"";
    for (char c : value) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 32 || byte == 127) {
            quoted += '_';
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string headerParameter(const std::string& name, const std::string& value) {
    bool ascii = true;
    for (char c : value) ascii = ascii && static_cast<unsigned char>(c) < 128;
    if (ascii) return name + "=" + quotedParameter(value);
    // Percent-encoded UTF-8; an escape is never split between pieces.
    static const char hex[] = "0123456789ABCDEF";
    std::vector<std::string> pieces(1);
    for (char c : value) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) byte = '_';
        std::string token;
        if (std::isalnum(byte) || std::string("!#$&+-.^_`|~").find(static_cast<char>(byte)) !=
                                      std::string::npos) {
            token = static_cast<char>(byte);
        } else {
            token = {'%', hex[byte >> 4], hex[byte & 15]};
        }
        if (pieces.back().size() + token.size() > 60) pieces.emplace_back();
        pieces.back() += token;
    }
    if (pieces.size() == 1) return name + "*=utf-8''" + pieces[0];
    std::string text;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) text += ";\n ";
        text += name + "*" + std::to_string(i) + "*=" + (i == 0 ? "utf-8''" : "") + pieces[i];
    }
    return text;
}

void writeAttachmentHeader(std::ostream& out, const std::string& partName,
                           const std::string& transferEncoding) {
    const std::string name = headerParameter("name", partName);
    // A long name goes on lines of its own below the type.
    out << "Content-Type: application/octet-stream;" << (name.find('\n') == std::string::npos ? " " : "\n ")
        << name << "\n"
        << "Content-Transfer-Encoding: " << transferEncoding << "\n"
        << "Content-Description: \n"
        << "\n";
}

void copyStream(std::istream& in, std::ostream& out) {
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        out.write(block, in.gcount());
    }
}

bool travelsAsPlainText(std::istream& in) {
    // Line breaks (CR LF, LF, CR) travel as mail's CR LF either way.
    std::size_t lineLength = 0;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            unsigned char byte = static_cast<unsigned char>(block[i]);
            if (byte == '\r' || byte == '\n') {
                lineLength = 0;
                continue;
            }
            if ((byte < 32 && byte != '\t') || byte >= 127) return false;
            if (++lineLength > PlainTextEncoder::maxPlainLine) return false;
        }
    }
    return true;
}

void PlainTextEncoder::encodeStream(std::istream& in, std::ostream& out, const std::string&,
                                    bool withHeader) {
    const std::istream::pos_type start = in.tellg();
    const bool plain = travelsAsPlainText(in);
    in.clear();
    in.seekg(start);
    if (withHeader) {
        out << "Content-Type: text/plain; charset=utf-8\n";
        if (!plain) out << "Content-Transfer-Encoding: quoted-printable\n";
        out << "\n";
    }
    if (plain) copyStream(in, out);
    else encodeTextQuotedPrintable(in, out);
}

void PlainTextEncoder::decodeStream(std::istream& in, std::ostream& out, const std::string&) {
    copyStream(in, out);
}
