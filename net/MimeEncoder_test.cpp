#include "net/Base64Encoder.h"
#include "net/MailAddress.h"
#include "net/MimeMessageOut.h"
#include "net/QuotedPrintableEncoder.h"
#include "net/TemporaryFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <sys/stat.h>

#include "VelkLib/VelkError.h"
#include "run/TestRecording.h"

namespace {

using testing_support::errorOf;

std::string encoded(MimeEncoder& encoder, const std::string& bytes, bool withHeader = false) {
    std::istringstream in(bytes);
    std::ostringstream out;
    encoder.encodeStream(in, out, "part.bin", withHeader);
    return out.str();
}

std::string decoded(MimeEncoder& encoder, const std::string& text) {
    std::istringstream in(text);
    std::ostringstream out;
    encoder.decodeStream(in, out, "in.txt");
    return out.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string randomBytes(std::mt19937& random, std::size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 255);
    return bytes;
}

TEST(QuotedPrintableTest, EscapesWhatIsNotPrintableAndKeepsLinesShort) {
    QuotedPrintableEncoder qp;
    EXPECT_EQ(encoded(qp, std::string("\x10 =\x80\xff", 5)), "=10 =3D=80=FF");
    EXPECT_EQ(encoded(qp, "a\nb\r\nc"), "a=0Ab=0D=0Ac");

    std::vector<std::string> letters = linesOf(encoded(qp, std::string(100, 'x')));
    ASSERT_EQ(letters.size(), 2u);
    EXPECT_EQ(letters[0], std::string(73, 'x') + "=");
    EXPECT_EQ(letters[1], std::string(27, 'x'));

    // Escapes are never split, and no line passes 76 characters.
    std::string mixed;
    for (int i = 0; i < 300; ++i) mixed += i % 3 == 0 ? '\xe9' : 'y';
    for (const std::string& line : linesOf(encoded(qp, mixed))) {
        EXPECT_LE(line.size(), QuotedPrintableEncoder::maxLineLength);
        std::string::size_type last = line.rfind('=', line.size() - 2);
        if (last != std::string::npos) {
            EXPECT_GE(line.size() - last, 3u) << line;
        }
    }
}

TEST(QuotedPrintableTest, TrailingBlankOrTabSurvivesDecoders) {
    QuotedPrintableEncoder qp;
    EXPECT_EQ(encoded(qp, "end "), "end=20");
    EXPECT_EQ(encoded(qp, "end\t"), "end=09");
    EXPECT_EQ(decoded(qp, encoded(qp, "end ")), "end ");
}

TEST(QuotedPrintableTest, DecodingRefusesMalformedText) {
    QuotedPrintableEncoder qp;
    EXPECT_EQ(decoded(qp, "soft=\nbreak=3d \n"), "softbreak=");
    EXPECT_EQ(errorOf([&] { decoded(qp, "ab=4"); }),
              "QuotedPrintableEncoder: found incomplete line in file in.txt");
    EXPECT_EQ(errorOf([&] { decoded(qp, "ab=4G"); }),
              "QuotedPrintableEncoder: found an invalid Hex character (G)");
    EXPECT_EQ(errorOf([&] { decoded(qp, "a\x01"); }),
              "QuotedPrintableEncoder: found invalid character in file in.txt");
}

TEST(Base64Test, StandardAlphabetPaddingAndLineLengths) {
    Base64Encoder base64(false);
    EXPECT_EQ(encoded(base64, "Man"), "TWFu");
    EXPECT_EQ(encoded(base64, "Ma"), "TWE=");
    EXPECT_EQ(encoded(base64, "M"), "TQ==");
    EXPECT_EQ(encoded(base64, "\xfb\xff"), "+/8=");
    std::vector<std::string> lines = linesOf(encoded(base64, std::string(46, 'a')));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 60u);
    EXPECT_EQ(lines[1].size(), 4u);
    EXPECT_EQ(errorOf([&] { decoded(base64, "TW*u"); }),
              "The file contains invalid characters (*). ");
    EXPECT_EQ(decoded(base64, "TW\r\nFu\n TQ=="), "ManM");
}

