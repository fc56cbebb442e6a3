// The program run over input that tries to put live markup or script into
// the site (file names, options, comments), input the reader may not
// understand, input that makes output without end, and a process that is
// mistreated from outside (signals, closed streams, a broken environment).
// Each case builds its tree in a fresh temporary folder and runs the
// program as a child under a time limit.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <sstream>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cctype>
#include <fstream>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

// Generous for the sanitizer build; a hang still runs into it by far.
constexpr int kTimeLimit = 120;

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct Attribute {
    std::string element, name, value;
};

// Every attribute of every tag of a page: element and name lower-cased,
// the value with its entities decoded, as a browser reads it.
std::vector<Attribute> attributes(const std::string& html) {
    std::vector<Attribute> found;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string::npos) {
        if (html.compare(at, 4, "<!--") == 0) {
            at = html.find("-->", at);
            if (at == std::string::npos) break;
            continue;
        }
        std::size_t i = at + 1;
        while (i < html.size() && (std::isalnum(static_cast<unsigned char>(html[i])) || html[i] == '/')) ++i;
        if (i == at + 1) {
            ++at;
            continue;
        }
        const std::string element = lower(html.substr(at + 1, i - at - 1));
        while (i < html.size() && html[i] != '>') {
            while (i < html.size() && (std::isspace(static_cast<unsigned char>(html[i])) || html[i] == '/')) ++i;
            std::size_t nameStart = i;
            while (i < html.size() && html[i] != '=' && html[i] != '>' &&
                   !std::isspace(static_cast<unsigned char>(html[i])))
                ++i;
            Attribute attribute{element, lower(html.substr(nameStart, i - nameStart)), ""};
            while (i < html.size() && std::isspace(static_cast<unsigned char>(html[i]))) ++i;
            if (i < html.size() && html[i] == '=') {
                ++i;
                while (i < html.size() && std::isspace(static_cast<unsigned char>(html[i]))) ++i;
                std::size_t valueStart = i;
                if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                    std::size_t close = html.find(html[i], i + 1);
                    valueStart = i + 1;
                    i = close == std::string::npos ? html.size() : close;
                    attribute.value = html.substr(valueStart, i - valueStart);
                    if (i < html.size()) ++i;
                } else {
                    while (i < html.size() && html[i] != '>' && !std::isspace(static_cast<unsigned char>(html[i])))
                        ++i;
                    attribute.value = html.substr(valueStart, i - valueStart);
                }
            }
            attribute.value = e2e::decodeEntities(attribute.value);
            if (!attribute.name.empty()) found.push_back(attribute);
        }
        at = i;
    }
    return found;
}

// The scheme a browser reads from a URL value: control bytes and blanks
// dropped, up to the first ":" when only scheme characters come before it.
std::string schemeOf(const std::string& url) {
    std::string cleaned;
    for (unsigned char c : url)
        if (c > 0x20) cleaned += static_cast<char>(std::tolower(c));
    std::size_t colon = cleaned.find(':');
    if (colon == std::string::npos || colon == 0) return "";
    for (std::size_t i = 0; i < colon; ++i)
        if (!std::isalnum(static_cast<unsigned char>(cleaned[i])) && cleaned[i] != '+' && cleaned[i] != '-' &&
            cleaned[i] != '.')
            return "";
    return cleaned.substr(0, colon);
}

class HostileMarkup : public e2e::ProgramFixture {
protected:
    HostileMarkup() : ProgramFixture("hostile-markup") {}

    fs::path site() const { return work() / "out"; }

    e2e::ChildResult run(const std::vector<std::string>& args, int limit = kTimeLimit) {
        return runInWork(args, limit);
    }

