#include "run/RunThread.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "run/DocModule.h"
#include "run/RunDocumentation.h"
#include "run/TestRecording.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// What the run reported through its callbacks and boxes; the callbacks run
// on the worker thread.
struct Observed {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::pair<std::string, std::string>> status;
    std::vector<std::string> log;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> errorBoxes;
    int cancelAt = -1;  // progress answers 0 from this report on (1-based)

    std::vector<std::string> line2s() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::string> lines;
        for (const auto& [one, two] : status)
            if (one.empty()) lines.push_back(two);
        return lines;
    }
};

Observed* observed = nullptr;

void statusCallback(const char* line1, const char* line2, void*) {
    std::lock_guard<std::mutex> lock(observed->mutex);
    observed->status.emplace_back(line1 != nullptr ? line1 : "<null>", line2);
}
void logCallback(const char* text, void*) {
    std::lock_guard<std::mutex> lock(observed->mutex);
    observed->log.push_back(text);
}
int progressCallback(int done, int total, void*) {
    std::lock_guard<std::mutex> lock(observed->mutex);
    observed->progress.emplace_back(done, total);
    return observed->cancelAt < 0 || static_cast<int>(observed->progress.size()) < observed->cancelAt;
}

class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        observed = &seen;
        previousBox = platform::setErrorBoxHandler(
            [this](const std::string& text, const std::string&) {
                std::lock_guard<std::mutex> lock(seen.mutex);
                seen.errorBoxes.push_back(text);
                seen.changed.notify_all();
            });
        previousShell = platform::setShell(&shell);
        fs::create_directories(scratch / "tmp");
        setenv("TEMP", (scratch / "tmp").c_str(), 1);
        setenv("VANTRY_RECORD_FILE", (scratch / "calls.txt").c_str(), 1);

        parameters.status = statusCallback;
        parameters.log = logCallback;
        parameters.progress = progressCallback;
        parameters.window = window.handle();
        parameters.title = "Docs";
        parameters.company = "Velk";
        parameters.extensions = {"cpp", "cs", "h", "java"};
        parameters.languageMap = {{"cpp", 0}, {"h", 0}, {"cs", 1}, {"java", 2}};
        parameters.outputFile = scratch / "out/index.html";
        parameters.autoQuit = true;
    }
    void TearDown() override {
        module.reset();
        platform::setErrorBoxHandler(previousBox);
        platform::setShell(previousShell);
        for (const char* name : {"TEMP", "VANTRY_RECORD_FILE", "VANTRY_RECORD_THROW"})
            unsetenv(name);
        observed = nullptr;
    }

    void useModule(const std::string& name) {
        module = std::make_unique<DocModule>(testModulePath(name));
        parameters.module = module.get();
    }

    // Starts the run on its own thread and collects the posted messages up
    // to the last one the run sends: WM_USER+5 after a finished run, the
    // error box after an aborted one.
    std::vector<unsigned> runThread() {
        (new RunThread(parameters))->start();
        std::vector<unsigned> messages;
        platform::WindowMessage message;
        do {
            window.waitMessage(message);
            messages.push_back(message.message);
        } while (message.message != WM_RUN_QUIT_REQUEST &&
                 !(message.message == WM_RUN_STOPPED && messages.size() == 1 && aborts));
        if (aborts) {
            std::unique_lock<std::mutex> lock(seen.mutex);
            seen.changed.wait(lock, [this] { return !seen.errorBoxes.empty(); });
        }
        EXPECT_EQ(window.pendingCount(), 0u);
        return messages;
    }

    std::vector<RecordedCall> calls() const { return readRecording(scratch / "calls.txt"); }

    ScratchDirectory scratch;
    Observed seen;
    platform::RecordingShell shell;
    platform::MessageWindow window;
    std::unique_ptr<DocModule> module;
    RunParameters parameters;
    bool aborts = false;
    platform::ErrorBoxHandler previousBox;
    platform::Shell* previousShell = nullptr;
};

const std::vector<unsigned> finishedMessages{WM_RUN_STOPPED, WM_RUN_SHOW_WARNINGS,
                                             WM_RUN_QUIT_REQUEST};

}  // namespace

