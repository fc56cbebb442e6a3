// The program run over input that somebody else wrote, as a CI job runs it
// over a contributor's branch: names that try to become markup, links that
// point out of the tree, names too long for the file system, a broken
// environment, inputs that try to make the run endless, options that aim
// outside the output directory. Each case builds its tree in a fresh
// temporary folder and runs the program as a child under a time limit.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <fstream>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

// Generous for the sanitizer build; a hang or a quadratic blow-up still
// runs into it by far.
constexpr int kTimeLimit = 90;

// The attribute names of every tag of a page, lower-cased; a name that an
// injected quote let out of its value shows up here.
std::vector<std::string> attributeNames(const std::string& html) {
    std::vector<std::string> names;
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
        while (i < html.size() && html[i] != '>') {
            while (i < html.size() && std::isspace(static_cast<unsigned char>(html[i]))) ++i;
            std::size_t nameStart = i;
            while (i < html.size() && html[i] != '=' && html[i] != '>' &&
                   !std::isspace(static_cast<unsigned char>(html[i])))
                ++i;
            std::string name = html.substr(nameStart, i - nameStart);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (!name.empty()) names.push_back(name);
            if (i < html.size() && html[i] == '=') {
                ++i;
                if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                    std::size_t close = html.find(html[i], i + 1);
                    i = close == std::string::npos ? html.size() : close + 1;
                } else {
                    while (i < html.size() && html[i] != '>' && !std::isspace(static_cast<unsigned char>(html[i])))
                        ++i;
                }
            }
        }
        at = i;
    }
    return names;
}

class HostileInput : public e2e::ProgramFixture {
protected:
    HostileInput() : ProgramFixture("hostile") {}

    fs::path site() const { return work() / "out"; }
    fs::path settingsFile() const { return config() / "velkdask" / "Vantry.ini"; }

    e2e::ChildResult run(const std::vector<std::string>& args) { return runInWork(args, kTimeLimit); }

