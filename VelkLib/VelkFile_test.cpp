#include "VelkLib/VelkFile.h"

#include "VelkLib/VelkError.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>
#include <stdlib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

class VelkFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velkfile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return dir + "/" + name; }
    void put(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
    }
    std::string get(const std::string& name) const {
        std::stringstream all;
        all << std::ifstream(path(name), std::ios::binary).rdbuf();
        return all.str();
    }
    Lines readAll(const std::string& name, bool binary) const {
        VelkInFile in(path(name), binary);
        Lines lines;
        while (!in.getStream().eof()) lines.push_back(in.readLine());
        return lines;
    }

    std::string dir;
};

std::string errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const VelkFileError& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}

TEST_F(VelkFileTest, ReadsLinesWholeDroppingCarriageReturnInTextMode) {
    put("a", "one\ntwo");
    EXPECT_EQ(readAll("a", false), (Lines{"one", "two"}));
    put("b", "x\r\ny\r\n");
    EXPECT_EQ(readAll("b", false), (Lines{"x", "y", ""}));
    EXPECT_EQ(readAll("b", true), (Lines{"x\r", "y\r", ""}));
    std::string longLine(100000, 'q');
    put("c", longLine + "\nend");
    EXPECT_EQ(readAll("c", false), (Lines{longLine, "end"}));
}

TEST_F(VelkFileTest, OpenFailuresNameTheFile) {
    EXPECT_EQ(errorText([&] { VelkInFile(path("none"), false); }),
              "Couldn't find the file (file = '" + path("none") + "')");
    // A directory exists but is no file: refused, so no read loop can spin on it.
    EXPECT_EQ(errorText([&] { VelkInFile(dir, false); }),
              "Couldn't open the file (file = '" + dir + "')");
    EXPECT_EQ(errorText([&] { VelkOutFile(dir, false, false); }),
              "Couldn't open the output file (file = '" + dir + "')");
}

TEST_F(VelkFileTest, TruncateAppendAndAppendFile) {
    std::string big;
    for (int i = 0; i < 4097; ++i) big += static_cast<char>('a' + i % 26);
    put("big", big);
    put("empty", "");
    put("a", "old\n");
    {
        VelkOutFile out(path("a"), true, true);
        out.write("<");
        out.appendFile(path("empty"));
        out.appendFile(path("big"));
        out.write(">");
        EXPECT_EQ(errorText([&] { out.appendFile(path("a")); }),
                  "Could not append a file to itself (file = '" + path("a") + "')");
        out.close();
    }
    EXPECT_EQ(get("a"), "old\n<" + big + ">");
    { VelkOutFile out(path("a"), false, false); }
    EXPECT_EQ(get("a"), "");
}

TEST_F(VelkFileTest, CloseReportsWriteErrorsAndDestructorStaysQuiet) {
    {
        VelkOutFile out("/dev/full", false, false);
        out.write(std::string(10000, 'x'));
        EXPECT_EQ(errorText([&] { out.close(); }), "Could not write the file (file = '/dev/full')");
        out.close();  // a second close is harmless
    }
    VelkOutFile quiet("/dev/full", false, false);
    quiet.write("lost");
}

TEST_F(VelkFileTest, WritesAcrossTheBufferBoundaryKeepEveryByteInOrder) {
    const std::size_t size = VelkOutFile::bufferSize;
    auto text = [](std::size_t length, char first) {
        std::string t;
        for (std::size_t i = 0; i < length; ++i) t += static_cast<char>(first + i % 23);
        return t;
    };
    std::string expected;
    {
        VelkOutFile out(path("a"), false, false);
        std::ostream& stream = out.getStream();
        // Small pieces up to one short of full, then single characters over
        // the edge.
        for (std::string piece = text(1000, 'a'); expected.size() + 1000 < size - 1;
             expected += piece)
            stream << piece;
        std::string fill = text(size - 1 - expected.size(), 'b');
        stream << fill;
        expected += fill;
        for (char c : std::string("xyz")) {
            stream.put(c);
            expected += c;
        }
        // A piece that does not fit behind what is buffered, one of exactly
        // the buffer's size, and one larger than the buffer.
        for (std::size_t length : {size - 1, size, 3 * size + 7}) {
            std::string piece = text(length, 'c');
            out.write(piece) << '|';
            expected += piece + "|";
        }
        out.close();
    }
    EXPECT_EQ(get("a"), expected);

    put("b", "kept");
    {
        VelkOutFile out(path("b"), true, true);
        out.write(text(size + 1, 'd'));
    }  // the destructor writes what is still buffered
    EXPECT_EQ(get("b"), "kept" + text(size + 1, 'd'));
}

