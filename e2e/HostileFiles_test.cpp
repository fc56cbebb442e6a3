// The program run over a tree and an output folder that somebody else
// prepared: links and FIFOs where summaries, templates, pages and sources
// belong, endless and huge files, folders it may not read, option values
// that name nothing to document or a file it must not write. Each case
// builds its tree in a fresh temporary folder and runs the program as a
// child under a time limit: nothing from outside the inputs reaches the
// site, nothing outside the output folder is written, no run hangs or
// crashes, and the exit status says what happened.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"
#include "e2e/SiteCheck.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;
using e2e::writeText;

// Generous for the sanitizer build; a blocked open runs into it by far.
constexpr int kTimeLimit = 90;

// A file of `size` bytes that takes no room on the disk.
void writeSparse(const fs::path& file, std::uintmax_t size) {
    writeText(file, "x");
    fs::resize_file(file, size);
}

void makeFifo(const fs::path& path) {
    fs::create_directories(path.parent_path());
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

class HostileFiles : public e2e::ProgramFixture {
protected:
    HostileFiles() : ProgramFixture("hostile-files") {}

    fs::path site() const { return work() / "out"; }

    e2e::ChildResult run(const std::vector<std::string>& args,
                         const std::vector<std::string>& wrapper = {}) {
        auto result = runInWork(args, kTimeLimit, wrapper);
        // Far below what an endless file took before it ended the program.
        EXPECT_LT(result.maxRssKiB, 768L * 1024) << result.describe();
        return result;
    }

    std::vector<std::string> baseArgs() const {
        return {"-autorun", "-autoquit", "-overwrite", "-module=vantry-standard",
                "-moduledir=" + moduleDir_.string()};
    }

    // A documenting run of the inputs into out/<page>.
    e2e::ChildResult document(const std::vector<std::string>& inputs,
                              const std::vector<std::string>& extra = {},
                              const std::string& page = "index.html",
                              const std::vector<std::string>& wrapper = {}) {
        std::vector<std::string> args = baseArgs();
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), inputs.begin(), inputs.end());
        args.push_back("out/" + page);
        return run(args, wrapper);
    }

    std::string wholeSite() const {
        std::string text;
        for (const auto& file : e2e::listFiles(site())) text += e2e::readFile(site() / file);
        return text;
    }

    void expectSoundSite() const {
        const auto faults = e2e::checkLinks(site());
        EXPECT_TRUE(faults.empty()) << e2e::describe(faults);
        EXPECT_EQ(e2e::unreachablePages(site(), "index.html"), std::vector<std::string>{});
    }
};

TEST_F(HostileFiles, SummariesFoundBesideTheInputsAreReadOnlyFromInsideThem) {
    writeText(work() / "secret-shadow", "SHADOW-LINE-27182\n");
    writeText(work() / "secret-passwd", "PASSWD-LINE-31415\n");
    writeText(work() / "projects/linked/A.h", "/** A. */\nclass AlphaClass {};\n");
    fs::create_symlink("../../secret-shadow", work() / "projects/linked/project.html");
    writeText(work() / "projects/fifo/B.h", "/** B. */\nclass BetaClass {};\n");
    makeFifo(work() / "projects/fifo/project.html");
    writeText(work() / "projects/zero/C.h", "/** C. */\nclass GammaClass {};\n");
    fs::create_symlink("/dev/zero", work() / "projects/zero/project.html");
    // A summary linked to a file inside the inputs is read as before.
    writeText(work() / "projects/inner/D.h", "/** D. */\nclass DeltaClass {};\n");
    writeText(work() / "projects/inner/notes/summary.txt", "Inner summary words.\n");
    fs::create_symlink("notes/summary.txt", work() / "projects/inner/project.html");
    // The overview beside the projects' folders.
    fs::create_symlink("../secret-passwd", work() / "projects/overview.html");

    const auto result = document({"projects/linked", "projects/fifo", "projects/zero", "projects/inner"});
    const std::string text = wholeSite();
    EXPECT_FALSE(contains(text, "SHADOW-LINE-27182")) << "a linked summary was published";
    EXPECT_FALSE(contains(text, "PASSWD-LINE-31415")) << "a linked overview was published";
    EXPECT_TRUE(contains(text, "Inner summary words.")) << result.describe();
    for (const char* name : {"linked/project.html", "fifo/project.html", "zero/project.html",
                             "/../overview.html"})
        EXPECT_TRUE(contains(result.err, name)) << "no warning names " << name << "\n" << result.describe();
    // The module reported what it skipped: a run with module reports.
    EXPECT_EQ(result.exitCode, 1) << result.describe();
    EXPECT_TRUE(contains(result.err, "Done (error).")) << result.describe();
    for (const char* cls : {"AlphaClass", "BetaClass", "GammaClass", "DeltaClass"})
        EXPECT_TRUE(contains(text, cls)) << cls;
    expectSoundSite();
}

