#include "run/InputWalk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "run/TestRecording.h"

using namespace testing_support;

namespace {

// What the walk reported, gathered through the C callbacks.
struct Reports {
    std::vector<std::string> status;
    std::vector<std::string> log;
    std::vector<std::pair<int, int>> progress;
    int stopAfter = -1;  // progress answers 0 once this many reports were made
};

void statusInto(const char* line1, const char*, void* context) {
    static_cast<Reports*>(context)->status.push_back(line1);
}
void logInto(const char* text, void* context) { static_cast<Reports*>(context)->log.push_back(text); }
int progressInto(int done, int total, void* context) {
    auto* reports = static_cast<Reports*>(context);
    reports->progress.emplace_back(done, total);
    return reports->stopAfter < 0 || static_cast<int>(reports->progress.size()) < reports->stopAfter;
}

struct Parsed {
    std::string path, project;
    bool operator==(const Parsed&) const = default;
};

class InputWalkTest : public ::testing::Test {
protected:
    InputWalk makeWalk(std::set<std::string> extensions = {"java"}) {
        return InputWalk(std::move(extensions), statusInto, logInto, progressInto, &reports,
                         [this](const std::string& path, const std::string& project) {
                             parsed.push_back({path, project});
                         });
    }
    ScratchDirectory scratch;
    Reports reports;
    std::vector<Parsed> parsed;
};

}  // namespace

TEST(FileList, SplitsAtBlanksOutsideQuotes) {
    EXPECT_EQ(splitFileList("\"my dir\" plain\r\n#later\t"),
              (std::vector<std::string>{"my dir", "plain", "#later"}));
    EXPECT_EQ(splitFileList("x\"y z\""), (std::vector<std::string>{"xy z"}));
    EXPECT_EQ(splitFileList("  \"\"  "), (std::vector<std::string>{}));
    EXPECT_EQ(errorOf([] { splitFileList("a \"b"); }),
              "Imbalanced '\"' in the list of files/directories.");
}

TEST(FileList, ProjectNamesComeFromTheEntryAndStayOnePathComponent) {
    ProjectEntry named = splitProjectEntry("dir/=Proj", true);
    EXPECT_EQ(named.path, "dir");
    EXPECT_EQ(named.project, "Proj");
    EXPECT_EQ(splitProjectEntry("src\\a", false).project, "a");
    EXPECT_EQ(splitProjectEntry("src\\a", false).path, "src/a");
    EXPECT_EQ(splitProjectEntry("src/a/x.cpp", true).project, "a");
    std::string cwd = getCurrentDirectory();
    EXPECT_EQ(splitProjectEntry("x.cpp", true).project, fileNameOf(cwd));
    EXPECT_EQ(splitProjectEntry(".", false).project, fileNameOf(cwd));
    EXPECT_EQ(splitProjectEntry("..", false).project, fileNameOf(directoryOf(cwd)));
    EXPECT_EQ(splitProjectEntry("src=../../etc", false).project, ".._.._etc");
    EXPECT_EQ(splitProjectEntry("src=", false).project, "");
    EXPECT_EQ(stripTrailingSeparator("/"), "/");
}

TEST_F(InputWalkTest, DirectoriesNestIntoDottedProjectsAndListTheirProjects) {
    scratch.write("src/x.java", "");
    scratch.write("src/a/y.java", "");
    scratch.write("src/a/b/z.java", "");
    scratch.write("src/empty/readme.txt", "");
    scratch.write("src/a/b/z.h", "");
    std::string src = scratch / "src";
    InputWalk walk = makeWalk({"java", "h"});  // taken in the set's order: h first
    EXPECT_EQ(walk.countEntry(src + "/"), 4);
    walk.setTotal(4);
    EXPECT_TRUE(walk.walkEntry(src + "/"));
    EXPECT_EQ(parsed, (std::vector<Parsed>{{src + "/x.java", "src"},
                                           {src + "/a/y.java", "a"},
                                           {src + "/a/b/z.h", "a.b"},
                                           {src + "/a/b/z.java", "a.b"}}));
    EXPECT_EQ(walk.projectListText(),
              "src|" + src + "\na|" + src + "/a\nb|" + src + "/a/b\n");
    EXPECT_EQ(reports.status[0], "Directory " + src);

    InputWalk core = makeWalk();
    parsed.clear();
    core.walkEntry(src + "=Core");
    EXPECT_EQ(parsed[0].project, "Core");
    EXPECT_EQ(parsed[1].project, "a");
    EXPECT_EQ(core.projectListText().substr(0, 5), "Core|");
}

