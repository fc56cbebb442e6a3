// The files of a site written beside their places and moved in together:
// until then the old files stay as they were, a move that fails or is
// stopped puts every one back, and what is not moved in leaves nothing
// behind.
#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <stdlib.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

class StagedFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "staged-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    void put(const std::string& name, const std::string& content) const {
        fs::create_directories((dir / name).parent_path());
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    std::string get(const std::string& name) const {
        std::stringstream all;
        all << std::ifstream(dir / name, std::ios::binary).rdbuf();
        return all.str();
    }
    // Every entry below dir, with the content of each file ("/" for a
    // directory, "-> target" for a link).
    std::map<std::string, std::string> tree() const {
        std::map<std::string, std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            const std::string name = entry.path().lexically_relative(dir).string();
            if (entry.is_symlink()) entries[name] = "-> " + fs::read_symlink(entry.path()).string();
            else if (entry.is_directory()) entries[name] = "/";
            else entries[name] = get(name);
        }
        return entries;
    }
    static void write(StagedFiles& staged, const std::string& place, const std::string& text) {
        VelkOutFile file(place, &staged);
        file.write(text);
        file.close();
    }

    fs::path dir;
};

TEST_F(StagedFilesTest, NewFilesWaitBesideTheOldOnesUntilTheyMoveInTogether) {
    put("index.html", "old index");
    put("pkg/A.html", "old A");
    put("elsewhere/victim.txt", "victim");
    fs::create_symlink("../elsewhere/victim.txt", dir / "pkg/B.html");
    const auto before = tree();

    StagedFiles staged;
    write(staged, path("index.html"), "new index");
    write(staged, path("pkg/A.html"), "new A");
    write(staged, path("pkg/B.html"), "new B");
    write(staged, path("pkg/C.html"), "first C");
    write(staged, path("pkg/C.html"), "new C");  // the later file of a name wins
    EXPECT_EQ(staged.size(), 5u);
    // Until they move in, the old files are as they were; the new ones are
    // hidden beside them.
    auto now = tree();
    for (const auto& [name, content] : before) EXPECT_EQ(now[name], content) << name;
    for (const auto& [name, content] : now) {
        if (before.contains(name)) continue;
        EXPECT_TRUE(stagedFileProcess(fs::path(name).filename().string()).has_value()) << name;
    }

    EXPECT_TRUE(staged.moveIn());
    EXPECT_EQ(staged.size(), 0u);
    // The old files wait under temporary names until the move is committed.
    now = tree();
    EXPECT_EQ(now["index.html"], "new index");
    std::vector<std::string> waiting;
    for (const auto& [name, content] : now)
        if (stagedFileProcess(fs::path(name).filename().string())) waiting.push_back(content);
    std::sort(waiting.begin(), waiting.end());
    EXPECT_EQ(waiting, (std::vector<std::string>{"-> ../elsewhere/victim.txt", "old A", "old index"}));
    staged.commit();
    EXPECT_EQ(tree(), (std::map<std::string, std::string>{{"elsewhere", "/"},
                                                          {"elsewhere/victim.txt", "victim"},
                                                          {"index.html", "new index"},
                                                          {"pkg", "/"},
                                                          {"pkg/A.html", "new A"},
                                                          {"pkg/B.html", "new B"},
                                                          {"pkg/C.html", "new C"}}));
}

TEST_F(StagedFilesTest, DiscardedFilesAndTheFoldersMadeForThemLeaveNothing) {
    put("index.html", "old index");
    put("pkg/mine.txt", "a file of the user's");
    const auto before = tree();
    {
        StagedFiles staged;
        makeSiteDirectory(path("projects/deep/er"), &staged);
        makeSiteDirectory(path("pkg"), &staged);
        write(staged, path("index.html"), "new index");
        write(staged, path("projects/deep/er/A.html"), "new A");
        write(staged, path("pkg/B.html"), "new B");
        staged.discard();
        EXPECT_EQ(tree(), before);
        write(staged, path("pkg/C.html"), "new C");
    }  // the destructor discards too
    EXPECT_EQ(tree(), before);
}