    std::vector<std::string> documentArgs(const std::vector<std::string>& inputs,
                                          const std::vector<std::string>& extra,
                                          const std::string& module = "vantry-standard") const {
        std::vector<std::string> args{"-autorun", "-autoquit", "-overwrite", "-module=" + module,
                                      "-moduledir=" + moduleDir_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), inputs.begin(), inputs.end());
        args.push_back("out/index.html");
        return args;
    }

    e2e::ChildResult document(const std::vector<std::string>& inputs, const std::vector<std::string>& extra = {},
                              const std::string& module = "vantry-standard") {
        fs::remove_all(site());
        return run(documentArgs(inputs, extra, module));
    }

    std::string wholeSite() const {
        std::string text;
        for (const auto& file : e2e::listFiles(site())) text += e2e::readFile(site() / file);
        return text;
    }

    // No page of the site holds an event attribute, a script or style
    // element, or a URL that a browser would run.
    void expectNoScript() const {
        for (const auto& file : e2e::listFiles(site())) {
            if (file.size() < 5 || file.compare(file.size() - 5, 5, ".html") != 0) continue;
            for (const Attribute& a : attributes(e2e::readFile(site() / file))) {
                EXPECT_NE(a.name.rfind("on", 0), 0u) << "event attribute " << a.name << " in " << file;
                EXPECT_NE(a.element, "script") << file;
                EXPECT_NE(a.element, "iframe") << file;
                EXPECT_NE(a.element, "object") << file;
                EXPECT_NE(a.element, "embed") << file;
                EXPECT_NE(a.element, "style") << file;
                const std::string scheme = schemeOf(a.value);
                for (const char* bad : {"javascript", "vbscript", "data"})
                    EXPECT_NE(scheme, bad) << a.element << " " << a.name << "=\"" << a.value << "\" in " << file;
            }
            const std::string page = lower(e2e::readFile(site() / file));
            EXPECT_FALSE(contains(page, "<script")) << file;
        }
    }
};

// File and directory names that read as a URL scheme are written as
// relative paths that still lead to their pages.
TEST_F(HostileMarkup, NamesThatReadAsSchemesStayRelativeLinks) {
    writeText(work() / "src/javascript:alert(1)+.1.java",
              "package p;\n/** A class. */\npublic class A {\n    /** m. */\n    public void m() {}\n}\n");
    for (const char* module : {"vantry-standard", "vantry-old"}) {
        for (const std::string& classdir : {std::string("projects"), std::string("javascript:alert(1)")}) {
            SCOPED_TRACE(std::string(module) + " -classdir=" + classdir);
            const auto result = document({"src"}, {"-classdir=" + classdir}, module);
            ASSERT_EQ(result.exitCode, 0) << result.describe();
            EXPECT_TRUE(fs::exists(site() / classdir / "p" / "A.html"));
            expectNoScript();
            const auto faults = e2e::checkLinks(site());
            EXPECT_TRUE(faults.empty()) << e2e::describe(faults);
        }
    }
}

// Links in a deprecation note lead into the detail directory from every
// page that shows the note, whatever the directory is called, and nothing
// the author writes in a note becomes part of a link that was not there.
TEST_F(HostileMarkup, DeprecationNotesLinkSafelyFromEveryPage) {
    writeText(work() / "src/shapes/Brush.java",
              "package shapes;\n\n/** Paints a stroke. */\npublic class Brush {\n"
              "    /** Strokes the path. */\n    public void stroke() {}\n}\n");
    const std::string penNote =
        "use {@link Brush#stroke()} instead; see <a href=\"{@docRoot}/index.html\">the overview</a>";
    const std::string inkLink = "java**classdir**script:alert(1)";
    const std::string inkNote = "the **classdir** folder is gone; see <a href=\"" + inkLink + "\">notes</a>";
    writeText(work() / "src/shapes/Pen.java",
              "package shapes;\n\n/** Draws lines. */\npublic class Pen {\n"
              "    /**\n     * Draws a line.\n     * @deprecated " + penNote + "\n     */\n"
              "    @Deprecated\n    public void line() {}\n"
              "    /**\n     * Fills with ink.\n     * @deprecated " + inkNote + "\n     */\n"
              "    @Deprecated\n    public void ink() {}\n}\n");
    for (const std::string& classdir : {std::string("projects"), std::string("x\" onload=\"alert(1)"),
                                        std::string(" javascript:alert(1)"), std::string(".")}) {
        SCOPED_TRACE("-classdir=" + classdir);
        const auto result = document({"src"}, {"-classdir=" + classdir});
        ASSERT_EQ(result.exitCode, 0) << result.describe();
        expectNoScript();
        // The note's own link goes nowhere, as its author wrote it.
        auto faults = e2e::checkLinks(site());
        std::erase_if(faults, [&](const e2e::LinkFault& f) { return f.reference == inkLink; });
        EXPECT_TRUE(faults.empty()) << e2e::describe(faults);
        const std::string page = e2e::readFile(site() / "index-deprecated-list.html");
        const std::string list = e2e::shownText(page);
        for (const char* shown : {"use Brush.stroke() instead; see the overview",
                                  "the **classdir** folder is gone; see notes"})
            EXPECT_TRUE(contains(list, shown)) << shown << "\n" << list;
        const auto links = e2e::scanPage(page).links;
        EXPECT_TRUE(std::any_of(links.begin(), links.end(), [](const e2e::PageLink& link) {
            return link.value.ends_with("shapes/Brush.html#stroke()");
        })) << page;
    }
}

