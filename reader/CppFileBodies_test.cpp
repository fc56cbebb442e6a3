// Function bodies are passed over whole: braces within their literals and
// comments are no part of their nesting, the lines they span still count,
// and what follows them is read as written.
#include <gtest/gtest.h>
#include <unistd.h>

#include "VelkLib/VelkError.h"
#include "reader/ParserTestSupport.h"

namespace {

std::string commentOf(const CppClass* c, const std::string& name) {
    const CppClassMember* m = ParsedSource::member(c, name);
    return m ? m->getComment() : "(none)";
}

}  // namespace

TEST(CppFileBodiesTest, BracesInLiteralsAndCommentsOfABodyNestNothing) {
    ParsedSource p;
    p.parse("Parser.java",
            "package text;\n"
            "/** Reads templates. */\n"
            "public class Parser {\n"
            "    /** Opens a template. */\n"
            "    public int open(String name) {\n"
            "        String close = \"}\", open = \"{{\";\n"
            "        char brace = '}';\n"
            "        int half = name.length() / 2;\n"
            "        if (brace == '{') { return half; }\n"
            "        /** Not the next member's. */\n"
            "    }\n"
            "    /** Closes it. */\n"
            "    public void close() { Runnable r = () -> { done(\"}\"); }; }\n"
            "    private int depth;\n"
            "}\n");
    const CppClass* parser = p.cls("text", "Parser");
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(p.memberTexts(parser),
              (std::vector<std::string>{"open: int open(String name);", "close: void close();",
                                        "depth: int depth;"}));
    EXPECT_EQ(commentOf(parser, "open"), "Opens a template.<BR>\n");
    EXPECT_EQ(commentOf(parser, "close"), "Closes it.<BR>\n");
    EXPECT_EQ(commentOf(parser, "depth"), "");
}

TEST(CppFileBodiesTest, LinesAfterABodyKeepTheirNumbers) {
    ParsedSource p;
    p.parse("reader.h",
            "struct Reader {\n"
            "    int next() {\n"
            "        if (text[0] == '}')\n"
            "            return 1;\n"
            "        return text == \"}\" ? 2 : 3;\n"
            "    }\n"
            "};\n"
            "typedef ;\n");
    ASSERT_EQ(p.warnings.size(), 1u);
    EXPECT_EQ(p.warnings[0], "Could not understand line 8 (" + (p.directory / "reader.h").string() + ").");
    EXPECT_EQ(p.memberTexts(p.cls("proj", "Reader")), (std::vector<std::string>{"next: int next();"}));
}

TEST(CppFileBodiesTest, ABodyOpenAtTheEndNamesTheLastLine) {
    ParsedSource p;
    try {
        p.parse("open.cpp", "void run() {\n    if (ready) {\n        go(\"}\");\n    }\n\n");
        FAIL();
    } catch (const VelkFileError& e) {
        EXPECT_EQ(e.message, "Unexpected end-of-file when parsing function body on line 6");
    }
}
