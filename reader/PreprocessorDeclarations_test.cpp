// What the parser reads from a header once the preprocessor is through
// with it: the declarations under conditions and beside comments, and the
// comments of macros, as the author wrote them.
#include <gtest/gtest.h>

#include "reader/ParserTestSupport.h"

namespace {

std::string commentOf(const CppClass* c, const std::string& name) {
    const CppClassMember* m = ParsedSource::member(c, name);
    return m ? m->getComment() : "(no member " + name + ")";
}

std::string declarationOf(const CppClass* c, const std::string& name) {
    const CppClassMember* m = ParsedSource::member(c, name);
    return m ? m->getDeclaration() : "(no member " + name + ")";
}

}  // namespace

TEST(PreprocessedDeclarations, ConditionsKeepWhatTheyGuard) {
    ParsedSource p;
    p.defines = PreprocessorDefines("FEATURE_A=1");
    p.parse("widget.h",
            "/** A widget. */\n"
            "class Widget {\n"
            "public:\n"
            "#if FEATURE_A || FEATURE_B\n"
            "    /** Either feature. */\n"
            "    void either();\n"
            "#endif\n"
            "#if defined(FEATURE_B) || defined(FEATURE_A)\n"
            "    /** Either one defined. */\n"
            "    void definedEither();\n"
            "#endif\n"
            "#if FEATURE_A + 1 > 1\n"
            "    /** A sum. */\n"
            "    void sum();\n"
            "#endif\n"
            "#if FEATURE_A / FEATURE_B\n"
            "    void divided();\n"
            "#endif\n"
            "    /** Last. */\n"
            "    void last();\n"
            "};\n");
    const CppClass* widget = p.cls("proj", "Widget");
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(p.memberNames(widget), (std::vector<std::string>{"either", "definedEither", "sum", "last"}));
    EXPECT_EQ(commentOf(widget, "either"), "Either feature.<BR>\n");
    EXPECT_EQ(commentOf(widget, "definedEither"), "Either one defined.<BR>\n");
    EXPECT_EQ(commentOf(widget, "sum"), "A sum.<BR>\n");
    EXPECT_EQ(commentOf(widget, "last"), "Last.<BR>\n");
    ASSERT_EQ(p.warnings.size(), 1u);
    EXPECT_EQ(p.warnings[0], "Preprocessor: the condition of #if on line 16 is taken as false: division by zero (" +
                                 (p.directory / "widget.h").string() + ").");
}

TEST(PreprocessedDeclarations, CodeBesideACommentIsExpanded) {
    ParsedSource p;
    p.parse("holder.h",
            "#define DECLARE_GETTER(name) int get_##name() const;\n"
            "#define API\n"
            "/** Holds a value. */\n"
            "class Holder {\n"
            "public:\n"
            "    /** The getter. */ DECLARE_GETTER(x)\n"
            "    /** Same as q. */ API int same(int q);\n"
            "};\n");
    const CppClass* holder = p.cls("proj", "Holder");
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(p.memberNames(holder), (std::vector<std::string>{"get_x", "same"}));
    EXPECT_EQ(commentOf(holder, "get_x"), "The getter.<BR>\n");
    EXPECT_EQ(declarationOf(holder, "get_x"), "int get_x() const;");
    EXPECT_EQ(declarationOf(holder, "same"), "int same(int q);");
    EXPECT_EQ(commentOf(holder, "same"), "Same as q.<BR>\n");
}

TEST(PreprocessedDeclarations, ADefinesCommentDocumentsTheMacroOnly) {
    ParsedSource p;
    p.parse("limits.h",
            "#ifndef LIMITS_H\n"
            "#error You can't include this header directly\n"
            "#endif\n"
            "/** Squares a value. */\n"
            "#define SQUARE(x) ((x) * (x))\n"
            "#define MAX_ITEMS 10\n"
            "int use = MAX_ITEMS;\n"
            "/** The limit. */ #define LIMIT 4\n"
            "int limit = LIMIT;\n"
            "/** Documented. */\n"
            "int documented;\n");
    const CppClass* globals = p.cls("proj", "(proj  globals)");
    ASSERT_NE(globals, nullptr);
    EXPECT_EQ(p.memberNames(globals), (std::vector<std::string>{"use", "limit", "documented"}));
    EXPECT_EQ(commentOf(globals, "use"), "");
    EXPECT_EQ(commentOf(globals, "limit"), "");
    EXPECT_EQ(commentOf(globals, "documented"), "Documented.<BR>\n");
    EXPECT_EQ(p.macros["SQUARE"].getComment(), "Squares a value.");
    EXPECT_EQ(p.macros["LIMIT"].getComment(), "The limit.");
    EXPECT_EQ(p.warnings, std::vector<std::string>{});
}
