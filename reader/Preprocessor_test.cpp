#include "reader/Preprocessor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "VelkLib/VelkError.h"
#include "reader/BlockReader.h"

namespace fs = std::filesystem;

namespace {

// Every test works in its own TEMP directory, removed afterwards, so the
// temporary files that a run leaves behind can be counted.
class PreprocessorTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vantry-pp-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        for (const char* name : {"TEMP", "TMP", "TMPDIR"}) {
            const char* old = std::getenv(name);
            saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        }
        setenv("TEMP", dir.c_str(), 1);
    }
    void TearDown() override {
        for (auto& [name, value] : saved) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
        fs::remove_all(dir);
    }

    std::size_t filesLeft() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    // Preprocesses `source` through a temporary file and returns the output;
    // the temporary file is removed as the parser removes it.
    std::string run(const std::string& source, const PreprocessorDefines& defines = {},
                    const DocCommentFormat& format = {}) {
        std::istringstream in(source);
        std::string temp = Preprocessor::makeTempFileName("");
        Preprocessor preprocessor(format);
        preprocessor.preprocess(in, temp, defines, "src.h", "pkg", table);
        warnings = preprocessor.getWarnings();
        std::ifstream file(temp, std::ios::binary);
        std::string out((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        fs::remove(temp);
        return out;
    }

    std::string errorOf(const std::string& source) {
        try {
            run(source);
        } catch (const VelkError& e) {
            return e.message;
        }
        return "no error";
    }

    static std::size_t lines(const std::string& text) {
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) +
               (!text.empty() && text.back() != '\n');
    }

    fs::path dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    std::map<std::string, MacroDefinition> table;
    std::vector<std::string> warnings;
};

}  // namespace

TEST_F(PreprocessorTest, CommentsAndLiterals) {
    EXPECT_EQ(run("a /* x\ny */ b // c\n/** doc\n * more */\nint s = \"/*\"; // x\n"),
              "a \n b \n/** doc\n * more */\nint s = \"/*\"; \n");
    EXPECT_EQ(run("/**/ int x;\n/***/\n"), " int x;\n/***/\n");
    // "*/" in a literal ends nothing; later directives still count.
    EXPECT_EQ(run("char* s = \"*/ /*\"; char c = '\\'';\n#define X 1\nX\n"),
              "char* s = \"*/ /*\"; char c = '\\'';\n\n1\n");
    EXPECT_EQ(errorOf("\n/* open\n"), "Preprocessor: Unexpected end-of-file while parsing comment on line 2");
    EXPECT_EQ(errorOf("/** open\n"), "Preprocessor: Unexpected end-of-file in documentation comment on line 1");
}

TEST_F(PreprocessorTest, Exclusion) {
    std::string source;
    for (int i = 1; i <= 22; ++i) {
        if (i == 10) source += "keep /* VANTRY_BEGIN_EXCLUDE */ gone\n";
        else if (i == 20) source += "x VANTRY_END_EXCLUDE y\n";
        else source += "L" + std::to_string(i) + "\n";
    }
    std::string out = run(source);
    EXPECT_EQ(lines(out), 22u);
    EXPECT_NE(out.find("L9\nkeep \n\n"), std::string::npos);
    EXPECT_NE(out.find("\n\nL21\n"), std::string::npos);
    EXPECT_EQ(out.find("L15"), std::string::npos);
    // No effect inside documentation or line comments.
    EXPECT_EQ(run("/** VANTRY_BEGIN_EXCLUDE */\na\n// VANTRY_BEGIN_EXCLUDE\nb\n"),
              "/** VANTRY_BEGIN_EXCLUDE */\na\n\nb\n");
}

