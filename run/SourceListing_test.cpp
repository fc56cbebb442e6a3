#include "run/SourceListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <utility>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "run/TestRecording.h"

using namespace testing_support;

namespace {

std::string render(const std::string& text, bool color = true, int tabSize = 4,
                   std::set<std::string> userKeywords = {}) {
    SourceListingOptions options;
    options.syntaxColor = color;
    options.tabSize = tabSize;
    options.colors.userKeywords = std::move(userKeywords);
    CppStrStream in(text, "x.cpp");
    std::ostringstream out;
    renderSourceListing(in, out, options);
    return out.str();
}

// The text a browser shows for a listing's body: tags dropped, character
// references replaced by their characters (the few named ones an author's
// code may hold, and numeric ones).
std::string shownText(const std::string& html) {
    static const std::pair<const char*, const char*> named[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"},
        {"nbsp", "\xC2\xA0"}, {"copy", "\xC2\xA9"}, {"reg", "\xC2\xAE"}};
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            i = html.find('>', i) + 1;
            continue;
        }
        const std::size_t semi = html[i] == '&' ? html.find(';', i) : std::string::npos;
        if (semi != std::string::npos) {
            const std::string name = html.substr(i + 1, semi - i - 1);
            if (name.size() > 1 && name[0] == '#' && std::isdigit(static_cast<unsigned char>(name[1]))) {
                text += static_cast<char>(std::stoi(name.substr(1)));  // the listing's own are ASCII
                i = semi + 1;
                continue;
            }
            auto known = std::find_if(std::begin(named), std::end(named),
                                      [&](const auto& entry) { return name == entry.first; });
            if (known != std::end(named)) {
                text += known->second;
                i = semi + 1;
                continue;
            }
        }
        text += html[i++];
    }
    return text;
}

}  // namespace

TEST(SourceListing, ABrowserShowsTheSourceAsWritten) {
    // Code that writes markup holds character references in its strings,
    // its comments and its operators.
    const std::string java =
        "/**\n"
        " * Escapes {@code <} and {@code &} as {@code &lt;} and {@code &amp;}; the\n"
        " * notice &copy; 2024 stays as it is.\n"
        " */\n"
        "static String escape(String s, boolean all) {\n"
        "    if (s.isEmpty() && !all) return \"&nbsp;\"; // &nbsp; keeps an empty cell open\n"
        "    return s.replace(\"&\", \"&amp;\").replace(\"<\", \"&lt;\"); /* x&amp;y */\n"
        "}\n"
        "int mask = flags & ~(1 << 3), format = \"%<te,%&lt;tY\".length();\n";
    for (bool color : {true, false}) EXPECT_EQ(shownText(render(java, color)), java) << color;
    const std::string cpp = "#include <map>\nconst char* amp = \"&amp;\"; // &lt;tag&gt;\nx &= y&&z;\n";
    for (bool color : {true, false}) EXPECT_EQ(shownText(render(cpp, color)), cpp) << color;
}

TEST(SourceListing, IncludeNamesAreStringsAndDirectivesKeywords) {
    EXPECT_EQ(render("#include <vector>\n"),
              "<font color=\"blue\">#include</font> "
              "<font color=\"maroon\">&#60;vector&#62;</font>\n");
    EXPECT_EQ(render("#  define X 0x1F\n"),
              "<font color=\"blue\">#define</font> X <font color=\"maroon\">0x1F</font>\n");
    EXPECT_EQ(render("#\nint", false), "#\nint");
    // Outside an include a "<" is an operator.
    EXPECT_EQ(render("a<b"), "a<font color=\"black\">&#60;</font>b");
}

TEST(SourceListing, WithoutColourOnlyAngleBracketsAmpersandsAndTabsChange) {
    EXPECT_EQ(render("a<b && \"s\" // c'\n", false), "a&#60;b &amp;&amp; \"s\" // c'\n");
    EXPECT_EQ(render("/* don't */ x", false), "/* don't */ x");
}

TEST(SourceListing, TabsStopAtMultiplesOfTheTabSize) {
    EXPECT_EQ(render("abc\tx", false), "abc x");
    EXPECT_EQ(render("abcd\tx", false), "abcd    x");
    EXPECT_EQ(render("a\n\tx", false, 2), "a\n  x");
    // An escaped bracket counts one column.
    EXPECT_EQ(render("<\tx", false), "&#60;   x");
    // A tab size below 1 is taken as 1.
    EXPECT_EQ(render("ab\tx", false, 0), "ab x");
    EXPECT_EQ(render("ab\tx", false, -3), "ab x");
}