TEST_F(RunTest, AFullRunDrivesTheModuleFromInitToDone) {
    useModule("vantry-recording");
    scratch.write("src/Top.java", "/** The top. */\npublic class Top extends Base {\n"
                                  "  /** Runs. */\n  public void run(int times) {}\n}\n");
    for (int i = 0; i < 2; ++i)
        scratch.write("src/a/A" + std::to_string(i) + ".java",
                      "package a;\npublic class A" + std::to_string(i) + " {}\n");
    scratch.write("src/a/x.h", "/** Counts. */\nclass Counter {\npublic:\n"
                               "  /** Adds. */\n  int add(int by);\n};\n#define LIMIT 3\n");
    scratch.write("src/a/x.cpp", "#include \"x.h\"\n// it's here\nint Counter::add(int by) {"
                                 " return by; }\n");
    scratch.write("src/a/b/B4.cs", "namespace a.b {\nclass B4 { /* open\n");
    for (int i = 0; i < 4; ++i)
        scratch.write("src/a/b/B" + std::to_string(i) + ".cs",
                      "namespace a.b {\npublic class B" + std::to_string(i) + " {}\n}\n");
    parameters.fileList = "\"" + (scratch / "src") + "\"";
    parameters.autoView = true;
    parameters.listingSettings.documentPreprocessor = true;

    EXPECT_EQ(runThread(), finishedMessages);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{parameters.outputFile}));

    std::vector<RecordedCall> recorded = calls();
    std::vector<std::string> names = callNames(recorded);
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names.front(), "create");
    EXPECT_EQ(names[1], "init");
    EXPECT_EQ(names.back(), "done");
    std::string src = scratch / "src";
    EXPECT_EQ(recorded[1],
              (RecordedCall{"init", "Docs", "Velk", scratch / "out/projects", "0", "", "", "", "",
                            ".", parameters.outputFile,
                            "src|" + src + "\na|" + src + "/a\nb|" + src + "/a/b\n", "1", "0", "0",
                            "fn", "fn", "fn",
                            std::to_string(reinterpret_cast<std::uintptr_t>(window.handle()))}));
    // Class calls come in start/member/end groups, never nested.
    int open = 0, classes = 0;
    for (std::size_t i = 2; i + 1 < names.size(); ++i) {
        if (names[i] == "startClass") ++open, ++classes;
        if (names[i] == "endClass") --open;
        ASSERT_TRUE(open == 0 || open == 1) << i;
        if (names[i] == "startMember") {
            EXPECT_EQ(names[i + 1], "endMember");
        }
    }
    EXPECT_GE(classes, 8);
    bool counterSent = false;
    for (const RecordedCall& call : recorded)
        if (call[0] == "startClass" && call[1] == "Counter") {
            counterSent = true;
            EXPECT_EQ(call[2].rfind("Counts.", 0), 0u);
            EXPECT_EQ(call[5], "a");
            EXPECT_EQ(call[9], "cpp");
        }
    EXPECT_TRUE(counterSent);
    auto limit = std::find_if(recorded.begin(), recorded.end(), [](const RecordedCall& call) {
        return call[0] == "startMember" && call[1] == "LIMIT";
    });
    ASSERT_NE(limit, recorded.end());
    EXPECT_EQ((*limit)[4], "#define LIMIT 3");
    EXPECT_EQ(seen.progress, (std::vector<std::pair<int, int>>{{0, 10}, {1, 10}, {1, 10}, {2, 10},
                                                               {2, 10}, {3, 10}, {3, 10}, {4, 10},
                                                               {4, 10}, {5, 10}, {-1, 0},
                                                               {0, 100}}));
    // A file that cannot be parsed is one warning; the run goes on.
    ASSERT_EQ(seen.log.size(), 1u);
    EXPECT_NE(seen.log[0].find(".  Parsing of \"" + src + "/a/b/B4.cs\" was unsuccessful."),
              std::string::npos) << seen.log[0];
    EXPECT_EQ(seen.line2s().front(), "Counting files...");
    EXPECT_EQ(seen.line2s().back(), "Done.");

    // Listing pages for every file, nothing left in the temporary directory,
    // nothing written beside the output directory.
    EXPECT_TRUE(fs::exists(scratch / "out/projects/(default)/Top.java.html"));
    EXPECT_TRUE(fs::exists(scratch / "out/projects/a.b/B0.cs.html"));
    EXPECT_TRUE(fs::exists(scratch / "out/projects/a/x.cpp.html"));
    EXPECT_TRUE(fs::is_empty(scratch / "tmp"));
    for (const auto& item : fs::directory_iterator(scratch.path)) {
        EXPECT_TRUE(item.path().filename() == "src" || item.path().filename() == "out" ||
                    item.path().filename() == "tmp" || item.path().filename() == "calls.txt")
            << item.path();
    }
}

