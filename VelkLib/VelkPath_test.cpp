#include "VelkLib/VelkPath.h"

#include "VelkLib/VelkError.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(VelkPath, DirectoryAndFileNameAcceptBothSeparators) {
    EXPECT_EQ(directoryOf("/a/b.txt"), "/a");
    EXPECT_EQ(directoryOf("/x.html"), "/");
    EXPECT_EQ(directoryOf("\\x.html"), "/");
    EXPECT_EQ(directoryOf("b.txt"), ".");
    EXPECT_EQ(directoryOf("a/b\\c.txt"), "a/b");
    EXPECT_EQ(fileNameOf("a\\b.txt"), "b.txt");
    EXPECT_EQ(fileNameOf("a/b.txt"), "b.txt");
    EXPECT_EQ(fileNameOf("b.txt"), "b.txt");
    EXPECT_EQ(fileNameOf("a/"), "");
}

TEST(VelkPath, RelativeAndAbsolute) {
    EXPECT_TRUE(isRelativePath(""));
    EXPECT_TRUE(isRelativePath("C:x"));
    EXPECT_FALSE(isRelativePath("/x"));
    EXPECT_FALSE(isRelativePath("\\x"));
    const std::string current = getCurrentDirectory();
    EXPECT_EQ(makeAbsolutePath("."), current);
    EXPECT_EQ(makeAbsolutePath("sub/x"), current + "/sub/x");
    EXPECT_EQ(makeAbsolutePath("/x"), "/x");
    EXPECT_EQ(directoryOf("b.txt", true), current);
}

TEST(VelkPath, CurrentDirectoryAtRootAndAfterRemoval) {
    const std::string saved = getCurrentDirectory();
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(makeAbsolutePath("x"), "/x");  // no doubled separator
    std::string pattern = (fs::temp_directory_path() / "velkpath-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    ASSERT_EQ(chdir(pattern.c_str()), 0);
    fs::remove(pattern);
    EXPECT_THROW(getCurrentDirectory(), VelkError);
    ASSERT_EQ(chdir(saved.c_str()), 0);
}

TEST(VelkPath, SafeComponentsFitTheFileSystemAndStayApart) {
    EXPECT_EQ(safePathComponent("my lib[1]:x/y\\z\n"), "my_lib_1_.x_y_z_");
    EXPECT_EQ(safePathComponent(".."), "_");
    EXPECT_EQ(safePathComponent(""), "_");
    EXPECT_EQ(safePathComponent("java.util"), "java.util");

    const std::string a(300, 'K'), b = std::string(299, 'K') + "L";
    const std::string fa = safePathComponent(a), fb = safePathComponent(b);
    EXPECT_LE((fa + ".java.html").size(), kMaxFileNameBytes);
    EXPECT_NE(fa, fb);  // a long shared head still gives two names
    EXPECT_EQ(fa, safePathComponent(a));
    EXPECT_EQ(fitFileName("short.html"), "short.html");
    // A cut never splits a UTF-8 sequence.
    std::string accents;
    for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";
    const std::string fitted = fitFileName(accents, 100);
    EXPECT_LE(fitted.size(), 100u);
    const std::string head = fitted.substr(0, fitted.find('~'));
    EXPECT_EQ(head.size() % 2, 0u);
}

TEST(VelkPath, NamesTooLongForAFileSystem) {
    const std::string longest(NAME_MAX, 'n');
    EXPECT_FALSE(makesTooLongAName(longest, 0));
    EXPECT_TRUE(makesTooLongAName(longest + "n", 0));
    EXPECT_TRUE(makesTooLongAName(longest.substr(9), 10));  // the last part with its suffix
    EXPECT_FALSE(makesTooLongAName(longest.substr(9), 9));
    EXPECT_TRUE(makesTooLongAName("docs/" + longest + "n/classes", 0));
    EXPECT_TRUE(makesTooLongAName("docs\\" + longest + "n", 0));
    EXPECT_FALSE(makesTooLongAName("docs/" + longest + "/" + longest, 0));
}

TEST(VelkPath, LeavingADirectory) {
    for (const char* inside : {"", ".", "projects", "a/../b", "a/b/../..", "./x", "x\\y"})
        EXPECT_FALSE(leavesDirectory(inside)) << inside;
    for (const char* outside : {"..", "../x", "a/../..", "a\\..\\..\\x", "/tmp/x", "\\x"})
        EXPECT_TRUE(leavesDirectory(outside)) << outside;
}

TEST(VelkPath, LexicalPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"a/../b", "b"},   {"a\\..\\b", "b"},   {"./docs/./api/", "docs/api"}, {"a/..", "."},
        {"", "."},         {"../x", "../x"},    {"a/../../x", "../x"},         {"/../x", "/x"},
        {"/a/b/../c", "/a/c"}, {"out//projects\\", "out/projects"}};
    for (const auto& [path, folders] : cases) EXPECT_EQ(lexicalPath(path), folders) << path;
}

TEST(VelkPath, SiteFoldersAndPageNamesStayInsideTheOutput) {
    for (const char* folder : {"projects", "docs/api", "a/../b", "a\\..\\b", "."})
        EXPECT_EQ(siteFolderRefusal("-classdir", folder), "") << folder;
    EXPECT_EQ(siteFolderRefusal("-classdir", "C:\\docs"),
              "The value \"C:\\docs\" of -classdir is no relative path; give a folder inside the "
              "output directory.");
    for (const char* away : {"/srv/www", "\\docs", "c:docs"})
        EXPECT_NE(siteFolderRefusal("-classdir", away).find("is no relative path"), std::string::npos) << away;
    EXPECT_EQ(siteFolderRefusal("-classdir", "a/../../x"), leavingOutputText("-classdir", "a/../../x"));

    for (const char* name : {"index", "api-index", "my index", "v1.2"})
        EXPECT_EQ(pageBaseRefusal("index-file-base", name), "") << name;
    for (const char* folder : {"sub/idx", "sub\\idx", "x/..", "a..b"})
        EXPECT_EQ(pageBaseRefusal("-index-file-base", folder),
                  "The value \"" + std::string(folder) +
                      "\" of -index-file-base is no plain name; give one without \"/\", \"\\\" or "
                      "\"..\" (the pages it names stand beside the main page).")
            << folder;
    EXPECT_EQ(pageBaseRefusal("index-file-base", "../../x"), leavingOutputText("index-file-base", "../../x"));
}