TEST_F(VelkFileTest, WriteErrorsBeforeCloseAreStillReportedByClose) {
    VelkOutFile out("/dev/full", true, false);
    out.write(std::string(3 * VelkOutFile::bufferSize, 'x'));
    out.write("more");
    EXPECT_EQ(errorText([&] { out.close(); }), "Could not write the file (file = '/dev/full')");
}

TEST_F(VelkFileTest, CopyReplacesTargetKeepsSelfCopiesAndFailsCleanly) {
    put("src", "source");
    put("dst", "old target content");
    copyFile(path("src"), path("dst"));
    EXPECT_EQ(get("dst"), "source");
    fs::create_symlink(path("src"), path("link"));
    copyFile(path("src"), path("src"));
    copyFile(path("src"), path("link"));
    EXPECT_EQ(get("src"), "source");

    EXPECT_EQ(errorText([&] { copyFile(path("none"), path("dst")); }),
              "Could not copy to file " + path("dst") + " (file = '" + path("none") + "')");
    EXPECT_EQ(get("dst"), "source");
    fs::create_directory(path("sub"));
    EXPECT_THROW(copyFile(path("src"), path("sub")), VelkFileError);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
}

TEST_F(VelkFileTest, ReadsWholeFilesOfAnySizeAndKind) {
    std::string big(3 * 65536 + 7, 'x');
    big[100] = '\0';
    put("big.h", big);
    put("empty.h", "");
    EXPECT_EQ(readWholeFile(path("big.h")), big);
    EXPECT_EQ(readWholeFile(path("empty.h")), "");
    // A file whose size says nothing is read to its end.
    EXPECT_NE(readWholeFile("/proc/self/status").find("Name:"), std::string::npos);
    EXPECT_EQ(errorText([&] { readWholeFile(path("missing.h")); }),
              "Couldn't find the file (file = '" + path("missing.h") + "')");
    EXPECT_EQ(errorText([&] { readWholeFile(dir); }), "Couldn't open the file (file = '" + dir + "')");
    // The start of a file: as much as asked for, all of a shorter one.
    EXPECT_EQ(readFileStart(path("big.h"), 65536), big.substr(0, 65536));
    EXPECT_EQ(readFileStart(path("big.h"), big.size() + 1), big);
    EXPECT_EQ(readFileStart("/proc/self/status", 5), "Name:");
    ASSERT_EQ(::mkfifo(path("start.fifo").c_str(), 0600), 0);
    EXPECT_EQ(errorText([&] { readFileStart(path("start.fifo"), 5); }),
              "Not a regular file (file = '" + path("start.fifo") + "')");
}