TEST_F(PreprocessorTest, ConditionalsAndDefines) {
    PreprocessorDefines user("A=3\r\nEMPTY");
    EXPECT_EQ(run("#ifdef A\na\n#else\nb\n#endif\n#if A >= 2\nc\n#elif 1\nd\n#endif\n", user),
              "\na\n\n\n\n\nc\n\n\n\n");
    EXPECT_EQ(run("#if EMPTY\na\n#endif\n#if defined(A) && defined(NO)\nb\n#endif\n#if !!defined(A)\nc\n#endif\n", user),
              "\n\n\n\n\n\n\nc\n\n");
    EXPECT_EQ(run("#if A || 1\na\n#endif\n#else\n#endif\n", user), "\na\n\n#else\n#endif\n");
    // An elif cannot switch on the inside of an inactive block.
    EXPECT_EQ(run("#if 0\n#if 0\n#elif 1\nx\n#endif\n#endif\n"), "\n\n\n\n\n\n");
    // Inactive lines are not expanded: an open call there swallows nothing.
    EXPECT_EQ(run("#define F(x) x\n#if 0\nF(\n#else\nok\n#endif\n"), "\n\n\n\nok\n\n");
    EXPECT_EQ(errorOf("\n#ifndef G\n#if 1\n#endif\n"),
              "Preprocessor: Unexpected end-of-file while parsing #ifdef on line 2");

    EXPECT_EQ(run("/** The max. */\n#  define F(a, b) a+b\n#if 0\n#define HIDDEN 1\n#endif\nF(1,2) HIDDEN\n#include <x>\n"),
              "\n\n\n\n\n1+2 HIDDEN\n\n");
    ASSERT_EQ(table.count("F"), 1u);
    EXPECT_EQ(table["F"].getSignature(), "#define F(a, b) a+b");
    EXPECT_EQ(table["F"].getComment(), "The max.");
    EXPECT_EQ(table["F"].getPackage(), "pkg");
    EXPECT_EQ(table["HIDDEN"].getFileName(), "src.h");
    EXPECT_EQ(errorOf("#define G(a, b\n"), "Preprocessor: End-of-line in macro argument specification on line 1");
    EXPECT_EQ(errorOf("#define H(a) a\nH(1,\n"), "End-of-file in macro argument list (line 2)");
    EXPECT_EQ(run("#define\n#define (x) y\n"), "\n\n");  // no name: nothing defined
}

// Comment text is only gathered while a #define can still come, so every
// spelling of one must count, each the last of its file here: continued
// lines, blanks, one after another, one inside a conditional.
TEST_F(PreprocessorTest, DocumentationReachesEveryDefine) {
    run("#define FIRST\n/** Second. */\n#\\\n  define SECOND 2\nint x;\n");
    run("/** Third. */\n# \\\ndefine THIRD\n");
    run("/** Fourth. */\n#ifdef __cplusplus\n#  define FOURTH 4\n#endif\n/** After. */\nint y;\n");
    run("/** Fifth. */\n#\\\n\\\n\tdefine FIFTH");
    EXPECT_EQ(table["FIRST"].getComment(), "");
    EXPECT_EQ(table["SECOND"].getComment(), "Second.");
    EXPECT_EQ(table["THIRD"].getComment(), "Third.");
    EXPECT_EQ(table["FOURTH"].getComment(), "Fourth.");
    EXPECT_EQ(table["FIFTH"].getComment(), "Fifth.");
}

TEST_F(PreprocessorTest, DeepNestingUsesNoRecursion) {
    std::string source;
    for (int i = 0; i < 20000; ++i) source += "#ifdef __cplusplus\n";
    source += "x\n";
    for (int i = 0; i < 20000; ++i) source += "#endif\n";
    std::string out = run(source);
    EXPECT_EQ(lines(out), 40001u);
    EXPECT_EQ(out.substr(20000, 2), "x\n");
}

TEST_F(PreprocessorTest, ContinuationsKeepTheLineCount) {
    EXPECT_EQ(run("x = 1; \\\ny = 2;\nz\n"), "\nx = 1; y = 2;\nz\n");
    EXPECT_EQ(run("a \\\n\n\nb\n"), "a \n\n\nb\n");
    EXPECT_EQ(run("#define LONG 1 + \\\n  2\nLONG\n"), "\n\n1 + 2\n");
    // A comment that a continued line runs through is part of the #define:
    // what follows the comment is the body's, not code of its own.
    EXPECT_EQ(run("#define S(n) int a[(n)]; /* x \\\n y */ short b\nS(1);\n"),
              "\n\nint a[(1)]; short b;\n");
    EXPECT_EQ(run("#define T(n) int a; /* x \\ \n y \\\n z */ short b /* c */\nT(1);\nint after;\n"),
              "\n\n\nint a; short b;\nint after;\n");
    EXPECT_EQ(run("int a; /* x \\\n y */ short b;\nint after;\n"), "\nint a; short b;\nint after;\n");
}