TEST(SourceListing, CommentsAreColouredWholeAndAnOpenOneRunsToTheEnd) {
    EXPECT_EQ(render("x // it's\ny"),
              "x <font color=\"green\">// it's</font>\ny");
    EXPECT_EQ(render("/* a\n * 'b */z"),
              "<font color=\"green\">/* a\n * 'b */</font>z");
    EXPECT_EQ(render("/* open"), "<font color=\"green\">/* open");
    EXPECT_EQ(render("a / b"), "a <font color=\"black\">/</font> b");
}

TEST(SourceListing, ACommentRightAfterAHashIsAComment) {
    // A null directive followed by a comment: the apostrophe opens nothing.
    const std::string source = "#//Avoid <string>, as it's big\n#/* it's */\nint x;\n";
    EXPECT_EQ(render(source, false), "#//Avoid &#60;string&#62;, as it's big\n#/* it's */\nint x;\n");
    EXPECT_EQ(render("#// it's\n#/* it's */x\n"),
              "#<font color=\"green\">// it's</font>\n#<font color=\"green\">/* it's */</font>x\n");
}

TEST(SourceListing, ClassesTakeTheFirstMatchingColour) {
    // A user keyword that is also a language keyword keeps the keyword colour.
    EXPECT_EQ(render("int mine", true, 4, {"int", "mine"}),
              "<font color=\"blue\">int</font> <font color=\"purple\">mine</font>");
    EXPECT_EQ(render("'c' (1)"),
              "<font color=\"maroon\">'c'</font> <font color=\"black\">(</font>"
              "<font color=\"maroon\">1</font><font color=\"black\">)</font>");
}

TEST(SourceListing, TokensAreCutAsTheTokenLayerCutsThem) {
    // Digits after the blanks after a "-" join it as a number.
    EXPECT_EQ(render("a - 12;b -c"),
              "a <font color=\"maroon\">- 12</font>;b <font color=\"black\">-</font>c");
    // The joined "#" takes whatever follows on its line, also a literal.
    EXPECT_EQ(render("#\t\"s\" #", false), "#\"s\" #");
    EXPECT_EQ(render("#\n  #\ninclude <a\n b>"),
              "#\n  #\n<font color=\"blue\">include</font> "
              "<font color=\"black\">&#60;</font>a\n b<font color=\"black\">&#62;</font>");
    // An include name runs to its ">" across lines, blanks and a joined "-".
    EXPECT_EQ(render("#include <a - 1\n>x"),
              "<font color=\"blue\">#include</font> <font color=\"maroon\">&#60;a - 1\n&#62;</font>x");
    // A line comment at the very end still ends its line.
    EXPECT_EQ(render("x //c"), "x <font color=\"green\">//c</font>\n");
    EXPECT_EQ(render("/*/ x */y", false), "/*/ x */y");
}

TEST(SourceListing, AWordEndsAtTheFirstCharacterThatIsNoLetterDigitOrUnderscore) {
    // Words long enough to be read sixteen bytes at a time, ended by the
    // characters next to the letters' and digits' ranges, and by UTF-8.
    const std::string word = "Tally_of_2024_entries_Zz09";
    for (const char* end : {"@", "[", "`", "{", "/", ":", "\xC3\xA9", " "}) {
        const std::string shown = render(word + end + "\n", true, 4, {word});
        EXPECT_EQ(shown.rfind("<font color=\"purple\">" + word + "</font>", 0), 0u) << end << shown;
    }
}

TEST(SourceListing, TodaysLiteralsAreOneStringAndTheRestStaysColoured) {
    const std::string keyword = "<font color=\"blue\">int</font>";
    auto string = [](const std::string& text) { return "<font color=\"maroon\">" + text + "</font>"; };
    // Quotes and backslashes inside do not end them; what follows is coloured
    // as before.
    EXPECT_EQ(render("R\"x(say \")\" )x\" int"), string("R\"x(say \")\" )x\"") + " " + keyword);
    EXPECT_EQ(render("u8R\"(\\)\" int"), string("u8R\"(\\)\"") + " " + keyword);
    EXPECT_EQ(render("@\"C:\\dir\\\" int"), string("@\"C:\\dir\\\"") + " " + keyword);
    EXPECT_EQ(render("$\"{a[\"k\"]} \\\"\" int"), string("$\"{a[\"k\"]} \\\"\"") + " " + keyword);
    EXPECT_EQ(render("$@\"{x}\\\" int"), string("$@\"{x}\\\"") + " " + keyword);
    EXPECT_EQ(render("\"\"\"\n  a \"quoted\" \\\"\"\"\n  \"\"\" int"),
              string("\"\"\"\n  a \"quoted\" \\\"\"\"\n  \"\"\"") + " " + keyword);
    // A digit separator opens no literal; the number keeps its colour.
    EXPECT_EQ(render("1'000'000 int"), string("1'000'000") + " " + keyword);
    // Ordinary and wide literals are read as before.
    EXPECT_EQ(render("L\"a\" 'b'"), "L" + string("\"a\"") + " " + string("'b'"));
    // A special literal left open ends the listing as an ordinary one does.
    std::string out;
    EXPECT_THROW(renderSourceListing("x R\"(abc", "open.cpp", out, SourceListingOptions()), VelkFileError);
}