TEST(Base64Test, UuencodeWritesTheClassicForm) {
    Base64Encoder uu(true);
    std::vector<std::string> lines = linesOf(encoded(uu, "Cat", true));
    EXPECT_EQ(lines, (std::vector<std::string>{"begin 666 part.bin", "#0V%T", "`", "end"}));
    // A zero value is written as the grave accent, never as a blank.
    EXPECT_EQ(encoded(uu, std::string(3, '\0')), "#````");
}

TEST(EncoderRoundTripTest, RandomBinaryComesBackByteForByte) {
    std::mt19937 random(14);
    QuotedPrintableEncoder qp;
    Base64Encoder base64(false);
    Base64Encoder uu(true);
    for (std::size_t size : {0u, 1u, 2u, 3u, 44u, 45u, 46u, 4095u, 4097u, 20000u}) {
        std::string bytes = randomBytes(random, size);
        EXPECT_EQ(decoded(qp, encoded(qp, bytes)), bytes) << size;
        EXPECT_EQ(decoded(base64, encoded(base64, bytes)), bytes) << size;
        EXPECT_EQ(decoded(uu, encoded(uu, bytes, true)), bytes) << size;
        for (const std::string& line : linesOf(encoded(base64, bytes))) EXPECT_LE(line.size(), 60u);
    }
}

// A text travels as it is only when mail carries it unchanged; otherwise
// quoted-printable, with its lines as the text's lines.
TEST(TextPartTest, PlainWhenMailCarriesItElseQuotedPrintable) {
    PlainTextEncoder text;
    const std::string ascii = "Hello,\r\n\tworld.\r\n" + std::string(997, 'a');
    EXPECT_EQ(encoded(text, ascii, true),
              "Content-Type: text/plain; charset=utf-8\n\n" + ascii);

    const std::string header = "Content-Type: text/plain; charset=utf-8\n"
                               "Content-Transfer-Encoding: quoted-printable\n\n";
    EXPECT_EQ(encoded(text, "Zo\xc3\xab says: x=1 \r\nbye\t", true),
              header + "Zo=C3=AB says: x=3D1=20\nbye=09");
    // A line of 998 octets is broken softly at 75, never mid-escape.
    std::string body = encoded(text, std::string(998, 'b') + "\r\n\r\nend\r\n", true);
    ASSERT_TRUE(body.starts_with(header));
    body.erase(0, header.size());
    std::vector<std::string> lines = linesOf(body);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), QuotedPrintableEncoder::maxLineLength) << line;
        joined += line.ends_with("=") ? line.substr(0, line.size() - 1) : line + "|";
    }
    EXPECT_EQ(joined, std::string(998, 'b') + "||end|");
    EXPECT_EQ(lines.front(), std::string(75, 'b') + "=");
    // A lone control character is escaped; the line breaks stay breaks.
    EXPECT_EQ(encoded(text, "a\x01\nb\rc"), "a=01\nb\nc");
}

TEST(EncoderFilesTest, EncodesFileToFileWithHeaderAndQuotedName) {
    testing_support::ScratchDirectory scratch;
    scratch.write("in.bin", "A=B");
    QuotedPrintableEncoder qp;
    qp.encode(scratch / "in.bin", scratch / "out.txt", "we\"ird\\\r\nname", true);
    EXPECT_EQ(testing_support::readWholeFile(scratch / "out.txt"),
              "Content-Type: application/octet-stream; name=\"we\\\"ird\\\\__name\"\n"
              "Content-Transfer-Encoding: Quoted-Printable\n"
              "Content-Description: \n\nA=3DB");
    qp.encode(scratch / "in.bin", scratch / "body.txt", "", false);
    qp.decode(scratch / "body.txt", scratch / "back.bin");
    EXPECT_EQ(testing_support::readWholeFile(scratch / "back.bin"), "A=B");
    EXPECT_EQ(errorOf([&] { qp.encode(scratch / "missing", scratch / "x", "", true); }),
              "Couldn't find the file (file = '" + scratch / "missing" + "')");

    // A name beyond ASCII in the extended parameter form, long ones in
    // numbered pieces on lines of their own.
    qp.encode(scratch / "in.bin", scratch / "out.txt", "r\xc3\xa9sum\xc3\xa9 1.txt", true);
    EXPECT_TRUE(testing_support::readWholeFile(scratch / "out.txt")
                    .starts_with("Content-Type: application/octet-stream; "
                                 "name*=utf-8''r%C3%A9sum%C3%A9%201.txt\n"));
    EXPECT_EQ(headerParameter("name", std::string(25, '\xe9')),
              "name*0*=utf-8''" + [] { std::string s; for (int i = 0; i < 20; ++i) s += "%E9"; return s; }() +
                  ";\n name*1*=%E9%E9%E9%E9%E9");
}