TEST_F(PreprocessorTest, LineStyleDocumentation) {
    DocCommentFormat format;
    format.setSecondary("///", "///", "///");
    EXPECT_EQ(run("/// a\n/// b\nint x; // trailing\n", {}, format), "/// a\n/// b\nint x; \n");
    // A "//" inside a literal right after the run is not a comment.
    EXPECT_EQ(run("/// a\nurl = \"http://x\";\n", {}, format), "/// a\nurl = \"http://x\";\n");
    EXPECT_EQ(run("/// a\n"), "\n");  // not a documentation format here
    // Lines indented with no-break spaces stay one comment, and the code
    // after it reads with ordinary blanks; the comment's text is kept.
    EXPECT_EQ(run("\xC2\xA0/// a\xC2\xA0z\n\xC2\xA0\xE2\x80\x83/// b\n\xC2\xA0#region R\n\xC2\xA0int x;\n",
                  {}, format),
              " /// a\xC2\xA0z\n  /// b\n\n int x;\n");
}

TEST_F(PreprocessorTest, OddInputs) {
    EXPECT_EQ(run(""), "");
    EXPECT_EQ(run("int x;"), "int x;\n");
    EXPECT_EQ(run("\xEF\xBB\xBFint x;\r\n#ifdef __cplusplus\r\ny;\r\n#endif\r\n/**\r\n * d\r\n */\r\n"),
              "int x;\n\ny;\n\n/**\n * d\n */\n");
    EXPECT_EQ(run(std::string("a\0b\nc\n", 6)), "ab\nc\n");

    // Sizes around the reader's block size.
    for (std::size_t size : {BlockReader::kBlockSize - 1, BlockReader::kBlockSize, BlockReader::kBlockSize + 1}) {
        std::string source(size, 'x');
        for (std::size_t k = 99; k < size; k += 100) source[k] = '\n';
        source.back() = '\n';
        EXPECT_EQ(run(source), source) << size;
    }
}