// A comment keeps its HTML but never runs script: the tags that could are
// shown as text, and a warning names the file and line.
TEST_F(HostileMarkup, ScriptInACommentIsShownAsText) {
    writeText(work() / "src/Hostile.java",
              "package p;\n"
              "\n"
              "/**\n"
              " * A <b>bold</b> class, see <a href=\"http://example.org/x\">the site</a>.\n"
              " * <script>alert(1)</script> <SCRIPT >alert(2)</SCRIPT>\n"
              " * <img src=x onerror=alert(3)> <a href=\" javascript:alert(4)\">a</a>\n"
              " * <a href=\"jav&#x61;script:alert(5)\">b</a> <iframe src=javascript:alert(6)></iframe>\n"
              " * <a href='vbscript:msgbox(7)'>c</a> <a href=\"data:text/html,<script>alert(8)</script>\">d</a>\n"
              " * <style>body { background: red }</style> <object data=x></object> <embed src=y>\n"
              " */\n"
              "public class Hostile {\n"
              "    /** A method <b onmouseover=\"alert(9)\">here</b>. */\n"
              "    public void m() {}\n"
              "}\n");
    writeText(work() / "cs/Tool.cs",
              "namespace N {\n"
              "/// <summary>A tool <img src=x onerror=alert(10)> with <code>code</code>.</summary>\n"
              "public class Tool { }\n"
              "}\n");
    for (const char* module : {"vantry-standard", "vantry-old"}) {
        SCOPED_TRACE(module);
        const auto result = document({"src", "cs=N"}, {"-accept3slash"}, module);
        ASSERT_EQ(result.exitCode, 0) << result.describe();
        expectNoScript();
        const std::string text = wholeSite();
        EXPECT_TRUE(contains(text, "<b>bold</b>"));
        EXPECT_TRUE(contains(text, "<a href=\"http://example.org/x\">the site</a>"));
        EXPECT_TRUE(contains(text, "<code>code</code>"));
        EXPECT_TRUE(contains(text, "alert(1)")) << "the script was dropped, not shown";
        for (const char* warned : {"on line 3 is shown as text (src/Hostile.java)",
                                   "on line 12 is shown as text (src/Hostile.java)",
                                   "on line 2 is shown as text (cs/Tool.cs)"})
            EXPECT_TRUE(contains(result.err, warned)) << warned << "\n" << result.describe();
    }
}