TEST_F(StagedFilesTest, NothingMovesInWhenAPlaceCannotTakeAFile) {
    put("index.html", "old index");
    fs::create_directories(dir / "A.html");
    const auto before = tree();
    StagedFiles staged;
    write(staged, path("index.html"), "new index");
    write(staged, path("A.html"), "new A");
    try {
        staged.moveIn();
        FAIL() << "moved in over a directory";
    } catch (const VelkFileError& error) {
        EXPECT_EQ(error.getMessage(), "Couldn't open the output file (file = '" + path("A.html") + "')");
    }
    staged.discard();
    EXPECT_EQ(tree(), before);

    // A directory that comes to stand at a place after the check stays,
    // whole, and the files that moved go back.
    write(staged, path("index.html"), "new index");
    write(staged, path("B.html"), "new B");
    staged.checkPlaces();
    put("B.html/inside.txt", "the user's");
    try {
        staged.moveIn();
        FAIL() << "moved in over a directory";
    } catch (const VelkFileError& error) {
        EXPECT_EQ(error.getMessage(), "Could not write the file (Is a directory) (file = '" + path("B.html") + "')");
    }
    auto expected = before;
    expected["B.html"] = "/";
    expected["B.html/inside.txt"] = "the user's";
    EXPECT_EQ(tree(), expected);
}

TEST_F(StagedFilesTest, PlacesAreJudgedByWhatStandsThereWhenTheFilesMoveIn) {
    // Directories at two places: the one made first is named, whatever
    // the order of their folders.
    put("util/List.html", "old list");
    fs::create_directories(dir / "util/Map.html");
    fs::create_directories(dir / "io/File.html");
    StagedFiles staged;
    write(staged, path("util/List.html"), "new list");
    write(staged, path("util/Map.html"), "new map");
    write(staged, path("io/File.html"), "new file");
    try {
        staged.checkPlaces();
        FAIL() << "a directory stands at a place";
    } catch (const VelkFileError& error) {
        EXPECT_EQ(error.getMessage(), "Couldn't open the output file (file = '" + path("util/Map.html") + "')");
    }
    staged.discard();
    EXPECT_EQ(get("util/List.html"), "old list");

    // Free when checked, taken before moving in: a file there (or a link)
    // is replaced as an old page would be.
    fs::create_directories(dir / "fresh");
    write(staged, path("fresh/A.html"), "new A");
    write(staged, path("fresh/B.html"), "new B");
    write(staged, path("fresh/C.html"), "new C");
    staged.checkPlaces();
    put("fresh/A.html", "came since");
    fs::create_symlink("A.html", dir / "fresh/B.html");
    staged.moveIn();
    staged.commit();
    EXPECT_EQ(tree(), (std::map<std::string, std::string>{{"fresh", "/"},
                                                          {"fresh/A.html", "new A"},
                                                          {"fresh/B.html", "new B"},
                                                          {"fresh/C.html", "new C"},
                                                          {"io", "/"},
                                                          {"io/File.html", "/"},
                                                          {"util", "/"},
                                                          {"util/List.html", "old list"},
                                                          {"util/Map.html", "/"}}));
}

TEST_F(StagedFilesTest, AFileThatCannotMoveInIsNamedInTheOrderMadeAndEveryOtherGoesBack) {
    // Folders of different sizes, so that the largest is not the one
    // whose files were made first; on one thread and on several.
    const std::vector<std::pair<std::string, int>> folders{{"io", 3}, {"util", 9}, {"net", 2}, {"lang", 5}};
    for (const char* threads : {"1", "4"}) {
        SCOPED_TRACE(threads);
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const auto& [folder, count] : folders)
            for (int i = 0; i < count; ++i)
                put(folder + "/Page" + std::to_string(i) + ".html", "old " + folder + std::to_string(i));
        const auto expected = tree();
        StagedFiles staged;
        std::map<std::string, fs::path> temporaryOf;
        for (int i = 0; i < 9; ++i)
            for (const auto& [folder, count] : folders) {
                if (i >= count) continue;
                const std::string name = folder + "/Page" + std::to_string(i) + ".html";
                const auto before = tree();
                write(staged, path(name), "new " + folder + std::to_string(i));
                for (const auto& [entry, content] : tree())
                    if (!before.contains(entry)) temporaryOf[name] = dir / entry;
            }
        // Gone from under the run: these two cannot move in. lang/Page1
        // was made before util/Page4, though util is moved first.
        for (const auto& [folder, i] : {std::pair<std::string, int>{"util", 4}, {"lang", 1}})
            fs::remove(temporaryOf.at(folder + "/Page" + std::to_string(i) + ".html"));
        ASSERT_EQ(::setenv("VANTRY_THREADS", threads, 1), 0);
        try {
            staged.moveIn();
            ADD_FAILURE() << "moved in without the missing files";
        } catch (const VelkFileError& error) {
            EXPECT_EQ(error.getMessage(), "Could not write the file (No such file or directory) (file = '" +
                                              path("lang/Page1.html") + "')");
        }
        ::unsetenv("VANTRY_THREADS");
        EXPECT_EQ(tree(), expected);
        EXPECT_EQ(staged.size(), 0u);
    }
}