    // A documenting run of the inputs into out/<page>.
    e2e::ChildResult document(std::vector<std::string> inputs, const std::vector<std::string>& extra = {},
                              const std::string& page = "index.html") {
        std::vector<std::string> args{"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                                      "-moduledir=" + moduleDir_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), inputs.begin(), inputs.end());
        args.push_back("out/" + page);
        return run(args);
    }

    std::string wholeSite() const {
        std::string text;
        for (const auto& file : e2e::listFiles(site())) text += e2e::readFile(site() / file);
        return text;
    }

    void expectSoundSite(const std::string& start) const {
        for (const auto& file : e2e::listFiles(site())) {
            if (file.size() < 5 || file.compare(file.size() - 5, 5, ".html") != 0) continue;
            for (const auto& name : attributeNames(e2e::readFile(site() / file)))
                EXPECT_NE(name.rfind("on", 0), 0u) << "injected attribute " << name << " in " << file;
        }
        const auto faults = e2e::checkLinks(site());
        EXPECT_TRUE(faults.empty()) << e2e::describe(faults);
        EXPECT_EQ(e2e::unreachablePages(site(), start), std::vector<std::string>{});
    }
};

TEST_F(HostileInput, NamesFromSourcesFilesAndOptionsNeverBecomeMarkup) {
    writeText(work() / "src/A.java",
              "package x\"onmouseover=\"alert(1)\"y=\";\n/** A class. */\npublic class A {\n"
              "    /** A method. */\n    public void m() {}\n}\n");
    // No "=" in the folder's name: that would name the project.
    writeText(work() / "d\"><b onfocus x>%41/b.h", "/** B. */\nclass B {};\n");
    writeText(work() / "named/c.h", "/** C. */\nclass C {};\n");
    const auto result = document({"src", "d\"><b onfocus x>%41", "named=P\"onload=\"z()"},
                                 {"-title=T\"<i onmouseover=1>", "-index-file-base=i#x"}, "c#.html");
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    expectSoundSite("c#.html");
    EXPECT_TRUE(fs::exists(site() / "c#-overview-summary.html"));
}

TEST_F(HostileInput, LinksOutOfTheListedRootsAreSkippedAndNamed) {
    writeText(work() / "in/a.h", "/** Kept. */\nclass KeptClass {};\n");
    writeText(work() / "outside/secret.h", "/** Secret. */\nclass SecretClass {};\n");
    writeText(work() / "other/o.h", "/** Other root. */\nclass OtherRootClass {};\n");
    fs::create_directories(work() / "in/sub");
    fs::create_symlink("/proc/self/environ", work() / "in/env.cpp");
    fs::create_symlink("../outside/secret.h", work() / "in/secret.h");
    fs::create_symlink("../..", work() / "in/up");
    fs::create_symlink("..", work() / "in/sub/loop");
    fs::create_symlink("../other", work() / "in/toOther");
    env_["VANTRY_CI_TOKEN"] = "tok-3141592653";

    const auto result = document({"in", "other"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    const std::string text = wholeSite();
    EXPECT_FALSE(contains(text, "tok-3141592653")) << "the environment was published";
    EXPECT_FALSE(contains(text, "SecretClass"));
    EXPECT_TRUE(contains(text, "KeptClass"));
    EXPECT_TRUE(contains(text, "OtherRootClass"));
    for (const char* link : {"env.cpp", "secret.h", "up"})
        EXPECT_TRUE(contains(result.err, std::string("in/") + link)) << "no warning names " << link << "\n"
                                                                    << result.describe();
    EXPECT_FALSE(contains(result.err, "toOther")) << "a link into a listed root is followed";
    expectSoundSite("index.html");
}

TEST_F(HostileInput, NamesTooLongForTheFileSystemAreShortenedAndTheWholeSiteWritten) {
    const std::string longClass(251, 'K');
    writeText(work() / "cpp/long.h", "/** Long. */\nclass " + longClass + " {\npublic:\n    /** f. */\n    void f();\n};\n");
    std::string ns;
    for (int i = 0; i < 50; ++i) ns += (i ? "." : "") + std::string("Part") + std::to_string(i);
    writeText(work() / "cs/n.cs", "namespace " + ns + " {\n/** Deep. */\npublic class Deep { }\n}\n");
    writeText(work() / "java/P.java",
              "package " + std::string(300, 'p') + "\n/** P. */\npublic class P { }\n");
    const auto result = document({"cpp", "cs", "java"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "Done.")) << result.describe();
    for (const char* page : {"index-overview-summary.html", "index-overview-tree.html",
                             "index-deprecated-list.html", "index-all.html", "index-allclasses-frame.html"})
        EXPECT_TRUE(fs::exists(site() / page)) << page;
    for (const auto& file : e2e::listFiles(site()))
        for (const auto& part : fs::path(file)) EXPECT_LE(part.string().size(), 255u) << file;
    const std::string text = wholeSite();
    EXPECT_TRUE(contains(text, longClass));
    EXPECT_TRUE(contains(text, "Deep"));
    expectSoundSite("index.html");
}

// Reading needs no temporary directory, so one that cannot be used changes
// nothing; an output folder that cannot be made ends the start.
TEST_F(HostileInput, AFailingEnvironmentFailsOnlyWhatNeedsIt) {
    for (int i = 0; i < 3; ++i) writeText(work() / "src" / ("f" + std::to_string(i) + ".h"), "class F" + std::to_string(i) + " {};\n");
    writeText(work() / "notADirectory", "x");
    for (const fs::path& temp : {root_ / "missing", work() / "notADirectory"}) {
        env_["TMPDIR"] = temp.string();
        const auto result = document({"src"});
        EXPECT_EQ(result.exitCode, 0) << temp << "\n" << result.describe();
        EXPECT_FALSE(contains(result.err, "was unsuccessful")) << result.describe();
        EXPECT_TRUE(contains(result.err, "Done.")) << result.describe();
    }
    env_["TMPDIR"] = tmp().string();
    auto args = std::vector<std::string>{"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                                         "-moduledir=" + moduleDir_.string(), "src", "notADirectory/out/index.html"};
    const auto result = run(args);
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_FALSE(contains(result.err, "Done.")) << result.describe();
}

TEST_F(HostileInput, WorkStaysBoundedWhateverTheInputAsks) {
    writeText(work() / "tabs/t.cpp", "\tint a;\n\t\tint b;\n\t\t\tint c;\n");
    auto result = document({"tabs"}, {"-source-code-tab-size=2147483647"});
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    result = document({"tabs"}, {"-source-code-tab-size=99"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_LT(fs::file_size(site() / "projects/tabs/t.cpp.html"), 64u * 1024) << "tabs were not bounded";

    // A macro of thousands of tokens, used thousands of times in another.
    std::string body, uses;
    for (int i = 0; i < 3000; ++i) body += " t" + std::to_string(i);
    for (int i = 0; i < 3000; ++i) uses += " HUGE_MACRO";
    writeText(work() / "macro/a.h", "#define HUGE_MACRO" + body + "\n#define USES" + uses +
                                        "\nUSES\nUSES\n/** After. */\nclass AfterMacros {};\n");
    fs::remove_all(site());
    result = document({"macro"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "AfterMacros"));
    EXPECT_TRUE(contains(result.err, "HUGE_MACRO")) << "no warning names the macro\n" << result.describe();
    EXPECT_LT(result.maxRssKiB, 1024L * 1024) << result.describe();

    // A settings file of very many keys is read in one pass.
    std::string ini = "[General]\n";
    for (int i = 0; i < 80000; ++i) ini += "Key" + std::to_string(i) + "=v\n";
    writeText(settingsFile(), ini);
    writeText(work() / "small/s.h", "class S {};\n");
    fs::remove_all(site());
    result = document({"small"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_LT(result.wallSeconds, 30) << result.describe();

    // A FIFO where the settings file belongs never blocks the program.
    fs::remove(settingsFile());
    ASSERT_EQ(mkfifo(settingsFile().c_str(), 0600), 0);
    fs::remove_all(site());
    result = document({"small"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, settingsFile().string())) << result.describe();
}

TEST_F(HostileInput, OneRuleNamesProjectFoldersAndNoProjectOverwritesAnother) {
    writeText(work() / "lib1/src/util.h", "/** One. */\nclass One {};\n");
    writeText(work() / "lib2/src/util.h", "/** Two. */\nclass Two {};\n");
    writeText(work() / "my lib[1]:x/a|b.h", "/** Three. */\nclass Three {};\n");
    const auto result = document({"lib1/src", "lib2/src", "my lib[1]:x"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    int oneListings = 0, twoListings = 0;
    for (const auto& file : e2e::listFiles(site())) {
        if (!contains(file, "util.h.html")) continue;
        const std::string page = e2e::readFile(site() / file);
        oneListings += contains(page, "One");
        twoListings += contains(page, "Two");
    }
    EXPECT_EQ(oneListings, 1);
    EXPECT_EQ(twoListings, 1);
    const auto files = e2e::listFiles(site());
    const auto three = std::find_if(files.begin(), files.end(),
                                    [](const std::string& f) { return contains(f, "Three.html"); });
    ASSERT_NE(three, files.end());
    EXPECT_TRUE(contains(e2e::readFile(site() / *three), "a|b.h")) << "the file list was split";
    expectSoundSite("index.html");
}

TEST_F(HostileInput, OptionsCannotAimOutsideTheOutputDirectory) {
    writeText(work() / "src/a.h", "class A {};\n");
    const auto before = e2e::snapshotTree(root_, {"logs", "work/out"});
    for (const char* option : {"-classdir=../../x", "-classdir=/tmp/x", "-classdir=C:\\docs",
                               "-index-file-base=../../x", "-index-file-base=sub/idx",
                               "-index-file-base=x/.."}) {
        const auto result = document({"src"}, {option});
        EXPECT_EQ(result.exitCode, 2) << option << "\n" << result.describe();
        const std::string flag = option;
        EXPECT_TRUE(contains(result.err, " of " + flag.substr(0, flag.find('=')) + " ")) << result.describe();
        EXPECT_FALSE(contains(result.err, "Counting files")) << result.describe();
        EXPECT_EQ(e2e::diffSnapshots(before, e2e::snapshotTree(root_, {"logs", "work/out"})), "") << option;
    }
    fs::create_directories(work() / "existing");
    const auto result = run({"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                             "-moduledir=" + moduleDir_.string(), "src", "existing"});
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_TRUE(fs::is_empty(work() / "existing"));
    EXPECT_FALSE(fs::exists(work() / "projects"));
}

// A value that cannot work ends the start before the run, naming what is
// wrong: nothing is counted, parsed or written.
TEST_F(HostileInput, ValuesThatCannotWorkAreRefusedBeforeTheRun) {
    writeText(work() / "src/a.h", "/** A. */\nclass A {};\n");
    const auto before = e2e::snapshotTree(root_, {"logs"});
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"gone"}, "vantry: error: The input \"gone\" does not exist; name a file or folder to document.\n"},
        {{"src", "src/b.h"}, "vantry: error: The input \"src/b.h\" does not exist;"},
        {{"-header=head.html", "src"}, "vantry: error: -header: there is no file \"head.html\";"},
        {{"-item=src", "src"}, "vantry: error: -item: \"src\" is not a regular file;"},
        {{"-source-code-tab-size=-3", "src"}, "vantry: error: -source-code-tab-size=-3: the value must be"},
        {{"-classdir=C:\\docs", "src"}, "vantry: error: The value \"C:\\docs\" of -classdir is no relative path"},
    };
    for (const auto& [arguments, shown] : cases) {
        std::vector<std::string> inputs, options;
        for (const std::string& argument : arguments) (argument[0] == '-' ? options : inputs).push_back(argument);
        const auto result = document(inputs, options);
        EXPECT_EQ(result.exitCode, 2) << result.describe();
        EXPECT_TRUE(contains(result.err, shown)) << shown << "\n" << result.describe();
        EXPECT_FALSE(contains(result.err, "Counting files")) << result.describe();
        EXPECT_EQ(e2e::diffSnapshots(before, e2e::snapshotTree(root_, {"logs"})), "") << arguments.front();
    }
    // A commented-out entry is skipped as before; an empty header is none.
    const auto result = document({"#gone", "src"}, {"-header="});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(fs::exists(site() / "index.html"));
}

// A language word that names no language is read as C++, as always, but
// said once, with the languages there are.
TEST_F(HostileInput, AnUnknownLanguageIsNamedOnce) {
    writeText(work() / "shop/Cart.cs", "namespace Shop {\n/** A cart. */\npublic class Cart {}\n}\n");
    auto result = document({"shop=Shop"}, {"-languages=cs=cobol,csx=cobol,h=c++"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    const std::string warning =
        "vantry: warning: -languages: The language \"cobol\" is not known; cs and csx are read as C++. The "
        "languages are cpp (or c++), csharp (or c#, cs, c_sharp) and java.\n";
    EXPECT_TRUE(contains(result.err, warning)) << result.describe();
    EXPECT_EQ(result.err.find("cobol"), result.err.rfind("cobol")) << result.describe();
    result = document({"shop=Shop"}, {"-languages=cs=C#"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_FALSE(contains(result.err, "warning")) << result.describe();
}

// A detail directory written with a way through another folder names the
// folder it ends in: the pages go there, and every link is made from
// there, in both modules.
TEST_F(HostileInput, ADetailDirectoryWithAWayUpIsTheFolderItNames) {
    writeText(work() / "src/shop/Cart.java",
              "package shop;\n/** A cart of {@link Line lines}. */\npublic class Cart {\n"
              "    /** Adds one. @param line the line */\n    public void add(Line line) {}\n}\n");
    writeText(work() / "src/shop/Line.java", "package shop;\n/** A line of a {@link Cart}. */\npublic class Line {}\n");
    for (const char* module : {"vantry-standard", "vantry-old"}) {
        for (const char* folder : {"a/../b", "a\\..\\b", "./x/../b/"}) {
            SCOPED_TRACE(std::string(module) + " " + folder);
            fs::remove_all(site());
            const auto result = document({"src=shop"}, {"-module=" + std::string(module), "-classdir=" + std::string(folder)});
            ASSERT_EQ(result.exitCode, 0) << result.describe();
            EXPECT_TRUE(fs::exists(site() / "b/shop/Cart.html"));
            EXPECT_TRUE(fs::exists(site() / "b/shop/Line.html"));
            EXPECT_FALSE(fs::exists(site() / "a"));
            EXPECT_FALSE(fs::exists(site() / "x"));
            const e2e::SiteReport report = e2e::checkSite(site(), e2e::AuthoredLinks({work() / "src"}, site()));
            EXPECT_TRUE(report.clean()) << e2e::describe(report);
            EXPECT_GT(report.localLinks, 0u);
        }
    }
}

TEST_F(HostileInput, OldMacFilesAndQuotedPathsAreReadAsTheyStand) {
    writeText(work() / "mac\"q/m.h",
              "/** First class. */\rclass First {};\r/** Second class. */\rclass Second {};\r");
    const auto result = document({"mac\"q"});
    ASSERT_EQ(result.exitCode, 0) << result.describe();
    const std::string text = wholeSite();
    EXPECT_TRUE(contains(text, "Second class.")) << result.describe();
    expectSoundSite("index.html");
}

}  // namespace