TEST_F(InputWalkTest, AFileNamedTwiceIsParsedOnceButCountedTwice) {
    scratch.write("d/f.java", "");
    InputWalk walk = makeWalk();
    walk.setTotal(2);
    walk.walkEntry(scratch / "d/f.java");
    walk.walkEntry(scratch.path + "\\d\\f.java");
    EXPECT_EQ(parsed, (std::vector<Parsed>{{scratch / "d/f.java", "d"}}));
    EXPECT_EQ(walk.getDone(), 2);
    EXPECT_EQ(reports.progress, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}}));
    walk.setTotal(0);  // never reported as 0: the receiver divides by it
    walk.fileDone();
    EXPECT_EQ(reports.progress.back(), (std::pair<int, int>{1, 1}));
}

TEST_F(InputWalkTest, CommentedOutEntriesAreReportedNotCounted) {
    std::filesystem::create_directories(scratch / "#dir");
    scratch.write("#dir/x.java", "");
    InputWalk walk = makeWalk();
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path);
    EXPECT_EQ(walk.countEntry("#dir"), 0);
    EXPECT_EQ(walk.countEntry("#nothing"), 0);
    walk.walkEntry("#dir");
    walk.walkEntry("#nothing");
    std::filesystem::current_path(before);
    EXPECT_EQ(reports.status, (std::vector<std::string>{"Skipping commented-out directory #dir",
                                                        "Skipping commented-out file #nothing"}));
    EXPECT_TRUE(parsed.empty());
    EXPECT_TRUE(reports.progress.empty());
}

TEST_F(InputWalkTest, MissingEntriesAndCancellation) {
    InputWalk walk = makeWalk();
    EXPECT_EQ(errorOf([&] { walk.countEntry(scratch / "gone"); }),
              "Could not access file or directory \"" + (scratch / "gone") + "\"");
    EXPECT_EQ(errorOf([&] { walk.countFiles(scratch / "gone"); }),
              "Could not access directory \"" + (scratch / "gone") + "\"");

    // A FIFO in the list is reported, never opened (opening it would block).
    ASSERT_EQ(mkfifo((scratch / "pipe.java").c_str(), 0600), 0);
    EXPECT_EQ(walk.countEntry(scratch / "pipe.java"), 1);
    EXPECT_TRUE(walk.walkEntry(scratch / "pipe.java"));
    EXPECT_TRUE(parsed.empty());
    EXPECT_EQ(reports.log.size(), 1u);
    reports.progress.clear();

    for (const char* name : {"a", "b", "c"}) scratch.write(std::string("d/") + name + ".java", "");
    reports.stopAfter = 2;
    EXPECT_FALSE(walk.walkEntry(scratch / "d"));
    EXPECT_EQ(parsed.size(), 2u);
    EXPECT_EQ(walk.projectListText(), "");

    // One in a folder is never handed on either, and named.
    scratch.write("fifo/ok.java", "");
    ASSERT_EQ(mkfifo((scratch / "fifo/pipe.java").c_str(), 0600), 0);
    InputWalk again = makeWalk();
    parsed.clear();
    reports.log.clear();
    reports.stopAfter = -1;
    EXPECT_TRUE(again.walkEntry(scratch / "fifo"));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].path, scratch / "fifo/ok.java");
    EXPECT_EQ(reports.log, std::vector<std::string>{"Skipped \"" + scratch / "fifo/pipe.java" +
                                                    "\": it is a FIFO, not a regular file."});
}

