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