TEST_F(HostileFiles, EndlessHugeAndBlockingFilesForThePagesAreRefused) {
    writeText(work() / "src/A.h", "/** A. */\nclass AlphaClass {};\n");
    makeFifo(work() / "fifo");
    writeSparse(work() / "huge.html", 64ull << 20);
    for (const std::string option :
         {"-header=/dev/zero", "-footer=/dev/urandom", "-item=/dev/zero", "-header=fifo",
          "-footer=fifo", "-item=fifo", "-header=huge.html"}) {
        const std::string value = option.substr(option.find('=') + 1);
        const auto result = document({"src"}, {option});
        EXPECT_EQ(result.exitCode, 2) << option << "\n" << result.describe();
        EXPECT_TRUE(contains(result.err, value)) << option << "\n" << result.describe();
        EXPECT_FALSE(fs::exists(site())) << option;
    }

    // Found by name beside the inputs: skipped with a warning, the rest of
    // the site written.
    writeSparse(work() / "src/project.html", 2ull << 30);
    fs::create_symlink("../fifo", work() / "src/overview.html");
    auto result = document({"src"}, {"-overview-html=overview.html"});
    EXPECT_EQ(result.exitCode, 1) << result.describe();
    EXPECT_TRUE(contains(result.err, "src/project.html")) << result.describe();
    EXPECT_TRUE(contains(result.err, "src/overview.html")) << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "AlphaClass"));

    // A sparse settings file of gigabytes: a warning, the defaults, a run.
    fs::remove(work() / "src/project.html");
    fs::remove(work() / "src/overview.html");
    writeSparse(config() / "velkdask/Vantry.ini", 3ull << 30);
    fs::remove_all(site());
    result = document({"src"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, (config() / "velkdask/Vantry.ini").string())) << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "AlphaClass"));
}

TEST_F(HostileFiles, FifosAndDevicesAreNeverOpenedAsFiles) {
    writeText(work() / "src/A.h", "/** A. */\nclass AlphaClass {};\n");
    makeFifo(work() / "out/index.html");
    auto result = document({"src"});
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_TRUE(contains(result.err, "out/index.html")) << result.describe();
    fs::remove(work() / "out/index.html");

    // Inputs that are no regular files document nothing: a failed run.
    makeFifo(work() / "in.fifo");
    for (const char* input : {"in.fifo", "/dev/null"}) {
        fs::remove_all(site());
        result = document({input});
        EXPECT_EQ(result.exitCode, 1) << input << "\n" << result.describe();
        EXPECT_TRUE(contains(result.err, "Done (error).")) << result.describe();
        EXPECT_TRUE(contains(result.err, input)) << result.describe();
        EXPECT_FALSE(fs::exists(site() / "index.html")) << input;
    }
}

// What a listed folder holds under a source's name that is no regular
// file is never opened (a FIFO would block the run) and is named with the
// reason; a folder of nothing else is not said to hold no source.
TEST_F(HostileFiles, SourcesInAFolderThatAreNoRegularFilesAreNamed) {
    writeText(work() / "src/p/Ok.java", "package p;\n/** Kept. */\npublic class Ok {}\n");
    makeFifo(work() / "src/p/F.java");
    fs::create_directories(work() / "devices");
    fs::create_symlink("/dev/zero", work() / "devices/zero.java");
    const auto result = document({"src", "devices"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: warning: Skipped \"src/p/F.java\": it is a FIFO, not a regular file.\n"))
        << result.describe();
    EXPECT_TRUE(contains(result.err, "vantry: warning: Skipped the symbolic link \"devices/zero.java\": its target "
                                     "is a device, not a regular file.\n"))
        << result.describe();
    EXPECT_FALSE(contains(result.err, "No file in")) << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "Kept."));
}