// What a listed folder holds under a source's name that is no regular file
// is left out and named with the reason, as a file of the list is; a
// folder that holds nothing else does not say that it holds no source.
TEST_F(InputWalkTest, SourcesThatAreNoRegularFilesAreNamed) {
    namespace fs = std::filesystem;
    scratch.write("src/p/Ok.java", "");
    ASSERT_EQ(mkfifo((scratch / "src/p/F.java").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", scratch / "src/p/zero.java");
    fs::create_symlink(scratch / "src/p/gone", scratch / "src/p/Dangling.java");
    ASSERT_EQ(mkfifo((scratch / "src/p/notes.fifo").c_str(), 0600), 0);  // no source's name
    fs::create_directories(scratch / "devices");
    fs::create_symlink("/dev/zero", scratch / "devices/zero.java");
    InputWalk walk = makeWalk();
    walk.addRoot(scratch / "src");
    walk.addRoot(scratch / "devices");
    EXPECT_EQ(walk.countEntry(scratch / "src"), 1);
    EXPECT_TRUE(reports.log.empty());
    EXPECT_TRUE(walk.walkEntry(scratch / "src"));
    EXPECT_TRUE(walk.walkEntry(scratch / "devices"));
    EXPECT_EQ(parsed, (std::vector<Parsed>{{scratch / "src/p/Ok.java", "p"}}));
    EXPECT_EQ(reports.log,
              (std::vector<std::string>{
                  "Skipped the symbolic link \"" + scratch / "src/p/Dangling.java" +
                      "\": its target cannot be read (No such file or directory).",
                  "Skipped \"" + scratch / "src/p/F.java" + "\": it is a FIFO, not a regular file.",
                  "Skipped the symbolic link \"" + scratch / "src/p/zero.java" +
                      "\": its target is a device, not a regular file.",
                  "Skipped the symbolic link \"" + scratch / "devices/zero.java" +
                      "\": its target is a device, not a regular file."}));
}

TEST_F(InputWalkTest, ADirectoryReachedAgainThroughALinkIsWalkedOnce) {
    scratch.write("d/sub/x.java", "");
    std::filesystem::create_directory_symlink(scratch / "d", scratch / "d/sub/loop");
    InputWalk walk = makeWalk();
    walk.addRoot(scratch / "d");
    EXPECT_EQ(walk.countEntry(scratch / "d"), 1);
    EXPECT_TRUE(walk.walkEntry(scratch / "d"));
    EXPECT_EQ(parsed.size(), 1u);
    EXPECT_EQ(reports.log, std::vector<std::string>{});
}

TEST_F(InputWalkTest, LinksAreFollowedOnlyIntoTheListedRoots) {
    scratch.write("in/a.java", "");
    scratch.write("outside/secret.java", "");
    scratch.write("other/o.java", "");
    namespace fs = std::filesystem;
    fs::create_symlink(scratch / "outside/secret.java", scratch / "in/secret.java");
    fs::create_directory_symlink(scratch / "outside", scratch / "in/up");
    fs::create_directory_symlink(scratch / "other", scratch / "in/toOther");
    fs::create_symlink(scratch / "in/a.java", scratch / "in/same.java");
    InputWalk walk = makeWalk();
    walk.addRoot(scratch / "in");
    walk.addRoot(scratch / "other/");
    // Counting is silent; the walk names each link it skips.
    EXPECT_EQ(walk.countEntry(scratch / "in"), 3);
    EXPECT_EQ(reports.log, std::vector<std::string>{});
    EXPECT_TRUE(walk.walkEntry(scratch / "in"));
    std::vector<std::string> paths;
    for (const Parsed& p : parsed) paths.push_back(p.path.substr(scratch.path.size() + 1));
    EXPECT_EQ(paths, (std::vector<std::string>{"in/a.java", "in/same.java", "in/toOther/o.java"}));
    ASSERT_EQ(reports.log.size(), 2u);
    EXPECT_EQ(reports.log[0], "Skipped the symbolic link \"" + scratch / "in/secret.java" +
                                  "\": its target lies outside the listed files and directories.");
    EXPECT_NE(reports.log[1].find(scratch / "in/up"), std::string::npos);
}

TEST_F(InputWalkTest, DirectoriesOfOneNameInDifferentPlacesBecomeDifferentProjects) {
    scratch.write("lib1/src/u.java", "");
    scratch.write("lib2/src/u.java", "");
    scratch.write("lib3/src/u.java", "");
    InputWalk walk = makeWalk();
    for (const char* lib : {"lib1/src", "lib2/src", "lib1/src/", "lib3/src=src"})
        EXPECT_TRUE(walk.walkEntry(scratch / lib));
    ASSERT_EQ(parsed.size(), 3u);  // lib1's file once
    EXPECT_EQ(parsed[0].project, "src");
    EXPECT_EQ(parsed[1].project, "src-2");
    // A name the user gave is kept: that project is meant to be shared.
    EXPECT_EQ(parsed[2].project, "src");
    EXPECT_NE(walk.projectListText().find("src-2|" + scratch / "lib2/src\n"), std::string::npos);
}

TEST(InputWalkList, APathQuotedForTheListComesBackAsItStands) {
    for (const std::string path : {"plain", "with blank", "q\"uote", "\"\"", "a\"b\"c d"})
        EXPECT_EQ(splitFileList(quoteListEntry(path) + "\r\n" + quoteListEntry("next")),
                  (std::vector<std::string>{path, "next"}))
            << path;
}

TEST_F(InputWalkTest, OnlyAListedEntryNamesItsProjectAfterAnEqualsSign) {
    scratch.write("src/a=b/x.java", "");
    scratch.write("src/a=b/c/y.java", "");
    std::string src = scratch / "src";
    InputWalk walk = makeWalk();
    EXPECT_EQ(walk.countEntry(src), 2);
    walk.setTotal(2);
    EXPECT_TRUE(walk.walkEntry(src));
    EXPECT_TRUE(reports.log.empty()) << reports.log.front();
    EXPECT_EQ(parsed, (std::vector<Parsed>{{src + "/a=b/x.java", "a=b"},
                                           {src + "/a=b/c/y.java", "a=b.c"}}));
    EXPECT_EQ(walk.projectListText(), "a=b|" + src + "/a=b\nc|" + src + "/a=b/c\n");
}

// The walk reads each folder where it really is when it reads it: a folder
// swapped for a link to elsewhere after its parent was listed is not
// walked, and one swapped for a file is named as unreadable.
TEST_F(InputWalkTest, FoldersSwappedDuringTheWalkAreNamedNotWalked) {
    namespace fs = std::filesystem;
    scratch.write("in/a.java", "");
    scratch.write("in/sub/b.java", "");
    scratch.write("in/gone/c.java", "");
    scratch.write("outside/secret/s.java", "");
    InputWalk walk({"java"}, statusInto, logInto, progressInto, &reports,
                   [&](const std::string& path, const std::string& project) {
                       parsed.push_back({path, project});
                       if (path != scratch / "in/a.java") return;
                       // After "in" was listed, before its folders are walked.
                       fs::rename(scratch / "in/sub", scratch / "moved");
                       fs::create_directory_symlink(scratch / "outside/secret", scratch / "in/sub");
                       fs::remove_all(scratch / "in/gone");
                       scratch.write("in/gone", "now a file");
                   });
    walk.addRoot(scratch / "in");
    EXPECT_TRUE(walk.walkEntry(scratch / "in"));
    EXPECT_EQ(parsed, (std::vector<Parsed>{{scratch / "in/a.java", "in"}}));
    EXPECT_EQ(reports.log,
              (std::vector<std::string>{
                  "Could not read the directory \"" + scratch / "in/gone" + "\" (Not a directory).",
                  "Skipped the directory \"" + scratch / "in/sub" +
                      "\": it lies outside the listed files and directories."}));
    EXPECT_FALSE(walk.unreadableEntry());  // a folder below the entry, not the entry
}

TEST_F(InputWalkTest, AnEntryWithoutAcceptedFilesIsNamedWithTheExtensions) {
    scratch.write("java/x/Shape.java", "");
    scratch.write("cpp/a.cpp", "");
    InputWalk walk = makeWalk({"h", "cpp"});
    EXPECT_TRUE(walk.walkEntry(scratch / "java"));
    EXPECT_TRUE(walk.walkEntry(scratch / "cpp"));
    EXPECT_EQ(reports.log, (std::vector<std::string>{"No file in \"" + scratch / "java" +
                                                     "\" has one of the accepted extensions (cpp, h)."}));
}

TEST_F(InputWalkTest, AnOutputFileThatTheWalkWouldDocumentIsTold) {
    scratch.write("src/a.h", "");
    scratch.write("src/deep/B.JAVA", "");
    scratch.write("src/notes.html", "");
    scratch.write("other.cpp", "");
    const std::set<std::string> extensions{"h", "java"};
    const std::vector<std::string> entries{scratch / "src", scratch / "other.cpp=Other", "#" + scratch / "x"};
    EXPECT_TRUE(outputIsAnInput(scratch / "src/a.h", entries, extensions));
    EXPECT_TRUE(outputIsAnInput(scratch / "src/deep/B.JAVA", entries, extensions));
    EXPECT_TRUE(outputIsAnInput(scratch / "other.cpp", entries, extensions));  // named itself
    EXPECT_FALSE(outputIsAnInput(scratch / "src/notes.html", entries, extensions));
    EXPECT_FALSE(outputIsAnInput(scratch / "src/new.h", entries, extensions));  // not there yet
}