// A quote that its line does not close ("It's" in a block left out by
// #if 0, a typo in code) ends its literal with the line, as the reader
// takes it: every line after it is listed, and coloured as code.
TEST(SourceListing, ALiteralLeftOpenEndsWithItsLine) {
    const std::string keyword = "<font color=\"blue\">int</font>";
    auto string = [](const std::string& text) { return "<font color=\"maroon\">" + text + "</font>"; };
    EXPECT_EQ(render("#if 0\nIt's /* out\n#endif\nint x;\n", false),
              "#if 0\nIt's /* out\n#endif\nint x;\n");
    EXPECT_EQ(render("c = '; };\nint x"), "c <font color=\"black\">=</font> " + string("'; };") + "\n" + keyword +
                                             " x");
    // A backslash before the line feed goes on to the next line, and one
    // at the very end is the literal's.
    EXPECT_EQ(render("s = \"a\\\nb\nint", false), "s = \"a\\\nb\nint");
    EXPECT_EQ(render("y = 'a\\", false), "y = 'a\\");
    EXPECT_EQ(render("x = \"abc"), "x <font color=\"black\">=</font> " + string("\"abc"));
}

TEST(SourceListing, BlanksAfterAMinusAreWrittenAsTheyStand) {
    const std::string op = "<font color=\"black\">-</font>";
    EXPECT_EQ(render("a - b"), "a " + op + " b");
    EXPECT_EQ(render("x -\n y"), "x " + op + "\n y");
    EXPECT_EQ(render("- 12"), "<font color=\"maroon\">- 12</font>");
    EXPECT_EQ(render("-12"), "<font color=\"maroon\">-12</font>");
    EXPECT_EQ(render("a -  "), "a " + op + "  ");
    // Tabs after the "-" stop where they would anywhere else, inside the
    // number's colour too; the markup takes no column.
    EXPECT_EQ(render("ab -\tb", false), "ab -    b");
    EXPECT_EQ(render("ab -\tb"), "ab " + op + "    b");
    EXPECT_EQ(render("ab -\t7"), "ab <font color=\"maroon\">-    7</font>");
    EXPECT_EQ(render("x -\n\t1\t;", true, 3),
              "x <font color=\"maroon\">-\n   1</font>  ;");
    // A "#" takes the whole number with it.
    EXPECT_EQ(render("#- \n1", false), "#- \n1");
}

TEST(SourceListing, AListingKeepsTheLinesOfItsSource) {
    // Mixed inputs built from the characters the token rules treat apart.
    const char alphabet[] = "-- \n\n\t1a#<>/*\"'\\x";
    std::uint32_t seed = 12345;
    int checked = 0;
    for (int round = 0; round < 400; ++round) {
        std::string text;
        std::size_t length = 1 + round % 40;
        for (std::size_t i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text.push_back(alphabet[(seed >> 16) % (sizeof alphabet - 1)]);
        }
        text.push_back('\n');  // a line comment at the very end adds its line feed
        std::string plain, colored;
        try {
            plain = render(text, false);
            colored = render(text, true);
        } catch (const VelkFileError&) {
            continue;  // a literal left open
        }
        ++checked;
        EXPECT_EQ(std::count(plain.begin(), plain.end(), '\n'), std::count(text.begin(), text.end(), '\n'))
            << text;
        // The colours add markup and nothing else.
        std::string stripped;
        for (std::size_t i = 0; i < colored.size();) {
            if (colored.compare(i, 6, "<font ") == 0 || colored.compare(i, 7, "</font>") == 0)
                i = colored.find('>', i) + 1;
            else
                stripped.push_back(colored[i++]);
        }
        EXPECT_EQ(stripped, plain) << text;
    }
    EXPECT_GT(checked, 100);
}