TEST_F(StagedFilesTest, TemporariesLeftByAnEndedRunGoWhereverTheyWaitBelowTheSite) {
    // A run that was ended at once leaves its temporaries, in folders the
    // next run may never write; the process that made them is gone.
    put("projects/java.lang/String.html", "old page");
    const pid_t ended = ::fork();
    if (ended == 0) {
        StagedFiles staged;
        int fd = staged.create(path("A.html"));
        int deep = staged.create(path("projects/java.lang/String.html"));
        ::_exit(fd >= 0 && deep >= 0 ? 0 : 1);  // no destructor: as after a second signal
    }
    int status = 0;
    ASSERT_EQ(::waitpid(ended, &status, 0), ended);
    ASSERT_EQ(status, 0);
    // One of a process that still runs (this one's other set) stays.
    StagedFiles running;
    write(running, path("B.html"), "running");
    put("notes/.vantry-notes.txt", "a file of the user's");
    put(".vantry-1-2-3", "not a temporary name");

    // The temporaries' processes, by name.
    auto temporaries = [&] {
        std::map<std::string, long> found;
        for (const auto& [name, content] : tree())
            if (auto process = stagedFileProcess(fs::path(name).filename().string())) found[name] = *process;
        return found;
    };
    // One of a process killed and not yet collected by its parent.
    const pid_t zombie = ::fork();
    if (zombie == 0) {
        StagedFiles staged;
        ::_exit(staged.create(path("projects/Z.html")) >= 0 ? 0 : 1);
    }
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(zombie), &info, WEXITED | WNOWAIT), 0);
    ASSERT_EQ(temporaries().size(), 4u);

    removeEndedTemporaries(dir.string());
    ASSERT_EQ(::waitpid(zombie, nullptr, 0), zombie);
    const auto left = temporaries();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.begin()->second, static_cast<long>(::getpid()));
    EXPECT_EQ(get(left.begin()->first), "running");
    EXPECT_EQ(get("projects/java.lang/String.html"), "old page");
    EXPECT_EQ(get("notes/.vantry-notes.txt"), "a file of the user's");
    EXPECT_EQ(get(".vantry-1-2-3"), "not a temporary name");
}

// The renames of the system, with one place whose swap fails as an
// immutable page's does, and one whose swap back fails once it swapped.
struct FailingMoves {
    static inline std::string refusedPlace, stuckPlace;
    static inline bool swapped = false;
    static int exchange(const char* a, const char* b) {
        if (refusedPlace == b || (swapped && stuckPlace == b)) {
            errno = refusedPlace == b ? EPERM : EIO;
            return -1;
        }
        const int done = StagedFiles::systemMoves.exchange(a, b);
        if (done == 0 && stuckPlace == b) swapped = true;
        return done;
    }
    static StagedFiles::Moves moves(const std::string& refused, const std::string& stuck = "") {
        refusedPlace = refused;
        stuckPlace = stuck;
        swapped = false;
        StagedFiles::Moves m = StagedFiles::systemMoves;
        m.exchange = exchange;
        return m;
    }
};

