#include "reader/PreprocessorExpression.h"

#include <gtest/gtest.h>

#include "reader/PreprocessorDefines.h"

namespace {

// The defines of a build: what a user passes with -d, as text.
PreprocessorDefines build(const std::string& text) { return PreprocessorDefines(text); }

struct Case {
    const char* expression;
    bool expected;
};

void expectAll(const PreprocessorDefines& defines, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(evaluateCondition(c.expression, defines, &error), c.expected) << c.expression;
        EXPECT_EQ(error, "") << c.expression;
    }
}

}  // namespace

// Conditions as headers write them, with the value C gives them.
TEST(IfCondition, ConditionsOfRealHeaders) {
    PreprocessorDefines d = build(
        "FEATURE_A=1\r\n__GNUC__=4\r\n__GNUC_MINOR__=9\r\nLIB_VERSION=0x020301\r\n"
        "LIB_MAJOR=2\r\nLIB_MINOR=3\r\n"
        "LIB_AT_LEAST(major,minor)=(LIB_MAJOR > (major) || (LIB_MAJOR == (major) && LIB_MINOR >= (minor)))\r\n"
        "NO_VALUE");
    expectAll(d, {
                     {"FEATURE_A || FEATURE_B", true},
                     {"FEATURE_B || FEATURE_A", true},
                     {"FEATURE_A && FEATURE_B", false},
                     {"defined(FEATURE_B) || defined(FEATURE_A)", true},
                     {"defined FEATURE_A && !defined FEATURE_B", true},
                     {"FEATURE_A + 1 > 1", true},
                     {"defined(__GNUC__) && (__GNUC__ > 4 || (__GNUC__ == 4 && __GNUC_MINOR__ >= 8))", true},
                     {"__GNUC__ * 100 + __GNUC_MINOR__ >= 410", false},
                     {"LIB_VERSION >= 0x020300 && LIB_VERSION < 0x030000", true},
                     {"(LIB_VERSION >> 16) == 2 && (LIB_VERSION & 0xFF00) >> 8 == 3", true},
                     {"LIB_AT_LEAST(2, 3)", true},
                     {"LIB_AT_LEAST(2, 4)", false},
                     {"!LIB_AT_LEAST(1, 9)", false},
                     {"(FEATURE_B ? 10 : 20) == 20", true},
                     {"FEATURE_A ? LIB_MINOR : 0", true},
                     {"UNKNOWN_NAME == 0", true},
                     // Macros of headers never read: their calls are 0.
                     {"BOOST_WORKAROUND(BOOST_MSVC, >= 1400)", false},
                     {"!(BOOST_WORKAROUND(__GNUC__, BOOST_TESTED_AT(4) && X(3)) || FEATURE_B)", true},
                     {"__has_include(<optional>) || FEATURE_A", true},
                     // A name defined with no value is false on its own,
                     // and 0 beside others.
                     {"NO_VALUE", false},
                     {"NO_VALUE || FEATURE_A", true},
                     {"defined(NO_VALUE)", true},
                     {"true && !false", true},
                 });
}

// Literals and the arithmetic of 64-bit integers, signed and unsigned.
TEST(IfCondition, LiteralsAndArithmetic) {
    expectAll(build(""), {
                             {"0b1010 == 10 && 017 == 15 && 0x1F == 31", true},
                             {"10UL == 10 && 0xFFull == 255 && 7LLU == 7 && 3lu == 3", true},
                             {"'A' == 65 && '\\n' == 10 && '\\x41' == 'A' && '\\101' == 'A'", true},
                             {"'\\xff' < 0 && L'\\xff' == 255 && 'ab' == 0x6162", true},
                             {"-1 < 0", true},
                             {"-1 < 0u", false},
                             {"-1 > 0U", true},
                             {"~0 == -1 && ~0u == 0xFFFFFFFFFFFFFFFF", true},
                             {"7 / 2 == 3 && -7 / 2 == -3 && -7 % 2 == -1 && 7 % -2 == 1", true},
                             {"2 + 3 * 4 == 14 && (2 + 3) * 4 == 20 && 10 - 4 - 3 == 3", true},
                             {"1 << 62 > 0 && 1 << 63 < 0 && -16 >> 2 == -4", true},
                             {"(6 & 3) == 2 && (6 | 3) == 7 && (6 ^ 3) == 5", true},
                             {"1 < 2 == 1 && 3 != 4 && 4 <= 4 && 5 >= 6 == 0", true},
                             {"(1 ? 0 ? 2 : 3 : 4) == 3", true},
                             {"- - 1 == + 1 && !0 == 1 && !!7 == 1", true},
                             {"0x7FFFFFFFFFFFFFFF + 1 < 0", true},
                             {"18446744073709551615 == -1", true},
                         });
}

