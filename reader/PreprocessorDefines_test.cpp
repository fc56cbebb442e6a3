#include "reader/PreprocessorDefines.h"

#include <gtest/gtest.h>

#include "VelkLib/VelkError.h"
#include "reader/BlockReader.h"

namespace {

// Expands `line` (twice when the first pass changed it, as the
// preprocessor does) with `rest` as the following input lines.
std::string expand(const PreprocessorDefines& d, std::string line, const std::string& rest = "",
                   std::string* output = nullptr) {
    BlockReader reader(rest);
    std::string out;
    int counter = 1;
    if (d.expandLine(line, reader, out, counter)) d.expandLine(line, reader, out, counter);
    if (output) *output = out;
    return line;
}

}  // namespace

TEST(MacroBody, SplitsAtWholeWordParameters) {
    MacroBody b({"x"}, "x+xy+(x)");
    ASSERT_EQ(b.getParts().size(), 4u);
    EXPECT_EQ(b.bodyText(), "arg_a+xy+(arg_a)");
    EXPECT_EQ(b.expand({"1"}), "1+xy+(1)");
    EXPECT_EQ(b.expand({}), "+xy+()");
    // Pasting joins the two sides into one word, blanks of the body and of
    // the arguments around the marker dropped.
    EXPECT_EQ(MacroBody({"a", "b"}, "a ## b").expand({"p", "q"}), "pq");
    EXPECT_EQ(MacroBody({"n"}, "struct n ## _left { };").expand({" plus"}), "struct  plus_left { };");
    EXPECT_EQ(MacroBody({"n"}, "call_##n").expand({" ldexpf "}), "call_ldexpf ");
    EXPECT_EQ(MacroBody({"a", "b"}, "a##b").expand({"ab", "cd"}), "abcd");
    EXPECT_EQ(MacroBody({"", "b"}, "b").parameterText(), "(arg_a,arg_b)");  // empty name: no hang
}

TEST(PreprocessorDefines, LookupsTakeTheFirstDefinition) {
    PreprocessorDefines d;
    d.addDefine("A", "1");
    d.addDefine("A", "2");
    d.addName("N");
    EXPECT_EQ(d.valueOf("A"), "1");
    d.undefine("A");
    EXPECT_EQ(d.valueOf("A"), "2");
    EXPECT_TRUE(d.isDefined("N"));
    EXPECT_EQ(d.valueOf("N"), "");
    EXPECT_FALSE(d.isDefined("a"));
    d.undefine("missing");
    EXPECT_EQ(d.size(), 2u);
}

TEST(PreprocessorDefines, ExpandsObjectMacros) {
    PreprocessorDefines d;
    d.addDefine("FOO", "1");
    EXPECT_EQ(expand(d, "FOO(2) FOOD FOO()"), "1(2) FOOD 1");
    EXPECT_EQ(expand(d, "x=FOO ;"), "x=1 ;");
    d.addDefine("", "boom");  // an empty name matches nothing
    EXPECT_EQ(expand(d, "a b"), "a b");
}

TEST(PreprocessorDefines, ExpandsCalls) {
    PreprocessorDefines d;
    d.addDefinition("MAX(x,y)", "x>y?x:y");
    d.addDefinition("CAT(x,y)", "x##y");
    d.addDefinition("ID(x)", "[x]");
    EXPECT_EQ(expand(d, "MAX + 1"), "MAX + 1");
    EXPECT_EQ(expand(d, "MAX( a , b )"), " a > b ? a : b ");
    EXPECT_EQ(expand(d, "ID(f(1,2))"), "[f(1,2)]");
    EXPECT_EQ(expand(d, "ID(',')"), "[',']");
    EXPECT_EQ(expand(d, "ID('\\'', x)"), "['\\'']");
    EXPECT_EQ(expand(d, "CAT(ab,cd)"), "abcd");
    // The second pass expands what the first produced; no third pass.
    d.addDefine("TWICE", "ID(ID(z))");
    EXPECT_EQ(expand(d, "TWICE"), "[ID(z)]");
}

TEST(PreprocessorDefines, ArgumentListOverLines) {
    PreprocessorDefines d;
    d.addDefinition("ID(x)", "<x>");
    std::string out;
    EXPECT_EQ(expand(d, "a = ID(1,", "2) + b\nnext\n", &out), "a = <1> + b");
    EXPECT_EQ(out, "\n");

    BlockReader reader("more(\n");
    std::string line = "ID(", sink;
    int counter = 7;
    try {
        d.expandLine(line, reader, sink, counter);
        FAIL();
    } catch (const VelkError& e) {
        EXPECT_EQ(e.message, "End-of-file in macro argument list (line 8)");
    }
}

TEST(PreprocessorDefines, TextForm) {
    PreprocessorDefines d("A\r\nB=2\r\n\r\nC(p)=p+1\nMAX ( x,y ) = x>y?x:y");
    EXPECT_EQ(d.toText(), "A\r\nB=2\r\nC(arg_a)=arg_a+1\r\nMAX(arg_a,arg_b)= arg_a>arg_b?arg_a:arg_b\r\n");
    EXPECT_EQ(d.toText("=", " ", "-D", "\""),
              "-D\"A\" -D\"B=2\" -D\"C(arg_a)=arg_a+1\" -D\"MAX(arg_a,arg_b)= arg_a>arg_b?arg_a:arg_b\" ");
    EXPECT_EQ(PreprocessorDefines(d.toText()).toText(), d.toText());

    PreprocessorDefines odd("F(x=1\r\nG()=2\r\nE\\=Q=3");
    EXPECT_TRUE(odd.isDefined("F(x"));
    EXPECT_EQ(odd.valueOf("G"), "2");
    EXPECT_TRUE(odd.isDefined("E\\=Q"));
}

TEST(PreprocessorDefines, ExpansionStopsAtItsLimitAndNamesTheMacro) {
    PreprocessorDefines d;
    d.addDefine("BIG", "a b c d e f g h");
    d.addMacro("TWICE", {"x"}, "x x");
    BlockReader reader("");
    std::string out;
    int counter = 1;
    std::string line = "BIG + TWICE(1) + BIG";
    PreprocessorDefines::Limit roomy{1000, {}};
    EXPECT_TRUE(d.expandLine(line, reader, out, counter, &roomy));
    EXPECT_EQ(line, "a b c d e f g h + 1 1 + a b c d e f g h");
    EXPECT_EQ(roomy.stoppedAt, "");

    // The first use that would pass the limit and everything after it stay
    // as written.
    line = "TWICE(1) + BIG + TWICE(2)";
    PreprocessorDefines::Limit tight{20, {}};
    d.expandLine(line, reader, out, counter, &tight);
    EXPECT_EQ(line, "1 1 + BIG + TWICE(2)");
    EXPECT_EQ(tight.stoppedAt, "BIG");
}