TEST_F(RunTest, AnOutputThatCannotBeShownIsReportedAndTheRunStillEnds) {
    useModule("vantry-recording");
    scratch.write("x.java", "class X {}\n");
    parameters.fileList = scratch / "x.java";
    parameters.outputFile = scratch / "out dir/index.html";
    parameters.autoView = true;
    shell.succeed = false;
    // The box is up before the close request: the dialog must not vanish
    // before the user has read which file could not be shown.
    EXPECT_EQ(runThread(), finishedMessages);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{parameters.outputFile}));
    EXPECT_EQ(seen.errorBoxes, (std::vector<std::string>{"Could not open \"" + parameters.outputFile +
                                                         "\" (the test's shell refused)."}));
    EXPECT_EQ(seen.line2s().back(), "Done.");

    seen.errorBoxes.clear();
    shell.succeed = true;
    EXPECT_EQ(runThread(), finishedMessages);
    EXPECT_TRUE(seen.errorBoxes.empty());
}

TEST_F(RunTest, CancellingWhileParsingEndsBeforeTheModuleAndStillPosts) {
    useModule("vantry-recording");
    for (int i = 0; i < 4; ++i) scratch.write("d/F" + std::to_string(i) + ".java", "class F {}\n");
    parameters.fileList = scratch / "d";
    seen.cancelAt = 2;
    EXPECT_EQ(runThread(), finishedMessages);
    EXPECT_EQ(seen.line2s().back(), "Cancelled.");
    EXPECT_EQ(seen.progress.size(), 2u);
    EXPECT_EQ(callNames(calls()), (std::vector<std::string>{"create"}));
}

TEST_F(RunTest, ACancelSeenByTheModuleEndsCancelledNotDone) {
    // The module stops writing when progress answers 0 and returns from done
    // as usual; the run must not call that site done.
    useModule("vantry-recording");
    scratch.write("x.java", "class X {}\n");
    parameters.fileList = scratch / "x.java";
    setenv("VANTRY_RECORD_REPORT", "1", 1);
    seen.cancelAt = 2;  // the parse's report passes, the module's is refused
    EXPECT_EQ(runThread(), finishedMessages);
    unsetenv("VANTRY_RECORD_REPORT");
    EXPECT_EQ(seen.line2s().back(), "Cancelled.");
    auto names = callNames(calls());
    EXPECT_NE(std::find(names.begin(), names.end(), "done"), names.end());
    // No report of 0 of 100 follows: that belongs to a finished run.
    EXPECT_EQ(seen.progress.back(), std::make_pair(-1, 0));
}

// The files below the folder with their content, the listings' temporary
// files among them.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] =
                testing_support::readWholeFile(entry.path().string());
    return files;
}

TEST_F(RunTest, ListingsReplaceThePreviousOnesOnlyWithTheModulesPages) {
    // A module that writes its pages beside their places asks at the end
    // whether they may move in; the listings follow its answer.
    useModule("vantry-recording");
    setenv("VANTRY_RECORD_MOVE_IN", "1", 1);
    scratch.write("src/Shape.java", "/** A shape. */\npublic class Shape {}\n");
    parameters.fileList = scratch / "src";
    EXPECT_EQ(runThread(), finishedMessages);
    EXPECT_EQ(seen.line2s().back(), "Done.");
    const auto previous = filesBelow(scratch / "out");
    ASSERT_NE(previous.at("projects/(default)/Shape.java.html").find("A shape."), std::string::npos);

    scratch.write("src/Shape.java", "/** A shape, drawn anew. */\npublic class Shape {}\n");
    scratch.write("src/Circle.java", "/** A circle. */\npublic class Circle {}\n");
    // Cancelled while parsing (the first report), and at the module's
    // question (the report after the two files).
    for (int cancelAt : {1, 3}) {
        seen.progress.clear();
        seen.cancelAt = cancelAt;
        EXPECT_EQ(runThread(), finishedMessages) << cancelAt;
        EXPECT_EQ(seen.line2s().back(), "Cancelled.") << cancelAt;
        EXPECT_EQ(filesBelow(scratch / "out"), previous) << cancelAt;
    }
    EXPECT_EQ(calls().back(), (RecordedCall{"moveInAnswer", "0"}));

    // Asked after the module's pages moved in, the run is no longer
    // cancelled: the site is whole.
    seen.progress.clear();
    seen.cancelAt = 4;
    EXPECT_EQ(runThread(), finishedMessages);
    unsetenv("VANTRY_RECORD_MOVE_IN");
    EXPECT_EQ(seen.line2s().back(), "Done.");
    EXPECT_EQ(calls().back(), (RecordedCall{"moveInAnswer", "1"}));
    const auto now = filesBelow(scratch / "out");
    EXPECT_EQ(now.size(), 2u);
    EXPECT_NE(now.at("projects/(default)/Shape.java.html").find("A shape, drawn anew."), std::string::npos);
    EXPECT_NE(now.at("projects/(default)/Circle.java.html").find("A circle."), std::string::npos);
}

