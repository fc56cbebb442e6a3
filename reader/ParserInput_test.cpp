// The parser's input path: the source read whole, comments cut out in
// runs rather than character by character, and no temporary file.
#include "reader/ParserInput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "VelkLib/VelkError.h"
#include "model/MacroDefinition.h"
#include "reader/DocCommentFormat.h"
#include "reader/Preprocessor.h"
#include "reader/PreprocessorDefines.h"

namespace fs = std::filesystem;

namespace {

class ParserInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vantry-input-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        const char* old = std::getenv("TEMP");
        if (old) saved = old;
        hadTemp = old != nullptr;
        setenv("TEMP", (dir / "tmp").c_str(), 1);
        fs::create_directory(dir / "tmp");
    }
    void TearDown() override {
        if (hadTemp) setenv("TEMP", saved.c_str(), 1);
        else unsetenv("TEMP");
        fs::remove_all(dir);
    }

    std::string write(const std::string& name, const std::string& text) {
        fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    std::string preprocess(const std::string& source) {
        std::map<std::string, MacroDefinition> table;
        return preprocessInMemory(source, "src.h", DocCommentFormat(), PreprocessorDefines(), "pkg",
                                  &table);
    }

    bool tempDirEmpty() const { return fs::is_empty(dir / "tmp"); }

    fs::path dir;
    std::string saved;
    bool hadTemp = false;
};

// Nothing is written to the temporary directory, and one that cannot be
// used does not stop a file from being read.
TEST_F(ParserInputTest, NoTemporaryFileIsWritten) {
    EXPECT_EQ(preprocess("int a; // note\n/** doc */ int b;\n"), "int a; \n/** doc */ int b;\n");
    EXPECT_THROW(preprocess("int a; /* open\n"), VelkError);
    EXPECT_EQ(preprocess(""), "");
    EXPECT_TRUE(tempDirEmpty());
    setenv("TEMP", (dir / "missing").c_str(), 1);
    EXPECT_EQ(preprocess("int a;\n"), "int a;\n");
}

// Comments are found in the raw text; a carriage return is dropped only
// before a line feed, and every line feed of a comment keeps its line.
TEST_F(ParserInputTest, CommentRunsKeepLinesAndCarriageReturns) {
    EXPECT_EQ(preprocess("a /** one\r\n * two\r */ b\r\nc\n"), "a /** one\n * two\r */ b\nc\n");
    EXPECT_EQ(preprocess("a /* one\r\n two\n three */ b\nc\n"), "a \n\n b\nc\n");
    EXPECT_EQ(preprocess("a /*/ still open */ b\n"), "a  b\n");
    EXPECT_EQ(preprocess("a /*\r\n*/ b\n"), "a \n b\n");
    EXPECT_EQ(preprocess("/**/x\n"), "x\n");
    EXPECT_EQ(preprocess("/* VANTRY_BEGIN_EXCLUDE */\nhidden\n/* VANTRY_END_EXCLUDE */\nshown\n"),
              "\n\n\nshown\n");
}

TEST_F(ParserInputTest, CommentErrorsKeepTheirLine) {
    auto errorOf = [&](const std::string& source) -> std::string {
        try {
            preprocess(source);
        } catch (const VelkError& e) {
            return e.message;
        }
        return "no error";
    };
    EXPECT_EQ(errorOf("\r\n\n/** open\n"),
              "Preprocessor: Unexpected end-of-file in documentation comment on line 3");
    EXPECT_EQ(errorOf("a\n/*"), "Preprocessor: Unexpected end-of-file while parsing comment on line 2");
    EXPECT_EQ(errorOf("a\n/* x\r\n\"\n"),
              "Preprocessor: Unexpected end-of-file while parsing comment on line 2");
    // Lines counted inside a comment run still place a later error.
    EXPECT_EQ(errorOf("/* a\r\nb\nc */\n/* open\n"),
              "Preprocessor: Unexpected end-of-file while parsing comment on line 4");
}

// The same text through the stream interface and through the in-memory
// path gives the same output.
TEST_F(ParserInputTest, StreamAndMemoryAgree) {
    const std::string source =
        "#define TWICE(x) ((x) + (x))\n/** doc\r\n */\nint f() { return TWICE(1); } // c\n"
        "/* VANTRY_BEGIN_EXCLUDE */ gone\n/* VANTRY_END_EXCLUDE */\nconst char* s = \"/*\";\n";
    std::map<std::string, MacroDefinition> table;
    std::istringstream in(source);
    std::string temp = Preprocessor::makeTempFileName("");
    Preprocessor().preprocess(in, temp, PreprocessorDefines(), "src.h", "pkg", table);
    std::ifstream file(temp, std::ios::binary);
    std::string viaFile((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    fs::remove(temp);
    EXPECT_EQ(preprocess(source), viaFile);
}

}  // namespace
