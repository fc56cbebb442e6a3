#include "reader/Literals.h"

#include <gtest/gtest.h>

namespace {

// The literal whose opening quote is the first '"' of text, as the
// preprocessor would write it; "" for an ordinary literal, "open" for one
// the text ends in.
std::string plain(const std::string& text, std::string* after = nullptr) {
    SpecialLiteral found;
    if (!findSpecialLiteral(text, text.find('"'), found)) return "";
    if (!found.closed) return "open";
    std::string out = text.substr(0, found.begin);
    appendPlainLiteral(out, std::string_view(text).substr(found.contentBegin, found.contentEnd - found.contentBegin),
                       found.verbatim);
    if (after) *after = text.substr(found.end);
    return out;
}

}  // namespace

TEST(Literals, EachFormEndsWhereItsLanguageEndsIt) {
    std::string after;
    EXPECT_EQ(plain(R"cpp(auto s = R"x(a ")" b)x"; int y;)cpp", &after), R"(auto s = "a \")\" b")");
    EXPECT_EQ(after, "; int y;");
    EXPECT_EQ(plain(R"t(u8R"(\n)")t"), R"("\\n")");
    EXPECT_EQ(plain(R"t(FOR"(x)")t"), "");  // an identifier that ends in R
    EXPECT_EQ(plain(R"(p = @"C:\dir\"; q)", &after), R"(p = "C:\\dir\\")");
    EXPECT_EQ(after, "; q");
    EXPECT_EQ(plain(R"(@"say ""hi""")"), R"("say \"hi\"")");
    EXPECT_EQ(plain(R"($"{(a ? "x" : "y")} and {{braces}}"; z)", &after),
              R"("{(a ? \"x\" : \"y\")} and {{braces}}")");
    EXPECT_EQ(after, "; z");
    EXPECT_EQ(plain(R"($@"{x}\""")"), R"("{x}\\\"")");
    EXPECT_EQ(plain("s = \"\"\"one \"quoted\" line\"\"\";", &after), R"(s = "one \"quoted\" line")");
    EXPECT_EQ(after, ";");
    // A text block: opened at the end of its line, escapes kept as text.
    EXPECT_EQ(plain("t = \"\"\"\r\n  a \\\"\"\" b\n  \"\"\" + x", &after), R"(t = "\n  a \\\"\"\" b\n  ")");
    EXPECT_EQ(after, " + x");
    EXPECT_EQ(plain("\"\"\"\"x\"\"\" \"\"\"\""), R"("x\"\"\" ")");  // four quotes close four
    EXPECT_EQ(plain("\"plain\" \"\" $\"\""), "");
    EXPECT_EQ(plain("\"\"\"\nno end"), "open");
    EXPECT_EQ(plain("$\"{unclosed"), "open");
}