TEST_F(RunTest, AModuleThatWritesInPlaceKeepsItsListingsWhateverItReports) {
    // Written to the ten functions alone: it never asks whether its pages
    // may move in, and posts a warning.
    useModule("vantry-recording");
    setenv("VANTRY_RECORD_REPORT", "1", 1);
    scratch.write("src/Shape.java", "/** A shape. */\npublic class Shape {}\n");
    parameters.fileList = scratch / "src";
    EXPECT_EQ(runThread(), finishedMessages);
    unsetenv("VANTRY_RECORD_REPORT");
    EXPECT_EQ(seen.line2s().back(), "Done (error).");
    EXPECT_EQ(seen.log, (std::vector<std::string>{"module warning"}));
    const auto files = filesBelow(scratch / "out");
    ASSERT_TRUE(files.contains("projects/(default)/Shape.java.html"));
    EXPECT_NE(files.at("projects/(default)/Shape.java.html").find("A shape."), std::string::npos);
}

TEST_F(RunTest, ListingsGoBackWithTheModulesPagesThatCouldNotMoveIn) {
    useModule("vantry-recording");
    setenv("VANTRY_RECORD_MOVE_IN", "1", 1);
    scratch.write("src/Shape.java", "/** A shape. */\npublic class Shape {}\n");
    parameters.fileList = scratch / "src";
    EXPECT_EQ(runThread(), finishedMessages);
    const auto previous = filesBelow(scratch / "out");

    // The module is told yes, the listings move in, and its own pages then
    // fail to: the listings go back as they were, byte for byte.
    setenv("VANTRY_RECORD_MOVE_IN", "fail", 1);
    scratch.write("src/Shape.java", "/** A shape, drawn anew. */\npublic class Shape {}\n");
    scratch.write("src/Circle.java", "/** A circle. */\npublic class Circle {}\n");
    EXPECT_EQ(runThread(), finishedMessages);
    unsetenv("VANTRY_RECORD_MOVE_IN");
    EXPECT_EQ(calls().back(), (RecordedCall{"moveInAnswer", "1"}));
    EXPECT_EQ(seen.line2s().back(), "Done (error).");
    EXPECT_EQ(filesBelow(scratch / "out"), previous);
}

TEST_F(RunTest, ARunIntoAFolderThatAnotherRunWritesEndsBeforeAnythingIsParsed) {
    useModule("vantry-recording");
    scratch.write("there.java", "class T {}\n");
    parameters.fileList = scratch / "there.java";
    fs::create_directories(scratch / "out");
    // Another run holds the folder's lock.
    const std::string lockFile = scratch / "out/.vantry-lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(::write(fd, "4242\n", 5), 5);
    aborts = true;
    EXPECT_EQ(runThread(), (std::vector<unsigned>{WM_RUN_STOPPED}));
    ::close(fd);
    EXPECT_EQ(seen.errorBoxes, (std::vector<std::string>{"The output folder " + (scratch / "out") +
                                                         " is being written by another run (process 4242); "
                                                         "try again once it has ended, or name another folder."}));
    EXPECT_TRUE(seen.line2s().empty()) << "the run began";
    EXPECT_EQ(callNames(calls()), (std::vector<std::string>{"create"}));
}

TEST_F(RunTest, ErrorsBeforeTheModulePhaseAbortWithoutTheWarningsMessage) {
    useModule("vantry-recording");
    parameters.fileList = (scratch / "there.java") + " " + (scratch / "missing");
    scratch.write("there.java", "class T {}\n");
    aborts = true;
    EXPECT_EQ(runThread(), (std::vector<unsigned>{WM_RUN_STOPPED}));
    EXPECT_EQ(seen.errorBoxes,
              (std::vector<std::string>{"Could not access file or directory \"" +
                                        (scratch / "missing") + "\""}));
    EXPECT_TRUE(shell.opened.empty());

    seen.errorBoxes.clear();
    parameters.fileList = "\"open";
    EXPECT_EQ(runThread(), (std::vector<unsigned>{WM_RUN_STOPPED}));
    EXPECT_EQ(seen.errorBoxes,
              (std::vector<std::string>{"Imbalanced '\"' in the list of files/directories."}));
    EXPECT_EQ(callNames(calls()), (std::vector<std::string>{"create"}));
}

