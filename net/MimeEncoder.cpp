#include "net/MimeEncoder.h"

#include <istream>
#include <ostream>

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

void writeAttachmentHeader(std::ostream& out, const std::string& partName,
                           const std::string& transferEncoding) {
    out << "Content-Type: application/octet-stream; name=" << quotedParameter(partName) << "\n"
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

void PlainTextEncoder::encodeStream(std::istream& in, std::ostream& out, const std::string&,
                                    bool withHeader) {
    if (withHeader) out << "Content-Type: text/plain\n\n";
    copyStream(in, out);
}

void PlainTextEncoder::decodeStream(std::istream& in, std::ostream& out, const std::string&) {
    copyStream(in, out);
}
