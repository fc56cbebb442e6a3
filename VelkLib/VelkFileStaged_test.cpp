// The files of a site written beside their places and moved in together:
// until then the old files stay as they were, and what is not moved in
// leaves nothing behind.
#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkFile.h"

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
            const std::string name = fs::relative(entry.path(), dir).string();
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

    staged.moveIn();
    EXPECT_EQ(staged.size(), 0u);
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
    // whole, and only its file fails.
    write(staged, path("index.html"), "new index");
    write(staged, path("B.html"), "new B");
    staged.checkPlaces();
    put("B.html/inside.txt", "the user's");
    try {
        staged.moveIn();
        FAIL() << "moved in over a directory";
    } catch (const VelkFileError& error) {
        EXPECT_EQ(error.getMessage(), "Could not write the file (file = '" + path("B.html") + "')");
    }
    auto expected = before;
    expected["index.html"] = "new index";
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

TEST_F(StagedFilesTest, AFileThatCannotMoveInIsNamedInTheOrderMadeAndTheOthersStillMoveIn) {
    // Folders of different sizes, so that the largest is not the one
    // whose files were made first; on one thread and on several.
    const std::vector<std::pair<std::string, int>> folders{{"io", 3}, {"util", 9}, {"net", 2}, {"lang", 5}};
    for (const char* threads : {"1", "4"}) {
        SCOPED_TRACE(threads);
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::map<std::string, std::string> expected;
        for (const auto& [folder, count] : folders)
            for (int i = 0; i < count; ++i) {
                put(folder + "/Page" + std::to_string(i) + ".html", "old " + folder + std::to_string(i));
                expected[folder] = "/";
                expected[folder + "/Page" + std::to_string(i) + ".html"] = "new " + folder + std::to_string(i);
            }
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
        for (const auto& [folder, i] : {std::pair<std::string, int>{"util", 4}, {"lang", 1}}) {
            const std::string name = folder + "/Page" + std::to_string(i) + ".html";
            fs::remove(temporaryOf.at(name));
            expected[name] = "old " + folder + std::to_string(i);
        }
        ASSERT_EQ(::setenv("VANTRY_THREADS", threads, 1), 0);
        try {
            staged.moveIn();
            ADD_FAILURE() << "moved in without the missing files";
        } catch (const VelkFileError& error) {
            EXPECT_EQ(error.getMessage(), "Could not write the file (file = '" + path("lang/Page1.html") + "')");
        }
        ::unsetenv("VANTRY_THREADS");
        EXPECT_EQ(tree(), expected);
        EXPECT_EQ(staged.size(), 0u);
    }
}

TEST_F(StagedFilesTest, TemporariesLeftByAnEndedRunGoWhenTheNextOneMovesIn) {
    // A run that was ended at once leaves its temporaries; the process that
    // made them is gone.
    const pid_t ended = ::fork();
    if (ended == 0) {
        StagedFiles staged;
        int fd = staged.create(path("A.html"));
        ::_exit(fd >= 0 ? 0 : 1);  // no destructor: as after a second signal
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
    ASSERT_EQ(temporaries().size(), 2u);

    StagedFiles next;
    write(next, path("A.html"), "new A");
    next.moveIn();
    const auto left = temporaries();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.begin()->second, static_cast<long>(::getpid()));
    EXPECT_EQ(get(left.begin()->first), "running");
    EXPECT_EQ(get("A.html"), "new A");
    EXPECT_EQ(get("notes/.vantry-notes.txt"), "a file of the user's");
    EXPECT_EQ(get(".vantry-1-2-3"), "not a temporary name");
}

}  // namespace