TEST(SourceListing, RepeatedWordsKeepTheirColoursInALongListing) {
    // Enough different words to outgrow any small table of words seen.
    std::string text, expected;
    for (int i = 0; i < 700; ++i) {
        std::string word = "w" + std::to_string(i);
        text += word + " int mine line " + word + "\n";
        expected += word + " <font color=\"blue\">int</font> <font color=\"purple\">mine</font> "
                    "<font color=\"blue\">line</font> " + word + "\n";
    }
    EXPECT_EQ(render(text, true, 4, {"mine"}), expected);
    // A word too long to remember is coloured all the same, every time.
    const std::string huge(70000, 'k');
    EXPECT_TRUE(render(huge + " " + huge + " int", true, 4, {huge}) ==
                "<font color=\"purple\">" + huge + "</font> <font color=\"purple\">" + huge +
                    "</font> <font color=\"blue\">int</font>");
    // A tab far into a long line, and a tab stop wider than the text; a tab
    // size past the widest (a page of blanks) is the widest.
    EXPECT_TRUE(render(std::string(5001, 'a') + "\tb", false, 7) == std::string(5001, 'a') + "    b");
    EXPECT_EQ(render("\t<", false, 60), std::string(60, ' ') + "&#60;");
    EXPECT_EQ(render("\t<", false, 2147483647), std::string(kMaxTabSize, ' ') + "&#60;");
}

TEST(SourceListing, AWriterKeepsNoColourFromOneLanguageOrKeywordSetForAnother) {
    ScratchDirectory scratch;
    scratch.write("a.txt", "abstract mine x\n");
    SourceListingWriter writer;
    auto body = [&](int language, std::set<std::string> userKeywords) {
        SourceListingOptions options;
        options.language = language;
        options.colors.userKeywords = std::move(userKeywords);
        std::string page = readWholeFile(writer.write(scratch / "a.txt", "", scratch / "out", "p", options));
        std::size_t start = page.find("<PRE>\n") + 6;
        return page.substr(start, page.find("\n</PRE>") - start);
    };
    const std::string keyword = "<font color=\"blue\">abstract</font>";
    const std::string user = "<font color=\"purple\">mine</font>";
    const std::string userX = "<font color=\"purple\">x</font>";
    EXPECT_EQ(body(0, {}), "abstract mine x\n");
    EXPECT_EQ(body(2, {}), keyword + " mine x\n");
    EXPECT_EQ(body(0, {"mine", "x"}), "abstract " + user + " " + userX + "\n");
    EXPECT_EQ(body(2, {"mine", "x"}), keyword + " " + user + " " + userX + "\n");
    EXPECT_EQ(body(2, {}), keyword + " mine x\n");
    EXPECT_EQ(body(0, {}), "abstract mine x\n");
}

TEST(SourceListing, NumberTest) {
    for (const char* yes : {"1.5", "0xFF", "0Xab", "-12", "007"}) EXPECT_TRUE(isListingNumber(yes)) << yes;
    for (const char* no : {"10L", "1e5", ".", "0x", "-", "x1", ""}) EXPECT_FALSE(isListingNumber(no)) << no;
}

TEST(SourceListing, PagesStayInsideTheirDirectory) {
    EXPECT_EQ(sourceListingPath("src/a/File.java", "java.util", "out", "projects"),
              "out/projects/java.util/File.java.html");
    EXPECT_EQ(sourceListingPath("src\\x.cpp", "", "out", "/abs"), "/abs/x.cpp.html");
    EXPECT_EQ(sourceListingPath("x.cpp", "..", "out", "p"), "out/p/_/x.cpp.html");
    EXPECT_EQ(sourceListingPath("x.cpp", "../../etc", "out", "p"), "out/p/.._.._etc/x.cpp.html");
    EXPECT_EQ(safePathComponent("a\nb\\c"), "a_b_c");
    EXPECT_EQ(safePathComponent(""), "_");
    EXPECT_EQ(safePathComponent("."), "_");
}