TEST_F(HostileFiles, ExtensionsThatMatchNothingAreRefusedOrReported) {
    writeText(work() / "src/A.h", "/** A. */\nclass AlphaClass {};\n");
    for (const char* option : {"-extensions=..", "-extensions=.h.", "-extensions=*", "-extensions=h,a/b"}) {
        const auto result = document({"src"}, {option});
        EXPECT_EQ(result.exitCode, 2) << option << "\n" << result.describe();
        EXPECT_TRUE(contains(result.err, "-extensions")) << result.describe();
        EXPECT_FALSE(fs::exists(site())) << option;
    }

    // An entry with no file of the accepted extensions is named, with them.
    writeText(work() / "java/com/x/Shape.java", "package com.x;\n/** S. */\npublic class Shape {}\n");
    auto result = document({"src", "java"}, {"-extensions=c,cpp,h"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "\"java\" has one of the accepted extensions (c, cpp, h)"))
        << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "AlphaClass"));

    // Nothing documented at all: said, and no site.
    fs::remove_all(site());
    result = document({"src"}, {"-extensions=*.pp"});
    EXPECT_EQ(result.exitCode, 1) << result.describe();
    EXPECT_TRUE(contains(result.err, "(pp)")) << result.describe();
    EXPECT_TRUE(contains(result.err, "No source file was documented.")) << result.describe();
    EXPECT_TRUE(contains(result.err, "Done (error).")) << result.describe();
    EXPECT_FALSE(fs::exists(site() / "index.html"));
}

TEST_F(HostileFiles, LinksPlantedInTheOutputFolderAreReplacedOrRefused) {
    writeText(work() / "src/A.h", "/** A. */\nclass AlphaClass {};\n");
    writeText(work() / "victim/page.txt", "victim page\n");
    writeText(work() / "victim/listing.txt", "victim listing\n");
    fs::create_directories(site() / "projects/src");
    fs::create_symlink("../victim/page.txt", site() / "index-all.html");
    fs::create_symlink("../../../victim/listing.txt", site() / "projects/src/A.h.html");
    auto result = document({"src"});
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_EQ(e2e::readFile(work() / "victim/page.txt"), "victim page\n");
    EXPECT_EQ(e2e::readFile(work() / "victim/listing.txt"), "victim listing\n");
    EXPECT_FALSE(fs::is_symlink(site() / "index-all.html"));
    EXPECT_TRUE(contains(e2e::readFile(site() / "index-all.html"), "AlphaClass"));
    EXPECT_TRUE(contains(e2e::readFile(site() / "projects/src/A.h.html"), "AlphaClass"));
    expectSoundSite();

    // A folder of the site that is a link to elsewhere is not written into.
    fs::remove_all(site());
    fs::create_directories(work() / "elsewhere");
    fs::create_directories(site());
    fs::create_symlink("../elsewhere", site() / "projects");
    result = document({"src"});
    EXPECT_EQ(result.exitCode, 2) << result.describe();
    EXPECT_TRUE(contains(result.err, "out/projects")) << result.describe();
    EXPECT_TRUE(fs::is_empty(work() / "elsewhere"));
}

TEST_F(HostileFiles, OutputFilesThatWouldDestroyAPageOrASourceAreRefused) {
    writeText(work() / "src/A.h", "/** A. */\nclass AlphaClass {};\n");
    writeText(work() / "src/B.java", "/** B. */\npublic class BetaClass {}\n");
    const auto before = e2e::snapshotTree(root_, {"logs"});
    const std::vector<std::vector<std::string>> commandLines{
        {"src", "out/index-all.html"},
        {"-index-file-base=site", "src", "out/site-all.html"},
        {"src", "src/A.h"},
        {"src/B.java", "src/B.java"},
    };
    for (const auto& arguments : commandLines) {
        std::vector<std::string> args = baseArgs();
        args.insert(args.end(), arguments.begin(), arguments.end());
        const auto result = run(args);
        EXPECT_EQ(result.exitCode, 2) << arguments.back() << "\n" << result.describe();
        EXPECT_TRUE(contains(result.err, arguments.back())) << result.describe();
        EXPECT_EQ(e2e::diffSnapshots(before, e2e::snapshotTree(root_, {"logs"})), "") << arguments.back();
    }
}

TEST_F(HostileFiles, NoItemTemplateStillWritesEveryClassPage) {
    writeText(work() / "src/Shape.h", "/** A shape. */\nclass Shape {};\n/** A square. */\nclass Square : public Shape {};\n");
    for (const char* option : {"-item=-", "-item="}) {
        fs::remove_all(site());
        const auto result = document({"src"}, {option});
        EXPECT_EQ(result.exitCode, 0) << option << "\n" << result.describe();
        EXPECT_TRUE(contains(e2e::readFile(site() / "projects/src/Shape.html"), "A shape.")) << option;
        EXPECT_TRUE(contains(e2e::readFile(site() / "projects/src/Square.html"), "A square.")) << option;
        const auto faults = e2e::checkLinks(site());
        EXPECT_TRUE(faults.empty()) << option << "\n" << e2e::describe(faults);
    }
}

