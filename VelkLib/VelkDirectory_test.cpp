#include "VelkLib/VelkDirectory.h"

#include "VelkLib/VelkError.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include <cstring>
#include <stdlib.h>
#include <cerrno>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

class VelkDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velkdir-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    void touch(const std::string& name) const { std::ofstream(dir + "/" + name) << "x"; }
    static std::string errorText(const std::string& path, bool create) {
        try {
            VelkDirectory d(path, create);
        } catch (const VelkError& e) {
            return e.getMessage();
        }
        return "";
    }

    std::string dir;
};

TEST_F(VelkDirectoryTest, ChecksOrCreatesAndRefusesFiles) {
    touch("file");
    EXPECT_EQ(errorText(dir + "/file", false), "The directory " + dir + "/file does not exist.");
    EXPECT_EQ(errorText(dir + "/file", true), "Not a directory (" + dir + "/file)");
    EXPECT_EQ(errorText(dir + "/file/sub", true),
              "Could not make the directory " + dir + "/file/sub (Not a directory)");
    EXPECT_EQ(errorText("", true), "Path not found ()");

    VelkDirectory made(dir + "/out\\a/b", true);
    EXPECT_EQ(made.getPath(), dir + "/out\\a/b");
    EXPECT_TRUE(fs::is_directory(dir + "/out/a/b"));
    EXPECT_EQ(errorText(dir + "/out/a/b/", true), "");
}

TEST_F(VelkDirectoryTest, ListsSortedRegularFilesIgnoringCase) {
    for (const char* name : {"b.h", "A.H", "c.cpp", "a.hpp"}) touch(name);
    fs::create_directory(dir + "/sub.h");
    fs::create_directory(dir + "/z");
    ASSERT_EQ(mkfifo((dir + "/pipe.h").c_str(), 0600), 0);
    fs::create_symlink(dir + "/b.h", dir + "/link.h");
    fs::create_symlink(dir + "/missing", dir + "/dangling.h");

    VelkDirectory d(dir, false);
    EXPECT_EQ(d.list("*.h", false, false), (Names{"A.H", "b.h", "link.h"}));
    EXPECT_EQ(d.list("*.h", true, false), (Names{"A.H", "b.h", "link.h", "sub.h"}));
    EXPECT_EQ(d.list("?.cpp", false, true), (Names{dir + "/c.cpp"}));
    EXPECT_EQ(d.list("*.java", true, true), Names{});
    EXPECT_EQ(VelkDirectory(dir + "/", false).listSubdirectories(true),
              (Names{dir + "/sub.h", dir + "/z"}));

    // One pass gives the same entries with their kinds: the walk filters
    // these itself and looks only at links further.
    fs::create_directory_symlink(dir + "/z", dir + "/zlink");
    std::vector<std::string> seen;
    for (const VelkDirectory::Entry& e : d.listEntries())
        seen.push_back(e.name + (e.isDirectory ? "/" : "") + (e.isLink ? "@" : ""));
    EXPECT_EQ(seen, (Names{"A.H", "a.hpp", "b.h", "c.cpp", "link.h@", "sub.h/", "z/", "zlink/@"}));
    // What it leaves out, with why, for a walk to name.
    std::vector<VelkDirectory::LeftOut> leftOut;
    d.listEntries(nullptr, nullptr, &leftOut);
    seen.clear();
    for (const VelkDirectory::LeftOut& e : leftOut)
        seen.push_back(e.name + (e.isLink ? "@ " : " ") + (e.kind.empty() ? std::strerror(e.error) : e.kind));
    EXPECT_EQ(seen, (Names{"dangling.h@ No such file or directory", "pipe.h a FIFO"}));
    EXPECT_EQ(VelkDirectory(dir + "/", false).entryPrefix(), dir + "/");
    EXPECT_EQ(d.entryPrefix(), dir + "/");
}

TEST(VelkWildcard, Patterns) {
    EXPECT_TRUE(matchesWildcard("*.*", "Makefile"));
    EXPECT_TRUE(matchesWildcard("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(matchesWildcard("a*b*c", "aXbYbZ"));
    // A leading star before plain text tests the name's end, in any case.
    EXPECT_TRUE(matchesWildcard("*.h", "Widget.H"));
    EXPECT_TRUE(matchesWildcard("*.h", ".h"));
    EXPECT_TRUE(matchesWildcard("*.hpp", "a.b.hpp"));
    EXPECT_FALSE(matchesWildcard("*.h", "Widget.hpp"));
    EXPECT_FALSE(matchesWildcard("*.h", "h"));
    EXPECT_FALSE(matchesWildcard("*.java", "Java"));
    EXPECT_TRUE(matchesWildcard("*.?pp", "a.cpp"));
    EXPECT_FALSE(matchesWildcard("*.?pp", "a.pp"));
    // Many stars on a long name must not explode.
    EXPECT_FALSE(matchesWildcard("*a*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

// A site's folder that is a link would send its pages elsewhere.
TEST_F(VelkDirectoryTest, SiteFoldersAreNeverLinks) {
    fs::create_directory(dir + "/elsewhere");
    fs::create_directory(dir + "/out");
    fs::create_directory_symlink("../elsewhere", dir + "/out/projects");
    try {
        makeSiteDirectory(dir + "/out/projects");
        ADD_FAILURE() << "a linked folder was taken";
    } catch (const VelkError& e) {
        EXPECT_EQ(e.getMessage(), "The folder " + dir +
                                      "/out/projects of the site is a symbolic link; remove it or "
                                      "write the site elsewhere.");
    }
    makeSiteDirectory(dir + "/out/pages/a");
    EXPECT_TRUE(fs::is_directory(dir + "/out/pages/a"));
}

// A directory that cannot be read says so, and says what it really is.
TEST_F(VelkDirectoryTest, ListingTellsErrorsAndTheRealPath) {
    fs::create_directory(dir + "/real");
    touch("real/a.h");
    fs::create_directory_symlink("real", dir + "/alias");
    int error = -1;
    std::string real;
    ASSERT_EQ(VelkDirectory(dir + "/alias", false).listEntries(&error, &real).size(), 1u);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(real, fs::canonical(dir + "/real").string());
    // Something other than a directory where one stood: nothing listed,
    // and the reason.
    VelkDirectory gone(dir + "/real", false);
    fs::remove_all(dir + "/real");
    touch("real");
    EXPECT_TRUE(gone.listEntries(&error).empty());
    EXPECT_EQ(error, ENOTDIR);
}

}  // namespace