TEST_F(RunTest, AnOutputFolderTheSiteCannotGoIntoEndsTheRunBeforeAnythingIsParsed) {
    useModule("vantry-recording");
    scratch.write("there.java", "class T {}\n");
    parameters.fileList = scratch / "there.java";
    scratch.write("plans.txt", "not a folder\n");
    aborts = true;
    parameters.outputFile = scratch / "plans.txt/site/index.html";
    EXPECT_EQ(runThread(), (std::vector<unsigned>{WM_RUN_STOPPED}));
    EXPECT_EQ(seen.errorBoxes, (std::vector<std::string>{"Could not make the directory " +
                                                         (scratch / "plans.txt/site") + " (Not a directory)"}));
    EXPECT_TRUE(seen.line2s().empty()) << "the run began";

    seen.errorBoxes.clear();
    scratch.write("site/projects", "not a folder either\n");
    parameters.outputFile = scratch / "site/index.html";
    EXPECT_EQ(runThread(), (std::vector<unsigned>{WM_RUN_STOPPED}));
    EXPECT_EQ(seen.errorBoxes, (std::vector<std::string>{"Could not make the directory " +
                                                         (scratch / "site/projects") + " (Not a directory)"}));
    EXPECT_EQ(callNames(calls()), (std::vector<std::string>{"create"}));

    // A folder that can be written is made, and holds nothing else yet.
    prepareOutputFolder(scratch / "fresh/docs/index.html", "api\\classes");
    EXPECT_TRUE(fs::is_directory(scratch / "fresh/docs"));
    EXPECT_TRUE(fs::is_empty(scratch / "fresh/docs"));
}

TEST_F(RunTest, ModuleErrorsEndInDoneWithErrorAndTheRunStillFinishes) {
    scratch.write("x.java", "class X {}\n");
    parameters.fileList = scratch / "x.java";
    useModule("vantry-recording-partial");
    EXPECT_EQ(runThread(), finishedMessages);
    EXPECT_EQ(seen.line2s().back(), "Done (error).");
    EXPECT_EQ(seen.errorBoxes, (std::vector<std::string>{"Could not find function \"done\" in module " +
                                                         testModulePath("vantry-recording-partial") + "."}));

    useModule("vantry-recording");
    for (const char* kind : {"done:velk", "done:std", "startClass:velk"}) {
        seen.errorBoxes.clear();
        setenv("VANTRY_RECORD_THROW", kind, 1);
        EXPECT_EQ(runThread(), finishedMessages) << kind;
        EXPECT_EQ(seen.line2s().back(), "Done (error).") << kind;
        ASSERT_EQ(seen.errorBoxes.size(), 1u) << kind;
        EXPECT_EQ(seen.errorBoxes[0].rfind("Recording module", 0), 0u) << seen.errorBoxes[0];
    }
}

TEST_F(RunTest, AListOfCommentedOutEntriesIsAnEmptyButCompleteRun) {
    useModule("vantry-recording");
    parameters.fileList = "#a #b";
    parameters.sourceListingDirectory = "src/";  // links elsewhere: no listings
    EXPECT_EQ(runThread(), finishedMessages);
    // The report without a count asks, after done, whether the run was cancelled.
    EXPECT_EQ(seen.progress, (std::vector<std::pair<int, int>>{{-1, 0}, {0, 100}}));
    EXPECT_EQ(seen.line2s().back(), "Done.");
    EXPECT_EQ(calls()[1][9], "src");
    EXPECT_EQ(calls()[1][11], "");  // no projects
    EXPECT_FALSE(fs::exists(scratch / "out/projects"));
}

// Inputs that give nothing to document write no site over an older one.
TEST_F(RunTest, InputsThatDocumentNothingEndInErrorWithoutTheModule) {
    useModule("vantry-recording");
    scratch.write("src/broken.h", "class Open { /* never closed\n");
    for (const std::string& list : {std::string("\"/dev/null\""), "\"" + scratch / "src" + "\""}) {
        seen.log.clear();
        parameters.fileList = list;
        EXPECT_EQ(runThread(), finishedMessages) << list;
        EXPECT_EQ(seen.line2s().back(), "Done (error).") << list;
        ASSERT_FALSE(seen.log.empty()) << list;
        EXPECT_EQ(seen.log.back(), "No source file was documented.") << list;
        // The module was made when it was chosen, and never called since.
        ASSERT_EQ(calls().size(), 1u) << list;
        EXPECT_EQ(calls()[0][0], "create") << list;
    }
}