TEST_F(HostileFiles, ANestedClassNamedLikeItsFileKeepsBothPages) {
    writeText(work() / "shapes/Shape.java",
              "package shapes;\n/** Outer words. */\npublic class Shape {\n"
              "    /** Nested words. */\n    static class java {}\n}\n");
    writeText(work() / "inv/Inventory.cs",
              "namespace inv {\n/** Stock words. */\npublic class Inventory {\n"
              "    /** Inner words. */\n    public class cs {}\n}\n}\n");
    for (const char* module : {"-module=vantry-standard", "-module=vantry-old"}) {
        fs::remove_all(site());
        const auto result = document({"shapes=shapes", "inv=inv"}, {module});
        ASSERT_EQ(result.exitCode, 0) << module << "\n" << result.describe();
        const std::string listing = e2e::readFile(site() / "projects/shapes/Shape.java.html");
        EXPECT_TRUE(contains(listing, "static")) << module << ": the listing was overwritten";
        EXPECT_TRUE(contains(e2e::readFile(site() / "projects/inv/Inventory.cs.html"), "namespace"))
            << module;
        const std::string text = wholeSite();
        EXPECT_TRUE(contains(text, "Nested words.")) << module;
        EXPECT_TRUE(contains(text, "Inner words.")) << module;
        expectSoundSite();
    }
}

// While the program runs, a folder keeps turning into a link out of the
// tree and back, and a source into a FIFO, a link to an endless device and
// back: whenever the program looks, what it opens must be a regular file
// inside the tree.
TEST_F(HostileFiles, ATreeSwappedDuringTheRunLeadsNowhereElse) {
    for (int i = 0; i < 400; ++i)
        writeText(work() / "in/many" / ("f" + std::to_string(i) + ".h"),
                  "/** F. */\nclass Many" + std::to_string(i) + " {};\n");
    writeText(work() / "in/sub/s.h", "/** S. */\nclass InsideClass {};\n");
    writeText(work() / "in/swap.h", "/** W. */\nclass SwapClass {};\n");
    writeText(work() / "outside/o.h", "/** O. */\nclass OutsideMarker {};\n");
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        std::error_code ignored;
        const fs::path sub = work() / "in/sub", kept = work() / "kept", swap = work() / "in/swap.h";
        for (int round = 0; !stop; ++round) {
            fs::rename(sub, kept, ignored);
            fs::create_directory_symlink(work() / "outside", sub, ignored);
            fs::remove(swap, ignored);
            if (round % 2 == 0) ::mkfifo(swap.c_str(), 0600);
            else fs::create_symlink("/dev/zero", swap, ignored);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            fs::remove(sub, ignored);
            fs::rename(kept, sub, ignored);
            fs::remove(swap, ignored);
            writeText(swap, "/** W. */\nclass SwapClass {};\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    const auto result = document({"in"});
    stop = true;
    swapper.join();
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.describe();
    EXPECT_FALSE(contains(wholeSite(), "OutsideMarker")) << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "Many399")) << result.describe();
}

TEST_F(HostileFiles, UnreadableInputsAreNamed) {
    std::vector<std::string> wrapper;
    if (std::string why; !permissionsBind(wrapper, why)) GTEST_SKIP() << why;
    writeText(work() / "src/A.h", "/** A. */\nclass AlphaClass {};\n");
    writeText(work() / "src/secret.h", "class SecretClass {};\n");
    writeText(work() / "src/locked/L.h", "class LockedClass {};\n");
    writeText(work() / "closed/C.h", "class ClosedClass {};\n");
    fs::permissions(work() / "src/secret.h", fs::perms::none);
    fs::permissions(work() / "src/locked", fs::perms::none);
    fs::permissions(work() / "closed", fs::perms::owner_exec);
    auto result = document({"src"}, {}, "index.html", wrapper);
    EXPECT_EQ(result.exitCode, 0) << result.describe();
    EXPECT_TRUE(contains(result.err, "src/secret.h")) << result.describe();
    EXPECT_TRUE(contains(result.err, "src/locked")) << result.describe();
    EXPECT_TRUE(contains(wholeSite(), "AlphaClass"));

    fs::remove_all(site());
    result = document({"src", "closed"}, {}, "index.html", wrapper);
    EXPECT_EQ(result.exitCode, 1) << result.describe();
    EXPECT_TRUE(contains(result.err, "closed")) << result.describe();
    EXPECT_TRUE(contains(result.err, "Done (error).")) << result.describe();
    fs::permissions(work() / "src/locked", fs::perms::owner_all);
    fs::permissions(work() / "closed", fs::perms::owner_all);
}

}  // namespace