TEST(SourceListing, WritesTheWholePageAndReportsAMissingSource) {
    ScratchDirectory scratch;
    scratch.write("src/a<b>.h", "int x;\r\n");
    SourceListingOptions options;
    options.syntaxColor = false;
    std::string page = writeSourceListing(scratch / "src/a<b>.h", "(default)", scratch / "out",
                                          "projects", options);
    EXPECT_EQ(page, scratch / "out/projects/(default)/a<b>.h.html");
    EXPECT_EQ(readWholeFile(page),
              "<HTML>\n<HEAD>\n<TITLE>\na&#60;b&#62;.h\n</TITLE>\n</HEAD>\n<BODY>\n<PRE>\n"
              "int x;\n\n</PRE>\n</BODY>\n</HTML>\n");
    EXPECT_THROW(writeSourceListing(scratch / "src/none.h", "", scratch / "out", "p", options),
                 VelkFileError);
    EXPECT_THROW(writeSourceListing(scratch / "src", "", scratch / "out", "p", options),
                 VelkFileError);

    // A shorter source written over an existing page leaves nothing behind;
    // a carriage return alone ends a line as CR LF does.
    scratch.write("src/a<b>.h", "\r\r\n");
    writeSourceListing(scratch / "src/a<b>.h", "(default)", scratch / "out", "projects", options);
    EXPECT_EQ(readWholeFile(page),
              "<HTML>\n<HEAD>\n<TITLE>\na&#60;b&#62;.h\n</TITLE>\n</HEAD>\n<BODY>\n<PRE>\n"
              "\n\n\n</PRE>\n</BODY>\n</HTML>\n");

    // A file where the page's directory should be: no listing can be
    // written there, which ends the run rather than one file.
    scratch.write("out/blocked", "");
    try {
        writeSourceListing(scratch / "src/a<b>.h", "", scratch / "out", "blocked", options);
        ADD_FAILURE();
    } catch (const VelkEnvironmentError& error) {
        EXPECT_EQ(error.getMessage(), "Could not write the source listing of \"" + (scratch / "src/a<b>.h") +
                                          "\": Not a directory (" + (scratch / "out/blocked") + ")");
    }
}

TEST(SourceListing, AColourCannotEndItsAttribute) {
    SourceListingOptions options;
    options.colors.comment = "red\" onmouseover=\"alert(1)";
    options.colors.keyword = "<b>";
    CppStrStream in("int x; // c\n", "x.cpp");
    std::ostringstream out;
    renderSourceListing(in, out, options);
    EXPECT_EQ(out.str(),
              "<font color=\"&lt;b&gt;\">int</font> x; "
              "<font color=\"red&quot; onmouseover=&quot;alert(1)\">// c</font>\n");
}

TEST(SourceListing, RunsOfEveryLengthAreWrittenWholeWhereverTheyEnd) {
    auto escaped = [](const std::string& text) {
        std::string out;
        for (char c : text)
            out += c == '<' ? "&#60;" : c == '>' ? "&#62;" : c == '&' ? "&amp;" : std::string(1, c);
        return out;
    };
    auto keyword = [](const std::string& word) { return "<font color=\"blue\">" + word + "</font>"; };
    auto separator = [](const std::string& word) { return "<font color=\"black\">" + word + "</font>"; };
    for (std::size_t n = 0; n < 40; ++n) {
        const std::string blanks(n, ' '), name(n + 1, 'q');
        // Angle brackets and ampersands at every distance from the start and end of a run.
        const std::string text = "// " + std::string(n, '-') + "<" + std::string(n % 17, '>') + "x\n" + blanks +
                                 "x<y" + std::string(n, 'z') + "&" + std::string(n % 5, '&') + "\n" + blanks;
        EXPECT_EQ(render(text, false), escaped(text)) << n;
        // Coloured tokens and words at every distance from the end of the text.
        EXPECT_EQ(render("int " + blanks + name + "(" + blanks + "int" + blanks + ")"),
                  keyword("int") + " " + blanks + name + separator("(") + blanks + keyword("int") + blanks +
                      separator(")"))
            << n;
        EXPECT_EQ(render("int " + name + "<" + blanks + "int"),
                  keyword("int") + " " + name + separator("&#60;") + blanks + keyword("int"))
            << n;
    }
}

TEST(SourceListing, ALineOfTooManyTokensIsColouredInItsFirstOnes) {
    const std::string open = "<font color=\"black\">(</font>";
    std::string line, colored;
    for (int i = 0; i < 10000; ++i) {
        line += "(";
        colored += open;
    }
    SourceListingOptions options;
    // The 10001st token of a line is written as it stands; a line feed inside
    // a long blank starts the count again.
    const std::string text = line + "( " + line + std::string(17, ' ') + "\n" + std::string(20, ' ') + "(";
    std::string out;
    renderSourceListing(text, "long.cpp", out, options);
    EXPECT_TRUE(out == colored + "( " + std::string(10000, '(') + std::string(17, ' ') + "\n" +
                           std::string(20, ' ') + open);
}