// The side of && || ?: whose value does not count is not evaluated, so a
// division there by zero is no fault.
TEST(IfCondition, ShortCircuitLeavesTheOtherSide) {
    PreprocessorDefines d = build("COUNT=0");
    expectAll(d, {
                     {"COUNT && 100 / COUNT > 2", false},
                     {"!COUNT || 100 / COUNT > 2", true},
                     {"COUNT ? 100 / COUNT : 1", true},
                     {"COUNT != 0 ? 100 % COUNT : 0", false},
                 });
}

// Macros are expanded as a compiler expands them: what they give is read
// again, a macro is not expanded inside itself, and a function-like
// macro's name without "(" is a name like any other.
TEST(IfCondition, MacrosExpandAsACompilerExpandsThem) {
    PreprocessorDefines d = build(
        "ONE=1\r\nALIAS=ONE\r\nLOOP=LOOP + 1\r\nPING=PONG\r\nPONG=PING\r\nPICK=SELECT\r\n"
        "SELECT(x)=x\r\nTWICE(x)=((x) + (x))\r\nJOIN(a,b)=a##b\r\nEMPTY_PARENS()=5\r\n"
        "HAS_ONE=defined(ONE)");
    expectAll(d, {
                     {"ALIAS == 1", true},
                     {"LOOP == 1", true},
                     {"PING", false},
                     {"PICK(7) == 7", true},
                     {"TWICE(TWICE(ONE)) == 4", true},
                     {"TWICE(SELECT(3)) == 6", true},
                     {"JOIN(1, 2) == 12", true},
                     {"EMPTY_PARENS() == 5 && EMPTY_PARENS == 5", true},
                     {"SELECT == 0", true},
                     {"HAS_ONE && !defined(ALIAS2)", true},
                     // The name after "defined" is never expanded.
                     {"defined(ALIAS) && defined PICK", true},
                 });
}

// What a compiler refuses is false, with the reason; nothing is thrown.
TEST(IfCondition, MalformedConditionsAreFalseWithAReason) {
    PreprocessorDefines d = build("FEATURE_A=1\r\nHALF=FEATURE_A /\r\nCALL(x)=x");
    for (const char* expression :
         {"FEATURE_A / 0", "FEATURE_A % (FEATURE_A - 1)", "!(1 / 0)", "(FEATURE_A", "FEATURE_A )",
          "FEATURE_A +", "FEATURE_A FEATURE_B", "", "   ", "\"on\"", "1.5 > 1", "99999999999999999999999 > 1",
          "08 == 8", "0x == 0", "10 km", "defined", "defined(", "defined(FEATURE_A", "defined 3",
          "CALL(1", "FEATURE_A ? 2", "HALF", "'' == 0", "'a == 97", "FEATURE_A = 1", "FEATURE_A @ 1"}) {
        std::string error;
        EXPECT_FALSE(evaluateCondition(expression, d, &error)) << expression;
        EXPECT_NE(error, "") << expression;
    }
    std::string error;
    evaluateCondition("FEATURE_A / (FEATURE_A - 1)", d, &error);
    EXPECT_EQ(error, "division by zero");
    evaluateCondition("(FEATURE_A || 0", d, &error);
    EXPECT_EQ(error, "missing ')'");
}

// Hostile conditions end quickly, false with a reason, and never exhaust
// the stack or the memory.
TEST(IfCondition, HostileConditionsAreBounded) {
    std::string error;
    for (const std::string& expression :
         {std::string(100000, '(') + "1" + std::string(100000, ')'), std::string(100000, '!') + "1",
          std::string(100000, '-') + "1", "1" + std::string(100000, '?')}) {
        EXPECT_FALSE(evaluateCondition(expression, build(""), &error));
        EXPECT_NE(error, "");
    }
    // Each level doubles the text; the expression would grow to 2^40 tokens.
    std::string doubling = "L0=1";
    for (int i = 1; i <= 40; ++i)
        doubling += "\r\nL" + std::to_string(i) + "=L" + std::to_string(i - 1) + " + L" + std::to_string(i - 1);
    EXPECT_FALSE(evaluateCondition("L40 > 0", build(doubling), &error));
    EXPECT_NE(error, "");
    // A call that repeats a long argument many times.
    std::string body;
    for (int i = 0; i < 2000; ++i) body += "x+";
    PreprocessorDefines wide = build("WIDE(x)=" + body + "0\r\n" + doubling);
    EXPECT_FALSE(evaluateCondition("WIDE(WIDE(WIDE(L10)))", wide, &error));
    EXPECT_NE(error, "");
    // A chain of ten thousand names, each defined as the next.
    std::string chain;
    for (int i = 0; i < 10000; ++i) chain += "C" + std::to_string(i) + "=C" + std::to_string(i + 1) + "\r\n";
    EXPECT_FALSE(evaluateCondition("C0", build(chain), &error));
    EXPECT_NE(error, "");
    // Long but flat conditions of real size still evaluate.
    std::string flat = "0";
    for (int i = 0; i < 400; ++i) flat += " || L3 == " + std::to_string(i);
    EXPECT_TRUE(evaluateCondition(flat, build(doubling), &error));
    EXPECT_EQ(error, "");
}