// What stands at a name decides, checked on the file opened: a FIFO is
// refused at once instead of blocking, an endless or huge file by its
// size, a file reached from outside the roots by where it lies.
TEST_F(VelkFileTest, ReadsOnlyRegularFilesWithinTheirBounds) {
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(errorText([&] { readWholeFile(path("fifo")); }),
              "Not a regular file (file = '" + path("fifo") + "')");
    EXPECT_EQ(errorText([&] { readWholeFile("/dev/zero", 1u << 20); }),
              "Not a regular file (file = '/dev/zero')");
    put("two", std::string(2u << 20, 'y'));
    EXPECT_EQ(errorText([&] { readWholeFile(path("two"), 1u << 20); }),
              "The file is larger than 1 MB (file = '" + path("two") + "')");
    EXPECT_EQ(readWholeFile(path("two"), 2u << 20).size(), 2u << 20);

    fs::create_directories(path("root/in"));
    put("root/in/a.h", "inside");
    put("outside.h", "outside");
    fs::create_symlink("../../outside.h", path("root/in/out.h"));
    fs::create_symlink("a.h", path("root/in/alias.h"));
    InputRoots roots;
    roots.add(path("root"));
    // The path of what a descriptor holds is the file's own, links resolved.
    const int fd = ::open(path("root/in/alias.h").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(descriptorPath(fd), fs::canonical(path("root/in/a.h")).string());
    ::close(fd);
    EXPECT_EQ(descriptorPath(-1), "");
    EXPECT_EQ(readWholeFile(path("root/in/alias.h"), kSourceFileLimit, &roots), "inside");
    EXPECT_EQ(errorText([&] { readWholeFile(path("root/in/out.h"), kSourceFileLimit, &roots); }),
              "The file lies outside the listed files and directories (file = '" +
                  path("root/in/out.h") + "')");
}

// Files of a directory read before are opened where it was found: never
// through a link that leads out, never through a copy of the roots that
// took in more, and never in what was swapped in at the directory's name.
TEST_F(VelkFileTest, ADirectoryReadFromBeforeLeadsNowhereOutsideTheRoots) {
    fs::create_directories(path("root/in"));
    fs::create_directories(path("other"));
    fs::create_directories(path("secret"));
    put("root/in/a.h", "inside");
    put("other/b.h", "other");
    put("secret/a.h", "secret");
    fs::create_symlink("../../other/b.h", path("root/in/b.h"));
    InputRoots roots;
    roots.add(path("root"));
    EXPECT_EQ(readWholeFile(path("root/in/a.h"), kSourceFileLimit, &roots), "inside");
    EXPECT_EQ(errorText([&] { readWholeFile(path("root/in/b.h"), kSourceFileLimit, &roots); }),
              "The file lies outside the listed files and directories (file = '" +
                  path("root/in/b.h") + "')");

    InputRoots wider = roots;
    wider.add(path("other"));
    EXPECT_EQ(readWholeFile(path("other/b.h"), kSourceFileLimit, &wider), "other");
    EXPECT_EQ(errorText([&] { readWholeFile(path("other/b.h"), kSourceFileLimit, &roots); }),
              "The file lies outside the listed files and directories (file = '" +
                  path("other/b.h") + "')");

    fs::rename(path("root/in"), path("root/old"));
    fs::create_directory_symlink("../secret", path("root/in"));
    const auto readSwapped = [&] {
        try {
            return readWholeFile(path("root/in/a.h"), kSourceFileLimit, &roots);
        } catch (const VelkFileError&) {
            return std::string();
        }
    };
    EXPECT_NE(readSwapped(), "secret");
    std::string readByAnother;
    std::thread another([&] { readByAnother = readSwapped(); });
    another.join();
    EXPECT_NE(readByAnother, "secret");
    fs::remove(path("root/old/a.h"));
    EXPECT_EQ(errorText([&] { readWholeFile(path("root/in/a.h"), kSourceFileLimit, &roots); }),
              "The file lies outside the listed files and directories (file = '" +
                  path("root/in/a.h") + "')");
}

TEST_F(VelkFileTest, FilesFoundBesideTheInputsFollowOnlyLinksIntoThem) {
    fs::create_directories(path("root/notes"));
    put("root/notes/summary", "summary");
    put("secret", "secret");
    put("beside", "beside");  // no link: read wherever it stands
    fs::create_symlink("notes/summary", path("root/inside"));
    fs::create_symlink("../secret", path("root/outside"));
    fs::create_symlink("/dev/zero", path("root/zero"));
    ASSERT_EQ(::mkfifo(path("root/fifo").c_str(), 0600), 0);
    InputRoots roots;
    roots.add(path("root/notes"));
    EXPECT_EQ(readFileFoundBeside(path("root/inside"), kPageTextLimit, roots), "summary");
    EXPECT_EQ(readFileFoundBeside(path("beside"), kPageTextLimit, roots), "beside");
    for (const char* name : {"root/outside", "root/zero"})
        EXPECT_EQ(errorText([&] { readFileFoundBeside(path(name), kPageTextLimit, roots); }),
                  "A symbolic link leads outside the listed files and directories (file = '" +
                      path(name) + "')");
    EXPECT_EQ(errorText([&] { readFileFoundBeside(path("root/fifo"), kPageTextLimit, roots); }),
              "Not a regular file (file = '" + path("root/fifo") + "')");
}

// A page lands in a new file of its own: whatever a link, a FIFO or a
// second hard link led to keeps its content.
TEST_F(VelkFileTest, OutputFilesAreWrittenAnewNeverThroughALink) {
    put("victim", "victim");
    fs::create_symlink("victim", path("link.html"));
    fs::create_hard_link(path("victim"), path("hard.html"));
    ASSERT_EQ(::mkfifo(path("fifo.html").c_str(), 0600), 0);
    for (const char* name : {"link.html", "hard.html", "fifo.html"}) {
        VelkOutFile page(path(name), false, false);
        page.write(std::string("page ") + name);
        page.close();
        EXPECT_EQ(get(name), std::string("page ") + name);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path(name)))) << name;
    }
    EXPECT_EQ(get("victim"), "victim");
    fs::create_directory(path("dir.html"));
    EXPECT_EQ(errorText([&] { VelkOutFile page(path("dir.html"), false, false); }),
              "Couldn't open the output file (file = '" + path("dir.html") + "')");
}