TEST_F(StagedFilesTest, AMoveThatFailsOrStopsPutsTheOldSiteBackByteForByte) {
    put("index.html", "old index");
    put("a/A.html", "old A");
    put("a/B.html", "old B");
    put("b/C.html", "old C");
    const auto before = tree();
    for (const char* threads : {"1", "4"}) {
        SCOPED_TRACE(threads);
        ASSERT_EQ(::setenv("VANTRY_THREADS", threads, 1), 0);
        // One old page cannot be replaced: every other one is put back,
        // the new pages and the folder made for them go.
        {
            StagedFiles staged;
            staged.useMoves(FailingMoves::moves(path("a/B.html")));
            makeSiteDirectory(path("c"), &staged);
            for (const char* name : {"index.html", "a/A.html", "a/B.html", "b/C.html", "c/New.html", "a/New.html"})
                write(staged, path(name), std::string("new ") + name);
            try {
                staged.moveIn();
                ADD_FAILURE() << "moved in over a page that cannot be replaced";
            } catch (const VelkFileError& error) {
                EXPECT_EQ(error.getMessage(),
                          "Could not write the file (Operation not permitted) (file = '" + path("a/B.html") + "')");
            }
            EXPECT_EQ(tree(), before);
        }
        // A stop asked for while the files move: the same.
        {
            StagedFiles staged;
            for (const char* name : {"index.html", "a/A.html", "b/C.html", "b/New.html"})
                write(staged, path(name), std::string("new ") + name);
            int asked = 0;
            EXPECT_FALSE(staged.moveIn([&] { return ++asked > 2; }));
            EXPECT_EQ(tree(), before);
        }
        // Moved in whole, and then given up (the module's pages failed):
        // back too.
        {
            StagedFiles staged;
            write(staged, path("a/A.html"), "new A");
            write(staged, path("a/Other.html"), "new other");
            EXPECT_TRUE(staged.moveIn());
            EXPECT_EQ(get("a/A.html"), "new A");
            staged.rollBack();
            EXPECT_EQ(tree(), before);
        }
        ::unsetenv("VANTRY_THREADS");
    }
}

TEST_F(StagedFilesTest, APageThatCannotBePutBackIsNamedAndTheIndexSaysTheSiteIsIncomplete) {
    put("index.html", "old index");
    put("A.html", "old A");
    put("B.html", "old B");
    StagedFiles staged;
    // A moves in first; B cannot; A cannot be swapped back.
    staged.useMoves(FailingMoves::moves(path("B.html"), path("A.html")));
    write(staged, path("A.html"), "new A");
    write(staged, path("B.html"), "new B");
    ASSERT_EQ(::setenv("VANTRY_THREADS", "1", 1), 0);
    try {
        staged.moveIn();
        ADD_FAILURE() << "moved in over a page that cannot be replaced";
    } catch (const IncompleteSiteError& error) {
        EXPECT_EQ(error.getMessage(),
                  "Could not put the earlier file back (Input/output error) (file = '" + path("A.html") + "')");
        EXPECT_TRUE(markSiteIncomplete(path("index.html"), error.getMessage()));
    }
    ::unsetenv("VANTRY_THREADS");
    EXPECT_EQ(get("A.html"), "new A");
    EXPECT_EQ(get("B.html"), "old B");
    // What a browser shows of the index page.
    std::string shown, page = get("index.html");
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == '<') i = page.find('>', i);
        else shown += page[i];
    }
    EXPECT_NE(shown.find("This site is incomplete"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Could not put the earlier file back (Input/output error) (file = '" + path("A.html") + "')"),
              std::string::npos)
        << shown;
}

TEST_F(StagedFilesTest, ANameTooLongForTheFileSystemFailsTheSiteBeforeAnythingMoves) {
    put("index.html", "old index");
    const auto before = tree();
    StagedFiles staged;
    const std::string longName(NAME_MAX - 4, 'L');
    write(staged, path("index.html"), "new index");
    write(staged, path(longName + ".html"), "a page of a long class name");
    try {
        staged.moveIn();
        ADD_FAILURE() << "moved in under a name too long";
    } catch (const VelkFileError& error) {
        EXPECT_EQ(error.getMessage(),
                  "Couldn't open the output file (File name too long) (file = '" + path(longName + ".html") + "')");
    }
    staged.discard();
    EXPECT_EQ(tree(), before);
}

}  // namespace