// Sources saved in UTF-16 or UTF-32 with a byte-order mark are read as the
// UTF-8 they stand for; a UTF-8 mark keeps working.
TEST_F(HostileMarkup, UnicodeSourcesWithAByteOrderMarkAreRead) {
    auto encode = [](const std::string& ascii, int width, bool little) {
        std::string out;
        auto unit = [&](std::uint32_t value) {
            for (int k = 0; k < width; ++k)
                out += static_cast<char>((value >> (8 * (little ? k : width - 1 - k))) & 0xFF);
        };
        unit(0xFEFF);
        for (unsigned char c : ascii) unit(c);
        return out;
    };
    const std::string cs = "namespace N {\r\n/// <summary>Sixteen.</summary>\r\npublic class Utf16Class { }\r\n}\r\n";
    const std::string cpp = "/** Thirty-two. */\nclass Utf32Class {\npublic:\n    /** f. */\n    void f();\n};\n";
    writeText(work() / "src/le16.cs", encode(cs, 2, true));
    writeText(work() / "src/be16.cs", encode(replaceAll(cs, "Utf16Class", "Utf16BigClass"), 2, false));
    writeText(work() / "src/le32.h", encode(cpp, 4, true));
    writeText(work() / "src/be32.h", encode(replaceAll(cpp, "Utf32Class", "Utf32BigClass"), 4, false));
    writeText(work() / "src/u8.h", "\xEF\xBB\xBF/** Eight. */\nclass Utf8Class { };\n");
    const auto result = document({"src"}, {"-accept3slash", "-extensions=cs,h"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_FALSE(contains(result.err, "understand")) << result.describe();
    const std::string text = wholeSite();
    for (const char* name : {"Utf16Class", "Utf16BigClass", "Utf32Class", "Utf32BigClass", "Utf8Class"})
        EXPECT_TRUE(contains(text, std::string("<B>") + name + "</B>") || contains(text, std::string(">") + name + "<"))
            << name;
    EXPECT_TRUE(contains(text, "Sixteen."));
    EXPECT_TRUE(contains(text, "Thirty-two."));
    // The listing shows the decoded text.
    EXPECT_TRUE(contains(e2e::readFile(site() / "projects" / "src" / "le32.h.html"), "class</font> Utf32Class"));
}

// A chain of single inheritances: each page draws only its nearest 200
// ancestors, below a line "...", and the run names each class cut so.
TEST_F(HostileMarkup, APageDrawsABoundedPartOfALongAncestry) {
    const int depth = 600;
    std::string source = "package p;\n/** c0 */ class C0 { /** m0 */ public void m0() {} }\n";
    for (int i = 1; i < depth; ++i) {
        const std::string n = std::to_string(i);
        source += "/** c" + n + " */ class C" + n + " extends C" + std::to_string(i - 1) + " { /** m" + n +
                  " */ public void m" + n + "() {} }\n";
    }
    writeText(work() / "src/p/Chain.java", source);
    for (const char* module : {"vantry-standard", "vantry-old"}) {
        SCOPED_TRACE(module);
        const auto result = document({"src"}, {"-sourcedir=-"}, module);
        // A warning of the module phase makes the status 1; the site is whole.
        EXPECT_EQ(result.exitCode, 1) << result.describe();
        EXPECT_TRUE(contains(result.err, "Done (error).")) << result.describe();
        EXPECT_TRUE(fs::exists(site() / "index.html"));
        // The standard module's tree draws the implicit root Object too.
        const int firstCut = std::string(module) == "vantry-standard" ? 200 : 201;
        for (int i = 0; i < depth; ++i) {
            const std::string warning =
                "The page of class C" + std::to_string(i) + " shows only its nearest 200 ancestors.";
            EXPECT_EQ(contains(result.err, warning), i >= firstCut) << warning;
        }
        const std::string page = e2e::readFile(site() / "projects" / "p" / "C599.html");
        const std::string tree = page.substr(page.find("<PRE>"), page.find("</PRE>") - page.find("<PRE>"));
        EXPECT_EQ(tree.find("<PRE>\n...\n"), 0u) << tree.substr(0, 200);
        std::size_t at = 0;
        for (int i = 399; i < depth - 1; ++i) {
            const std::string link = "C" + std::to_string(i) + ".html\">C" + std::to_string(i) + "</a>";
            at = tree.find(link, at);
            ASSERT_NE(at, std::string::npos) << link;
        }
        EXPECT_FALSE(contains(page, "C398.html")) << "an ancestor beyond the bound is drawn";
        EXPECT_TRUE(contains(tree, "<B>C599</B>"));
    }
}

// A line of millions of tokens is listed whole, but coloured only in its
// first 10000 tokens; the run says so.
TEST_F(HostileMarkup, AHugeLineIsListedWithBoundedMarkup) {
    std::string line = "    public static int[] a = {";
    for (int i = 0; i < 200000; ++i) line += std::to_string(i % 10) + ",";
    line += "0};";
    writeText(work() / "src/p/Huge.java", "package p;\n/** H. */\npublic class Huge {\n" + line + "\n    int b;\n}\n");
    const auto result = document({"src"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "Line 4 of src/p/Huge.java is listed in colour only in its first 10000 tokens."))
        << result.describe();
    const std::string listing = e2e::readFile(site() / "projects" / "p" / "Huge.java.html");
    const std::size_t lineStart = listing.find("    <font color=\"blue\">public</font>");
    ASSERT_NE(lineStart, std::string::npos);
    const std::string listed = listing.substr(lineStart, listing.find('\n', lineStart) - lineStart);
    // Behind the last coloured token the line stands as written, and that
    // is all but the first few thousand of its 400,000 characters.
    const std::string plainTail = listed.substr(listed.rfind("</font>") + 7);
    EXPECT_EQ(line.substr(line.size() - plainTail.size()), plainTail);
    EXPECT_GT(plainTail.size(), line.size() - 30000);
    // The next line is coloured again.
    EXPECT_TRUE(contains(listing, "\n    <font color=\"blue\">int</font> b"));
}

// A colour is a colour name or "#" and six hexadecimal digits: anything
// else is refused before the run, naming the option, and never reaches a
// colour attribute.
TEST_F(HostileMarkup, AColourOptionThatIsNotAColourIsRefused) {
    writeText(work() / "src/a.cpp", "/** A. */\nclass A { int x; };\n");
    const std::string hostile = "red\" onmouseover=\"alert(1)";
    const std::vector<std::string> options{"syntax-color-comment", "syntax-color-keyword",
                                           "syntax-color-user-keyword", "syntax-color-string",
                                           "syntax-color-number", "syntax-color-operator",
                                           "syntax-color-paren", "header-background-dark",
                                           "header-background-light", "table-background",
                                           "selected-text-background", "selected-text-foreground"};
    for (const std::string& option : options) {
        const auto result = document({"src"}, {"-" + option + "=" + hostile});
        EXPECT_EQ(result.exitCode, 2) << option << "\n" << result.describe();
        EXPECT_TRUE(contains(result.err, "-" + option + "=" + hostile + ": the value must be a colour name"))
            << result.describe();
        EXPECT_FALSE(fs::exists(site() / "index.html")) << option;
    }
    const auto result = document({"src"}, {"-syntax-color-comment=Teal", "-table-background=#A0b0C0"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    expectNoScript();
    EXPECT_TRUE(contains(wholeSite(), "<font color=\"Teal\">")) << "the listing lost its colour";
}

// A module that throws from an option export is an error of that module,
// not the end of the program.
TEST_F(HostileMarkup, AModuleThatThrowsFromItsOptionsIsAnErrorNotACrash) {
    writeText(work() / "src/a.cpp", "/** A. */\nclass A { };\n");
    env_["VANTRY_RECORD_FILE"] = (logs() / "record.txt").string();
    for (const char* thrown : {"setOptions:std", "getOptions:std", "setOptions:velk"}) {
        env_["VANTRY_RECORD_THROW"] = thrown;
        fs::remove_all(site());
        const auto result = run(documentArgs({"src"}, {"-a=1"}, "vantry-recording"));
        EXPECT_EQ(result.termSignal, 0) << thrown;
        EXPECT_EQ(result.exitCode, 1) << thrown << "\n" << result.describe();
        EXPECT_TRUE(contains(result.err, "Recording module")) << result.describe();
    }
}

// Without a display, a Qt platform named in QT_QPA_PLATFORM that cannot
// start here is said so, and the run goes on unattended.
TEST_F(HostileMarkup, AQtPlatformThatCannotStartLeavesTheRunUnattended) {
    writeText(work() / "src/a.h", "/** A. */\nclass A { };\n");
    env_["XDG_RUNTIME_DIR"] = tmp().string();  // no Wayland display there
    for (const char* platform : {"xcb", "wayland", "eglfs", "linuxfb", "no-such-platform"}) {
        SCOPED_TRACE(platform);
        env_["QT_QPA_PLATFORM"] = platform;
        const auto result = document({"src"});
        EXPECT_EQ(result.termSignal, 0);
        EXPECT_EQ(result.exitCode, 0) << result.describe();
        EXPECT_TRUE(contains(result.err, std::string("the Qt platform \"") + platform + "\" (QT_QPA_PLATFORM) cannot start"))
            << result.describe();
        EXPECT_TRUE(fs::exists(site() / "projects" / "src" / "A.html"));
    }
}

// A hang-up cancels as SIGTERM does.
TEST_F(HostileMarkup, AHangUpCancelsTheRun) {
    for (int i = 0; i < 400; ++i)
        writeText(work() / "big" / ("C" + std::to_string(i) + ".java"),
                  "package big;\n/** C. */\npublic class C" + std::to_string(i) + " { /** m. */ public void m() {} }\n");
    e2e::ChildSignals hangUp{"Counting files...", SIGHUP, 1};
    const auto result = e2e::runChild(program_, documentArgs({"big=big"}, {}), childEnvironment(env_), work(), logs(),
                                      hangUp, kTimeLimit);
    EXPECT_EQ(result.termSignal, 0) << result.describe();
    EXPECT_EQ(result.exitCode, 3) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: hung up: cancelling")) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: Cancelled.")) << result.describe();
    EXPECT_TRUE(fs::is_empty(tmp())) << "temporary files left behind";
}

// Standard error that closes early (as into "| head -1") loses messages,
// never the run.
TEST_F(HostileMarkup, AClosedStandardErrorDoesNotEndTheRun) {
    writeText(work() / "src/a.h", "/** A. */\nclass A { };\n");
    const auto args = documentArgs({"src"}, {});
    std::vector<std::string> argv{program_.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto env = childEnvironment(env_);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(ends[1], STDERR_FILENO);
        ::close(ends[0]);
        ::close(ends[1]);
        if (::chdir(work().c_str()) != 0) ::_exit(126);
        const int devNull = ::open("/dev/null", O_RDWR);
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
        std::vector<char*> cargs, cenv;
        for (const auto& a : argv) cargs.push_back(const_cast<char*>(a.c_str()));
        for (const auto& e : env) cenv.push_back(const_cast<char*>(e.c_str()));
        cargs.push_back(nullptr);
        cenv.push_back(nullptr);
        ::execve(cargs[0], cargs.data(), cenv.data());
        ::_exit(127);
    }
    // Nobody reads: the child's first message meets a closed pipe.
    ::close(ends[0]);
    ::close(ends[1]);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeLimit);
    pid_t ended = 0;
    while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "the run did not end";
    }
    EXPECT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(fs::exists(site() / "projects" / "src" / "A.html"));
}