TEST(MailAddressTest, AddressOfNamedAndBareTexts) {
    EXPECT_EQ(addressOf("Ann Example <ann@example.invalid>"), "ann@example.invalid");
    EXPECT_EQ(addressOf("reply to bob@example.invalid"), "bob@example.invalid");
    EXPECT_EQ(addressOf("carol@example.invalid"), "carol@example.invalid");
    EXPECT_EQ(errorOf([] { addressOf("x >a@b< y"); }), "Bad address: x >a@b< y");
    EXPECT_EQ(errorOf([] { refuseControlCharacters("subject", "a\r\nRCPT To:<x>"); }),
              "The subject must not hold a line break or another control character.");
}

TEST(TemporaryFileTest, MadeExclusivelyPrivateAndRemoved) {
    testing_support::ScratchDirectory scratch;
    setenv("TEMP", scratch.path.c_str(), 1);
    std::string path;
    {
        TemporaryFile file("some/dir\\textmsg");
        path = file.getPath();
        EXPECT_EQ(std::filesystem::path(path).parent_path(), scratch.path);
        EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("textmsg.", 0), 0u);
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_NE(makeTempFileName("textmsg"), path);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    setenv("TEMP", (scratch / "missing").c_str(), 1);
    EXPECT_NE(errorOf([] { makeTempFileName("x"); }).find("Could not create a temporary file"),
              std::string::npos);
    unsetenv("TEMP");
}

TEST(MimeMessageOutTest, PartsBetweenDelimitersAndAClosingDelimiter) {
    testing_support::ScratchDirectory scratch;
    setenv("TEMP", scratch.path.c_str(), 1);
    scratch.write("a.txt", "hello\n");
    std::string boundary;
    {
        MimeMessageOut message(scratch / "msg", "lead", "To Who <t@x.invalid>", "Hi");
        boundary = message.getBoundary();
        message.addFile(scratch / "a.txt", MimeBase64, "shown/name.txt");
        message.finish();
    }
    std::string text = testing_support::readWholeFile(scratch / "msg");
    EXPECT_EQ(text.rfind("To: To Who <t@x.invalid>\nSubject: Hi\nMIME-Version: 1.0\n"
                         "Content-Type: MULTIPART/MIXED; BOUNDARY=\"" + boundary + "\"\n\n",
                         0),
              0u);
    EXPECT_NE(text.find("\n--" + boundary + "\nContent-Type: TEXT/PLAIN; charset=US-ASCII\n\nlead\n"),
              std::string::npos);
    EXPECT_NE(text.find("name=\"name.txt\"\nContent-Transfer-Encoding: base64\n"
                        "Content-Description: \n\naGVsbG8K\n--" + boundary + "--\n"),
              std::string::npos);
    // Only the message is left: the encoded part's file is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path),
                            std::filesystem::directory_iterator()),
              2);
    unsetenv("TEMP");

    EXPECT_EQ(makeBoundary(1234, "host name/\x01"), "-1234:=host-name/-");
    EXPECT_EQ(makeBoundary(1, std::string(100, 'h')).size(), 70u);
}

}  // namespace