TEST_F(PreprocessorTest, TemporaryFiles) {
    std::string a = Preprocessor::makeTempFileName("cf");
    std::string b = Preprocessor::makeTempFileName("cf");
    EXPECT_NE(a, b);
    EXPECT_EQ(fs::path(a).parent_path(), dir);
    EXPECT_EQ(fs::path(a).filename().string().rfind("cf.", 0), 0u);
    struct stat st {};
    ASSERT_EQ(stat(a.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    fs::remove(a);
    fs::remove(b);

    run("#if 1\nx\n#endif\n");
    EXPECT_EQ(filesLeft(), 0u);
    EXPECT_THROW(run("/* open"), VelkError);
    EXPECT_EQ(filesLeft(), 0u);

    setenv("TEMP", (dir / "missing").c_str(), 1);
    EXPECT_THROW(Preprocessor::makeTempFileName(""), VelkError);
}

// A condition keeps the code it guards whatever operators it uses; one
// that cannot be evaluated leaves its code out, is named in a warning with
// its line, and the rest of the file is read. Conditions inside a block
// left out are not looked at.
TEST_F(PreprocessorTest, ConditionsAreEvaluatedWhole) {
    PreprocessorDefines user("FEATURE_A=1\r\nLIB_VERSION=0x0203");
    const std::string source =
        "class Widget {\n"
        "public:\n"
        "#if FEATURE_A || FEATURE_B\n"
        "    void either();\n"
        "#endif\n"
        "#if defined(FEATURE_B) || defined(FEATURE_A)\n"
        "    void definedEither();\n"
        "#endif\n"
        "#if FEATURE_A + 1 > 1 && (LIB_VERSION >> 8) == 2\n"
        "    void sum();\n"
        "#elif 1 / 0\n"
        "    void never();\n"
        "#endif\n"
        "#if LIB_VERSION / (FEATURE_A - 1)\n"
        "    void divided();\n"
        "#elif FEATURE_A && !FEATURE_B\n"
        "    void otherwise();\n"
        "#endif\n"
        "#if 0\n"
        "#if this is ( not an expression\n"
        "#endif\n"
        "#endif\n"
        "};\n";
    EXPECT_EQ(run(source, user),
              "class Widget {\npublic:\n\n    void either();\n\n\n    void definedEither();\n\n"
              "\n    void sum();\n\n\n\n\n\n\n    void otherwise();\n\n\n\n\n\n};\n");
    EXPECT_EQ(warnings, std::vector<std::string>{
                            "Preprocessor: the condition of #if on line 14 is taken as false: division by zero"});
}

// The text of #error, #warning, #pragma, #line, #ident and C#'s #region
// and #endregion is free text: a lone quote there loses nothing, and is no
// literal left open.
TEST_F(PreprocessorTest, FreeTextDirectivesMayHoldALoneQuote) {
    EXPECT_EQ(run("#ifndef CONFIG_H\n"
                  "#error You can't include this header directly\n"
                  "#endif\n"
                  "#  warning don't use \"old.h\n"
                  "#pragma message(\"it's fine\")\n"
                  "#line 12 \"src.h\"\n"
                  "#ident \"it's mine\n"
                  "    #region Store's items\n"
                  "    #endregion Store's items\n"
                  "/** After the directives. */\n"
                  "class After {};\n"),
              "\n\n\n\n\n\n\n\n\n/** After the directives. */\nclass After {};\n");
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

// Code on the line of a documentation comment is expanded as any other
// code; the comment's own text stays as written.
TEST_F(PreprocessorTest, CodeBesideACommentIsExpanded) {
    EXPECT_EQ(run("#define DECLARE_GETTER(name) int get_##name() const;\n"
                  "#define EXPORT __attribute__((visibility(\"default\")))\n"
                  "struct Point {\n"
                  "    /** The x; DECLARE_GETTER(y) in the text stays. */ DECLARE_GETTER(x)\n"
                  "    /**\n"
                  "     * Spans lines.\n"
                  "     */ DECLARE_GETTER(z)\n"
                  "    DECLARE_GETTER(w) /**< After DECLARE_GETTER(w). */\n"
                  "    EXPORT int scale(int by); /** Next, EXPORT\n"
                  "     * as written. */\n"
                  "    int next();\n"
                  "};\n"),
              "\n\nstruct Point {\n"
              "    /** The x; DECLARE_GETTER(y) in the text stays. */ int get_x() const;\n"
              "    /**\n"
              "     * Spans lines.\n"
              "     */ int get_z() const;\n"
              "    int get_w() const; /**< After DECLARE_GETTER(w). */\n"
              "    __attribute__((visibility(\"default\"))) int scale(int by); /** Next, EXPORT\n"
              "     * as written. */\n"
              "    int next();\n"
              "};\n");
}

// The comment above a #define, or before it on its line, documents the
// macro and nothing after it; a comment above another directive stays.
TEST_F(PreprocessorTest, ADefinesCommentDocumentsTheMacroOnly) {
    EXPECT_EQ(run("/** Squares a value. */\n"
                  "#define SQUARE(x) ((x) * (x))\n"
                  "#define MAX_ITEMS 10\n"
                  "int use = MAX_ITEMS;\n"
                  "/** The limit. */ #define LIMIT 4\n"
                  "int limit = LIMIT;\n"
                  "/**\n"
                  " * Doubles.\n"
                  " */\n"
                  "#ifdef __cplusplus\n"
                  "#  define TWICE(x) (2 * (x))\n"
                  "#endif\n"
                  "int twice;\n"
                  "/** A packed point. */\n"
                  "#pragma pack(1)\n"
                  "struct Packed {};\n"),
              "\n\n\nint use = 10;\n\nint limit = 4;\n\n\n\n\n\n\nint twice;\n"
              "/** A packed point. */\n\nstruct Packed {};\n");
    EXPECT_EQ(table["SQUARE"].getComment(), "Squares a value.");
    EXPECT_EQ(table["MAX_ITEMS"].getComment(), "");
    EXPECT_EQ(table["LIMIT"].getComment(), "The limit.");

    // A comment after the body that goes on over lines belongs to the
    // #define: the lines it takes are the directive's.
    EXPECT_EQ(run("#define RADIO (BASE + 2) /**< Set when pressed,\n"
                  "                                others in the group\n"
                  "                              * are cleared. */\n"
                  "#define HIDDEN 3\n"
                  "int radio = RADIO;\n"),
              "\n\n\n\nint radio = (BASE + 2);\n");
    EXPECT_EQ(table["RADIO"].getComment(), "Set when pressed, others in the group are cleared.");
    EXPECT_EQ(table["HIDDEN"].getComment(), "");

    // A comment that begins after code is the code's, however many lines
    // it takes.
    EXPECT_EQ(run("int count; /**< The count,\n"
                  "                 over lines. */\n"
                  "#define COUNT_MAX 4\n"),
              "int count; /**< The count,\n                 over lines. */\n\n");
    EXPECT_EQ(table["COUNT_MAX"].getComment(), "");
}

// A macro's comment reaches the pages as every other comment does: a tag
// that could run script is shown as text, and a warning names its line.
TEST_F(PreprocessorTest, ScriptInAMacrosCommentIsShownAsText) {
    run("int first;\n"
        "/** Enables <b>fast</b> paths <img src=x onerror=alert(1)>. */\n"
        "#define FAST 1\n"
        "#define SLOW 0 /**< Never <script>alert(2)</script>. */\n");
    EXPECT_EQ(table["FAST"].getComment(), "Enables <b>fast</b> paths &lt;img src=x onerror=alert(1)&gt;.");
    EXPECT_EQ(table["SLOW"].getComment(), "Never &lt;script&gt;alert(2)&lt;/script&gt;.");
    EXPECT_EQ(warnings, (std::vector<std::string>{"Script in the documentation comment on line 2 is shown as text",
                                                  "Script in the documentation comment on line 4 is shown as text"}));
}

// The lines of a group left out are not read, only the directives among
// them and the comments that could hide one, whatever kind of group it is:
// a quote there is text. A quote that its line does not close in code that
// is read ends with the line, is closed there for the parser and named in
// a warning; the rest of the file is read.
TEST_F(PreprocessorTest, GroupsLeftOutAreNotRead) {
    PreprocessorDefines user("ON=1");
    EXPECT_EQ(run("#if 0\n"
                  "It's disabled.\n"
                  "#endif\n"
                  "/** Kept. */ struct AfterSkip {};\n"
                  "#ifdef OFF\n"
                  "  \"unclosed\n"
                  "#elif ON\n"
                  "int taken;\n"
                  "#elif 'x\n"
                  "won't\n"
                  "#else\n"
                  "#if it's nested\n"
                  "doesn't\n"
                  "#endif\n"
                  "#endif\n"
                  "#ifndef ON\n"
                  "can't\n"
                  "/* a comment hides what it holds\n"
                  "#endif\n"
                  "*/ still left out\n"
                  "#endif\n"
                  "int after;\n",
                  user),
              "\n\n\n/** Kept. */ struct AfterSkip {};\n\n\n\nint taken;\n" + std::string(13, '\n') +
                  "int after;\n");
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    // Between exclusion markers nothing is read either.
    EXPECT_EQ(run("/* VANTRY_BEGIN_EXCLUDE */\nIt's out\n/* VANTRY_END_EXCLUDE */\nint x;\n"),
              "\n\n\nint x;\n");
    EXPECT_TRUE(warnings.empty());

    // A condition with a quote left open is malformed: false, with a
    // warning; left out, it is not looked at.
    EXPECT_EQ(run("#if X == 'a\nint q;\n#elif '\nint r;\n#endif\n#if 0\n#if '\n#endif\n#endif\nint s;\n"),
              "\n\n\n\n\n\n\n\n\nint s;\n");
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "Preprocessor: the condition of #if on line 1 is taken as false: missing closing quote",
                            "Preprocessor: the condition of #elif on line 3 is taken as false: missing closing quote"}));

    // In code that is read the literal ends with its line.
    EXPECT_EQ(run("struct S {\n  char c = '; };\n/** After. */ struct After {};\n#define Q \"q\nQ\n"),
              "struct S {\n  char c = '; };'\n/** After. */ struct After {};\n\n\"q\"\n");
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "Preprocessor: the quote on line 2 is not closed: its literal ends with the line",
                            "Preprocessor: the quote on line 4 is not closed: its literal ends with the line"}));
    EXPECT_EQ(run("s = \"a\\\nb\nint x = \"abc\\"), "\ns = \"ab\"\nint x = \"abc\"\n");
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "Preprocessor: the quote on line 1 is not closed: its literal ends with the line",
                            "Preprocessor: the quote on line 3 is not closed: its literal ends with the line"}));
}

