// Part encoders of a MIME message: each turns one input file into one MIME
// part (its header lines and its encoded body) and restores the bytes from
// an encoded body.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

// How a file is sent; any other value is sent as plain text.
enum MimeEncoding : int { MimePlainText = 0, MimeBase64 = 1, MimeQuotedPrintable = 2 };

class MimeEncoder {
public:
    virtual ~MimeEncoder();

    // Writes the part for the input file into the output file (created or
    // truncated), with the part's header lines when withHeader is set.
    // Throws the VelkFileErrors of the files (a missing input: "Couldn't
    // find the file"; a write that did not reach the disk: "Could not write
    // the file").
    void encode(const std::string& inputFile, const std::string& outputFile,
                const std::string& partName, bool withHeader);

    // Restores the encoded bytes of the input file (a body without header
    // lines) into the output file. Throws the file errors and the
    // encoder's own errors for malformed input.
    void decode(const std::string& inputFile, const std::string& outputFile);

    // The same on streams; inputName names the input in error messages.
    virtual void encodeStream(std::istream& in, std::ostream& out, const std::string& partName,
                              bool withHeader) = 0;
    virtual void decodeStream(std::istream& in, std::ostream& out,
                              const std::string& inputName) = 0;
};

// The encoder for an encoding: Base64Encoder (base64 mode) for MimeBase64,
// QuotedPrintableEncoder for MimeQuotedPrintable, PlainTextEncoder for every
// other value.
std::unique_ptr<MimeEncoder> makeMimeEncoder(int encoding);

// A header parameter value between double quotes, with "\\" and "\"" escaped
// by a backslash and control characters (line breaks included) written as
// "_", so that a part name can neither end its header line nor its quotes.
std::string quotedParameter(const std::string& value);

// The parameter name=value for a header: name + "=" + quotedParameter when
// the value is ASCII, else the value's UTF-8 bytes
// percent-encoded in the extended form (name + "*=utf-8''" + ...), split
// into numbered pieces (name + "*0*=", name + "*1*=", ...) on lines of their
// own when long; pieces after a line end begin with a blank. Control
// characters become "_" as in quotedParameter.
std::string headerParameter(const std::string& name, const std::string& value);

// The header lines shared by the encoded parts, ending with the empty line:
// "Content-Type: application/octet-stream; " + headerParameter("name",
// part name), "Content-Transfer-Encoding: " + transferEncoding,
// "Content-Description: ".
void writeAttachmentHeader(std::ostream& out, const std::string& partName,
                           const std::string& transferEncoding);

// A text part: with the header, "Content-Type: text/plain; charset=utf-8"
// and an empty line. A text that mail carries as it is (printable ASCII,
// tabs and line breaks, no line longer than maxPlainLine) is copied
// unchanged in 4096-byte blocks; any other (non-ASCII bytes, control
// characters, longer lines) goes quoted-printable
// (encodeTextQuotedPrintable), the header then saying so with
// "Content-Transfer-Encoding: quoted-printable". Either way every byte of
// every line arrives as it was, and the lines end in mail's CR LF. The
// input stream is read twice.
class PlainTextEncoder : public MimeEncoder {
public:
    void encodeStream(std::istream& in, std::ostream& out, const std::string& partName,
                      bool withHeader) override;
    void decodeStream(std::istream& in, std::ostream& out, const std::string& inputName) override;

    // The longest line sent as it is: the limit of a mail line (998
    // octets) less the one that a leading "." gains in transit.
    static constexpr std::size_t maxPlainLine = 997;
};

// True when the text in `in` (read from where it stands to its end) can
// travel as PlainTextEncoder copies it.
bool travelsAsPlainText(std::istream& in);

// Copies in to out in 4096-byte blocks.
void copyStream(std::istream& in, std::ostream& out);
