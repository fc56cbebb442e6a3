// The program run over C++ headers as they are written today: declarations
// under #if lines, code beside documentation comments, directives whose
// text holds an apostrophe, commented macros, and a macro comment that
// carries script. The pages are read as a browser shows their text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

// Generous for the sanitizer build; a hang still runs into it by far.
constexpr int kTimeLimit = 120;

class PreprocessedPages : public e2e::ProgramFixture {
protected:
    PreprocessedPages() : ProgramFixture("preprocessed-pages") {}

    fs::path site() const { return work() / "out"; }

    e2e::ChildResult document(const std::vector<std::string>& extra, const std::string& threads = "1") {
        fs::remove_all(site());
        auto variables = scratchVariables();
        variables["VANTRY_THREADS"] = threads;
        std::vector<std::string> args{"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                                      "-moduledir=" + moduleDir_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("src=Lib");
        args.push_back("out/index.html");
        e2e::ChildSignals none;
        none.count = 0;
        auto result = e2e::runChild(program_, args, childEnvironment(variables), work(), logs(), none, kTimeLimit);
        EXPECT_EQ(result.termSignal, 0) << "killed at the time limit or by a fault\n" << result.describe();
        return result;
    }

    std::string page(const std::string& path) const { return e2e::readFile(site() / path); }
    std::string textOf(const std::string& path) const { return e2e::shownText(page(path)); }
};

// The warnings a run printed, without their "vantry: warning: ", in order.
std::vector<std::string> warningLines(const std::string& err) {
    std::vector<std::string> lines;
    const std::string prefix = "vantry: warning: ";
    for (std::size_t at = 0; at < err.size();) {
        std::size_t end = std::min(err.find('\n', at), err.size());
        if (err.compare(at, prefix.size(), prefix) == 0)
            lines.push_back(err.substr(at + prefix.size(), end - at - prefix.size()));
        at = end + 1;
    }
    return lines;
}

const char* const kWidgetHeader =
    "#ifndef WIDGET_H\n"
    "#define WIDGET_H\n"
    "\n"
    "#define DECLARE_GETTER(name) int get_##name() const;\n"
    "#define LIB_API\n"
    "\n"
    "/** A widget. */\n"
    "class Widget {\n"
    "public:\n"
    "#if FEATURE_A || FEATURE_B\n"
    "    /** Runs with either feature. */\n"
    "    void either();\n"
    "#endif\n"
    "#if defined(FEATURE_B) || defined(FEATURE_A)\n"
    "    /** Runs where either is defined. */\n"
    "    void definedEither();\n"
    "#endif\n"
    "#if FEATURE_A + 1 > 1\n"
    "    /** Runs past version one. */\n"
    "    void pastOne();\n"
    "#endif\n"
    "#if FEATURE_A / (FEATURE_A - 1)\n"
    "    void divided();\n"
    "#endif\n"
    "    /** The width. */ DECLARE_GETTER(width)\n"
    "    /** Scales by q. */ LIB_API int scale(int q);\n"
    "};\n"
    "\n"
    "/** Squares a value. */\n"
    "#define SQUARE(x) ((x) * (x))\n"
    "#define MAX_ITEMS 10\n"
    "int use = MAX_ITEMS;\n"
    "\n"
    "#endif\n";

const char* const kGuardedHeader =
    "#ifndef WIDGET_H\n"
    "#error You can't include this header directly\n"
    "#endif\n"
    "\n"
    "/** Comes after the guard. */\n"
    "class Guarded {};\n";

TEST_F(PreprocessedPages, DeclarationsAndCommentsAreShownAsWritten) {
    writeText(work() / "src/widget.h", kWidgetHeader);
    const auto result = document({"-dFEATURE_A=1", "-document-preprocessor"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();

    const std::string widget = textOf("projects/Lib/Widget.html");
    for (const char* shown : {"void either() Runs with either feature.",
                              "void definedEither() Runs where either is defined.",
                              "void pastOne() Runs past version one.", "int get_width() const The width.",
                              "int scale(int q) Scales by q."})
        EXPECT_TRUE(contains(widget, shown)) << shown << "\n" << widget;
    EXPECT_FALSE(contains(widget, "divided"));
    EXPECT_FALSE(contains(widget, "LIB_API"));
    EXPECT_TRUE(contains(result.err,
                         "the condition of #if on line 22 is taken as false: division by zero (src/widget.h)."))
        << result.describe();

    const std::string globals = textOf("projects/Lib/(Lib__globals).html");
    EXPECT_TRUE(contains(globals, "#define SQUARE(x) ((x) * (x)) Squares a value.")) << globals;
    EXPECT_TRUE(contains(globals, "int use;")) << globals;
    EXPECT_FALSE(contains(globals, "int use; Squares a value.")) << globals;
    EXPECT_FALSE(contains(globals, "int use Squares a value.")) << globals;
}

// An apostrophe in the text of #error opens no literal: the file is read
// and listed whole.
TEST_F(PreprocessedPages, AnApostropheInADirectivesTextLosesNothing) {
    writeText(work() / "src/guarded.h", kGuardedHeader);
    const auto result = document({});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(textOf("projects/Lib/Guarded.html"), "class Guarded Comes after the guard."));
    EXPECT_TRUE(contains(textOf("projects/Lib/guarded.h.html"), "#error You can't include this header directly"));
    EXPECT_FALSE(contains(result.err, "guarded.h")) << result.describe();
}

// A quote in a group left out is text, whatever group it is; one that its
// line leaves open in code that is read ends with the line, with a
// warning naming the file and line. Every file is documented and listed
// whole.
TEST_F(PreprocessedPages, AQuoteLeftOpenLosesNoFile) {
    writeText(work() / "src/legacy.h",
              "#if 0\n"
              "It's disabled, and \"so is this\n"
              "#elif defined(NEVER)\n"
              "  won't build\n"
              "#else\n"
              "/** Kept after the block. */\n"
              "struct AfterSkip {};\n"
              "#endif\n"
              "#if LEVEL == 'a\n"
              "struct Lettered {};\n"
              "#endif\n"
              "/** Last of the file. */\n"
              "struct Closing {};\n");
    writeText(work() / "src/typo.h",
              "/** Prints a line. */\n"
              "inline void print() {\n"
              "    puts(\"unfinished);\n"
              "}\n"
              "/** Read after the typo. */\n"
              "struct AfterTypo {};\n");
    const auto result = document({});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(textOf("projects/Lib/AfterSkip.html"), "struct AfterSkip Kept after the block."));
    EXPECT_TRUE(contains(textOf("projects/Lib/Closing.html"), "struct Closing Last of the file."));
    EXPECT_FALSE(fs::exists(site() / "projects/Lib/Lettered.html"));
    EXPECT_TRUE(contains(textOf("projects/Lib/AfterTypo.html"), "struct AfterTypo Read after the typo."));
    EXPECT_TRUE(contains(textOf("projects/Lib/(Lib__globals).html"), "inline void print() Prints a line."));
    EXPECT_TRUE(contains(textOf("projects/Lib/legacy.h.html"), "It's disabled, and \"so is this")) << result.describe();
    EXPECT_TRUE(contains(textOf("projects/Lib/typo.h.html"), "struct AfterTypo {};"));
    EXPECT_EQ(warningLines(result.err),
              (std::vector<std::string>{"Preprocessor: the condition of #if on line 9 is taken as false: missing "
                                        "closing quote (src/legacy.h).",
                                        "Preprocessor: the quote on line 3 is not closed: its literal ends with "
                                        "the line (src/typo.h)."}))
        << result.describe();
}

// A header's C++17 branch is the one documented; a -d__cplusplus of the
// user's chooses another, and a C# file finds the name with no value.
TEST_F(PreprocessedPages, HeadersAreDocumentedOnTheirCpp17Branch) {
    writeText(work() / "src/path.h",
              "#ifdef __cplusplus\n"
              "/** Either way. */\n"
              "void common();\n"
              "#endif\n"
              "#if __cplusplus >= 201703L\n"
              "/** With C++17. */\n"
              "void modernPath();\n"
              "#else\n"
              "/** Before C++17. */\n"
              "void legacyPath();\n"
              "#endif\n");
    writeText(work() / "src/Shared.cs",
              "namespace Lib {\n"
              "#if __cplusplus\n"
              "/** The C++ side. */ public class CppSide {}\n"
              "#else\n"
              "/** The C# side. */ public class CSharpSide {}\n"
              "#endif\n"
              "}\n");
    auto result = document({});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    std::string globals = textOf("projects/Lib/(Lib__globals).html");
    EXPECT_TRUE(contains(globals, "void common() Either way.")) << globals;
    EXPECT_TRUE(contains(globals, "void modernPath() With C++17.")) << globals;
    EXPECT_FALSE(contains(globals, "legacyPath")) << globals;
    EXPECT_TRUE(contains(textOf("projects/Lib/CSharpSide.html"), "The C# side.")) << result.describe();
    EXPECT_FALSE(fs::exists(site() / "projects/Lib/CppSide.html"));

    result = document({"-d__cplusplus=201103L"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    globals = textOf("projects/Lib/(Lib__globals).html");
    EXPECT_TRUE(contains(globals, "void common() Either way.")) << globals;
    EXPECT_TRUE(contains(globals, "void legacyPath() Before C++17.")) << globals;
    EXPECT_FALSE(contains(globals, "modernPath")) << globals;
}

// A macro's comment passes the same script check as every other comment:
// the tag is shown as text, in the index and on the globals page.
TEST_F(PreprocessedPages, ScriptInAMacrosCommentIsShownAsText) {
    writeText(work() / "src/evil.h",
              "int before;\n"
              "/** Turns on <b>speed</b> <img src=x onerror=alert(1)> and more. */\n"
              "#define EVIL 1\n");
    const auto result = document({"-document-preprocessor"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    for (const char* path : {"index-all.html", "projects/Lib/(Lib__globals).html"}) {
        SCOPED_TRACE(path);
        std::string markup = page(path);
        std::transform(markup.begin(), markup.end(), markup.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_FALSE(contains(markup, "<img")) << markup;
        EXPECT_TRUE(contains(markup, "<b>speed</b>"));
        EXPECT_TRUE(contains(textOf(path), "Turns on speed <img src=x onerror=alert(1)> and more."))
            << textOf(path);
    }
    EXPECT_TRUE(contains(result.err, "Script in the documentation comment on line 2 is shown as text (src/evil.h)."))
        << result.describe();
}

// Headers that define the same macros, read on one thread and on eight,
// give the same pages byte for byte and the same messages.
TEST_F(PreprocessedPages, EightThreadsGiveTheSameSite) {
    std::string header = kWidgetHeader;
    for (int i = 0; i < 16; ++i) {
        std::string copy = header;
        for (std::size_t at = 0; (at = copy.find("Widget", at)) != std::string::npos; at += 6)
            copy.replace(at, 6, "Part" + std::to_string(i));
        writeText(work() / ("src/part" + std::to_string(i) + ".h"), copy);
    }
    writeText(work() / "src/guarded.h", kGuardedHeader);
    const std::vector<std::string> options{"-dFEATURE_A=1", "-document-preprocessor"};
    const auto one = document(options, "1");
    ASSERT_EQ(one.exitCode, 0) << one.describe();
    const auto site = e2e::readSiteNormalised(this->site(), "Generated by Vantry");
    const auto eight = document(options, "8");
    ASSERT_EQ(eight.exitCode, 0) << eight.describe();
    EXPECT_EQ(eight.err, one.err);
    EXPECT_TRUE(e2e::readSiteNormalised(this->site(), "Generated by Vantry") == site)
        << "the site differs with eight threads";
}

}  // namespace
