#include "VelkLib/VelkFile.h"

#include "VelkLib/VelkError.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

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
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::vector<std::string> readAll(const std::string& name, bool binary) const {
        VelkInFile in(path(name), binary);
        std::vector<std::string> lines;
        while (!in.getStream().eof()) lines.push_back(in.readLine());
        return lines;
    }

    std::string dir;
};

std::string fileErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const VelkFileError& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}

TEST_F(VelkFileTest, LastLineWithAndWithoutLineFeed) {
    put("a", "one\ntwo");
    EXPECT_EQ(readAll("a", false), (std::vector<std::string>{"one", "two"}));
    put("b", "one\ntwo\n");
    EXPECT_EQ(readAll("b", false), (std::vector<std::string>{"one", "two", ""}));
}

TEST_F(VelkFileTest, CarriageReturnDroppedInTextModeOnly) {
    put("a", "x\r\ny\r\n");
    EXPECT_EQ(readAll("a", false), (std::vector<std::string>{"x", "y", ""}));
    EXPECT_EQ(readAll("a", true), (std::vector<std::string>{"x\r", "y\r", ""}));
}

TEST_F(VelkFileTest, VeryLongLineIsReadWhole) {
    std::string longLine(100000, 'q');
    put("a", longLine + "\nend");
    EXPECT_EQ(readAll("a", false), (std::vector<std::string>{longLine, "end"}));
}

TEST_F(VelkFileTest, MissingAndUnopenableFiles) {
    EXPECT_EQ(fileErrorText([&] { VelkInFile(path("none"), false); }),
              "Couldn't find the file (file = '" + path("none") + "')");
    // A directory exists but is no file: refused, so no read loop can spin on it.
    EXPECT_EQ(fileErrorText([&] { VelkInFile(dir, false); }),
              "Couldn't open the file (file = '" + dir + "')");
    EXPECT_EQ(fileErrorText([&] { VelkOutFile(dir, false, false); }),
              "Couldn't open the output file (file = '" + dir + "')");
}

TEST_F(VelkFileTest, TruncateOrAppend) {
    put("a", "old\n");
    { VelkOutFile out(path("a"), false, true); out.write("new\n"); }
    EXPECT_EQ(get("a"), "old\nnew\n");
    { VelkOutFile out(path("a"), false, false); }
    EXPECT_EQ(get("a"), "");
}

TEST_F(VelkFileTest, AppendFileCopiesEveryBlock) {
    std::string content;
    for (int i = 0; i < 4097; ++i) content += static_cast<char>('a' + i % 26);
    put("big", content);
    put("empty", "");
    {
        VelkOutFile out(path("out"), true, false);
        out.write("<");
        out.appendFile(path("empty"));
        out.appendFile(path("big"));
        out.write(">");
        out.close();
    }
    EXPECT_EQ(get("out"), "<" + content + ">");
}

TEST_F(VelkFileTest, AppendFileOntoItselfIsRefused) {
    put("a", "abc");
    VelkOutFile out(path("a"), false, true);
    EXPECT_EQ(fileErrorText([&] { out.appendFile(path("a")); }),
              "Could not append a file to itself (file = '" + path("a") + "')");
    out.close();
    EXPECT_EQ(get("a"), "abc");
}

TEST_F(VelkFileTest, CloseReportsWriteErrorsAndDestructorStaysQuiet) {
    {
        VelkOutFile out("/dev/full", false, false);
        out.write(std::string(10000, 'x'));
        EXPECT_EQ(fileErrorText([&] { out.close(); }),
                  "Could not write the file (file = '/dev/full')");
        out.close();  // a second close is harmless
    }
    {
        VelkOutFile quiet("/dev/full", false, false);
        quiet.write("lost");
    }  // must not throw
}

TEST_F(VelkFileTest, CopyReplacesTargetAndKeepsSelfCopyIntact) {
    put("src", "source");
    put("dst", "old target content");
    copyFile(path("src"), path("dst"));
    EXPECT_EQ(get("dst"), "source");

    copyFile(path("src"), path("src"));
    EXPECT_EQ(get("src"), "source");
    fs::create_symlink(path("src"), path("link"));
    copyFile(path("src"), path("link"));
    EXPECT_EQ(get("src"), "source");
}

TEST_F(VelkFileTest, FailedCopyLeavesTargetAndNoLeftovers) {
    put("dst", "keep");
    EXPECT_EQ(fileErrorText([&] { copyFile(path("none"), path("dst")); }),
              "Could not copy to file " + path("dst") + " (file = '" + path("none") + "')");
    EXPECT_EQ(get("dst"), "keep");
    put("src", "x");
    fs::create_directory(path("sub"));
    EXPECT_THROW(copyFile(path("src"), path("sub")), VelkFileError);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

TEST_F(VelkFileTest, DeleteAndExistence) {
    put("a", "");
    EXPECT_TRUE(fileExists(path("a")));
    EXPECT_TRUE(fileExists(dir));
    deleteFile(path("a"), false);
    EXPECT_FALSE(fileExists(path("a")));
    deleteFile(path("a"), true);
    EXPECT_EQ(fileErrorText([&] { deleteFile(path("a"), false); }),
              "Could not delete the file (file = '" + path("a") + "')");
}

}  // namespace
