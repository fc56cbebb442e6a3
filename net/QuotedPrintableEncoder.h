// Quoted-printable parts: printable ASCII, the blank and the tab stay as
// they are, every other byte (line breaks included) becomes "=" and two
// upper-case hexadecimal digits, and soft line breaks ("=" at a line's end)
// keep every line at most 76 characters long.
#pragma once

#include "net/MimeEncoder.h"

class QuotedPrintableEncoder : public MimeEncoder {
public:
    static constexpr std::size_t maxLineLength = 76;  // the soft break's "=" included

    // With the header: the attachment header lines with the transfer
    // encoding "Quoted-Printable". A blank or tab that would end the last
    // line is escaped (=20, =09), since decoders drop white space at line
    // ends; an escape is never split by a soft break.
    void encodeStream(std::istream& in, std::ostream& out, const std::string& partName,
                      bool withHeader) override;

    // Per line: trailing white space is dropped, a final "=" (soft break)
    // too; "=XX" gives the byte XX (either letter case). Throws VelkError
    // "QuotedPrintableEncoder: found incomplete line in file " + inputName
    // for "=" without two characters after it, "QuotedPrintableEncoder:
    // found an invalid Hex character (" + c + ")" for a bad digit, and
    // "QuotedPrintableEncoder: found invalid character in file " + inputName
    // for a byte that may not stand as it is.
    void decodeStream(std::istream& in, std::ostream& out, const std::string& inputName) override;
};

// A text as a quoted-printable body: each line break of the text (CR LF, a
// lone LF or a lone CR) becomes a line end of the body, the canonical form
// of a text's lines in mail; within a line the bytes are encoded as the
// encoder above does (a blank or tab that would end a line escaped) with
// soft line breaks, so that no line of the body passes maxLineLength and
// every byte of every line arrives as it was. Nothing follows the last
// line's text.
void encodeTextQuotedPrintable(std::istream& in, std::ostream& out);