// In a C++ file "__cplusplus" is 201703L, so the C++17 branch of a header
// is the one documented; the user's definition stands instead. In Java
// and C# files it is defined with no value.
TEST_F(PreprocessorTest, CplusplusHasItsValue) {
    const std::string source =
        "#if __cplusplus >= 201703L\nmodernPath\n#else\nlegacyPath\n#endif\n"
        "#ifdef __cplusplus\ndefined\n#endif\n#if defined(__cplusplus) && __cplusplus\nvalued\n#endif\n";
    EXPECT_EQ(run(source), "\nmodernPath\n\n\n\n\ndefined\n\n\nvalued\n\n");
    EXPECT_EQ(run(source, PreprocessorDefines("__cplusplus=201103L")), "\n\n\nlegacyPath\n\n\ndefined\n\n\nvalued\n\n");
    EXPECT_EQ(run("#undef __cplusplus\n#ifdef __cplusplus\nx\n#endif\n"), "\n\n\n\n");

    Preprocessor other;
    other.setCppSource(false);
    std::map<std::string, MacroDefinition> none;
    EXPECT_EQ(other.preprocessText(source, {}, "A.cs", "pkg", none), "\n\n\nlegacyPath\n\n\ndefined\n\n\n\n\n");
}

// "///" comments that the format does not read, right before
// declarations, are noticed in the groups that are read; banners of
// slashes, headings, comments after code (but for a trailing member
// comment "///<") and comments before no declaration are not such comments.
TEST_F(PreprocessorTest, TripleSlashCommentsLeftUnreadAreNoticed) {
    auto unread = [](const std::string& source, const DocCommentFormat& format = {}) {
        Preprocessor preprocessor(format);
        std::map<std::string, MacroDefinition> none;
        preprocessor.preprocessText(source, {}, "src.h", "pkg", none);
        return preprocessor.leftTripleSlashUnread();
    };
    EXPECT_TRUE(unread("/// Adds.\nint add(int a, int b);\n"));
    EXPECT_TRUE(unread("namespace N {\n    /// <summary>A point.</summary>\n    [Serializable]\n    struct P {};\n}\n"));
    EXPECT_FALSE(unread("class Cache {\n    /// Queries\n\n    int size();\n};\n"));
    EXPECT_TRUE(unread("/// Made.\n///\n/// Gone.\n~Widget();\n"));
    EXPECT_TRUE(unread("/// Hidden.\n@Deprecated void old();\n"));
    EXPECT_FALSE(unread("////////////////////////\n// Helpers\n////////////////////////\nint helper();\n"));
    EXPECT_FALSE(unread("int x; /// trailing\nint y;\n"));
    EXPECT_TRUE(unread("struct Rect {\n    int w; ///< Width.\n    int h;\n};\n"));
    EXPECT_TRUE(unread("enum Mode { Fast, ///< No checks.\n  Safe };\n"));
    EXPECT_FALSE(unread("#if 0\nint w; ///< Width.\n#endif\n"));
    EXPECT_FALSE(unread("void f();\n/// The end.\n}\n"));
    EXPECT_FALSE(unread("int f() {\n    /// Not yet.\n    if (busy) return 0;\n    /// Done.\n    return 1;\n}\n"));
    EXPECT_FALSE(unread("#if 0\n/// Left out.\nint gone();\n#endif\n"));
    EXPECT_FALSE(unread("/** Read. */ int read();\n// A note.\nint note();\n"));
    DocCommentFormat slashes;
    slashes.setSecondary("///", "///", "///");
    EXPECT_FALSE(unread("/// Read.\nint add(int a, int b);\n", slashes));
}

TEST(PreprocessorStatic, DirectiveWords) {
    EXPECT_TRUE(Preprocessor::isPreprocessorLine("#endregion"));
    EXPECT_TRUE(Preprocessor::isPreprocessorLine("define"));
    EXPECT_FALSE(Preprocessor::isPreprocessorLine("#defined"));
}