TEST_F(VelkFileTest, DeleteAndExistence) {
    put("a", "");
    deleteFile(path("a"), false);
    EXPECT_FALSE(fileExists(path("a")));
    deleteFile(path("a"), true);
    EXPECT_THROW(deleteFile(path("a"), false), VelkFileError);
}

}  // namespace

TEST(VelkFileText, EveryKindOfLineEndEndsALine) {
    for (auto [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"a\r\nb\rc\nd", "a\nb\nc\nd"}, {"\r\r\n\r", "\n\n\n"}, {"none", "none"}, {"", ""}}) {
        std::string text = in;
        normaliseLineEnds(text);
        EXPECT_EQ(text, out);
    }
}

TEST(VelkFileText, UnicodeTextWithAByteOrderMarkBecomesUtf8) {
    // "class Ä {};" with a character beyond the first plane (U+1F600).
    const std::u16string u16 = u"class \u00C4 {}; // \U0001F600\r\n";
    const std::u32string u32 = U"class \u00C4 {}; // \U0001F600\r\n";
    const std::string utf8 = "class \xC3\x84 {}; // \xF0\x9F\x98\x80\r\n";
    auto bytes = [](const auto& units, int width, bool little) {
        std::string out;
        for (auto unit : units)
            for (int k = 0; k < width; ++k)
                out += static_cast<char>((static_cast<std::uint32_t>(unit) >> (8 * (little ? k : width - 1 - k))) & 0xFF);
        return out;
    };
    for (const std::string& encoded : {bytes(u"\uFEFF" + u16, 2, true), bytes(u"\uFEFF" + u16, 2, false),
                                       bytes(U"\uFEFF" + u32, 4, true), bytes(U"\uFEFF" + u32, 4, false)}) {
        std::string text = encoded;
        EXPECT_TRUE(decodeByteOrderMark(text));
        EXPECT_EQ(text, utf8);
    }
    // UTF-8, with or without its mark, and plain bytes stay as they are.
    for (const std::string& kept : {"\xEF\xBB\xBF" + utf8, utf8, std::string(), std::string("\xFF")}) {
        std::string text = kept;
        EXPECT_FALSE(decodeByteOrderMark(text));
        EXPECT_EQ(text, kept);
    }
    // A lone surrogate and a cut last unit become U+FFFD.
    std::string broken = bytes(std::u16string{0xFEFF, 'a', 0xD800, 'b'}, 2, true) + "c";
    EXPECT_TRUE(decodeByteOrderMark(broken));
    EXPECT_EQ(broken, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}