// File names holding terminal control sequences are shown escaped in the
// messages; nothing from a name reaches the terminal raw.
TEST_F(HostileMarkup, ControlCharactersInFileNamesAreShownEscaped) {
    const std::vector<std::string> names{"t\x1b]0;owned\x07.h", "c\x1b[2J.h", "n\nvantry: Done.\n.h"};
    for (const std::string& name : names) writeText(work() / "src" / name, "/** <script>x</script> */\nclass K { };\n");
    const auto result = document({"src"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << result.describe();
    EXPECT_EQ(result.err.find('\x07'), std::string::npos) << result.describe();
    for (const char* shown : {"(src/t\\x1B]0;owned\\x07.h)", "(src/c\\x1B[2J.h)", "(src/n\\x0Avantry: Done.\\x0A.h)"})
        EXPECT_TRUE(contains(result.err, shown)) << shown << "\n" << result.describe();
    // The one line that says "Done." is the program's own.
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = result.err.find("\nvantry: Done.", at)) != std::string::npos; ++at) ++lines;
    if (result.err.rfind("vantry: Done.", 0) == 0) ++lines;
    EXPECT_EQ(lines, 1u) << result.describe();
}

// A text from the environment, the settings or the command line that a
// message names is shown with its control characters escaped, as file
// names are: no line of the output is one that the text wrote.
TEST_F(HostileMarkup, TextsFromOutsideInMessagesAreShownEscaped) {
    writeText(work() / "src/a.h", "/** A. */\nclass A { };\n");
    const std::string fake = "\nvantry: index file: /tmp/fake.html";
    const std::string shown = "\\x0Avantry: index file: /tmp/fake.html";
    auto expectShownEscaped = [&](const e2e::ChildResult& result, const std::string& part) {
        EXPECT_TRUE(contains(result.err, part)) << part << "\n" << result.describe();
        std::istringstream lines(result.err);
        for (std::string line; std::getline(lines, line);)
            EXPECT_NE(line.rfind("vantry: index file: /tmp/fake", 0), 0u) << result.describe();
    };

    env_["VANTRY_WEB_SITE"] = "x" + fake;
    auto result = document({"src"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    expectShownEscaped(result, "vantry: warning: The web site \"x" + shown + "\" (VANTRY_WEB_SITE) is no http");
    env_.erase("VANTRY_WEB_SITE");

    // The settings file's folder, named by XDG_CONFIG_HOME.
    const fs::path config = work() / ("config" + fake);
    fs::create_directories(config / "velkdask/Vantry.ini");
    env_["XDG_CONFIG_HOME"] = config.string();
    result = document({"src"});
    expectShownEscaped(result, "the settings file " + (work() / "config").string() + shown +
                                   "/velkdask/Vantry.ini is not a regular file");
    env_["XDG_CONFIG_HOME"] = this->config().string();

    const std::pair<std::vector<std::string>, std::string> commandLines[] = {
        {{"gone" + fake}, "vantry: error: The input \"gone" + shown + "\" does not exist"},
        {{"-header=h" + fake, "src"}, "vantry: error: -header: there is no file \"h" + shown + "\""},
        {{"-classdir=..\\" + fake, "src"}, "vantry: error: The value \"..\\" + shown + "\" of -classdir leaves"},
        {{"-index-file-base=i" + fake, "src"}, "\"i" + shown + "\" of -index-file-base"},
        {{"-languages=h=c" + fake, "src"}, "-languages: The language \"c" + shown + "\" is not known"},
        {{"-tab" + fake, "src"}, "vantry: warning: unknown option -tab" + shown},
    };
    for (const auto& [arguments, part] : commandLines) {
        std::vector<std::string> inputs, options;
        for (const std::string& argument : arguments) (argument[0] == '-' ? options : inputs).push_back(argument);
        expectShownEscaped(document(inputs, options), part);
    }

    // The index file named after "Done.".
    fs::remove_all(site());
    result = run({"-autorun", "-overwrite", "-moduledir=" + moduleDir_.string(), "src", "out" + fake + "/index.html"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    expectShownEscaped(result, "vantry: index file: " + work().string() + "/out" + shown + "/index.html\n");
}

// A VANTRY_THREADS that is not a whole number from 1 to 256 is named in a
// warning, and the run uses the default.
TEST_F(HostileMarkup, AnUnusableThreadCountIsWarnedAbout) {
    writeText(work() / "src/a.h", "/** A. */\nclass A { };\n");
    for (const char* value : {"0", "-1", "abc", "257", "100000", ""}) {
        SCOPED_TRACE(value);
        env_["VANTRY_THREADS"] = value;
        const auto result = document({"src"});
        EXPECT_EQ(result.exitCode, 0) << result.describe();
        EXPECT_TRUE(contains(result.err, std::string("vantry: warning: VANTRY_THREADS=\"") + value +
                                             "\" is not a whole number from 1 to 256"))
            << result.describe();
        EXPECT_TRUE(fs::exists(site() / "projects" / "src" / "A.html"));
    }
    env_["VANTRY_THREADS"] = "3";
    const auto result = document({"src"});
    EXPECT_FALSE(contains(result.err, "VANTRY_THREADS")) << result.describe();
}

}  // namespace
