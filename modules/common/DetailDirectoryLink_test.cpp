#include "modules/common/DetailDirectoryLink.h"

#include <gtest/gtest.h>

namespace {

TEST(DetailDirectoryLink, FromTheMainPageAndBackFromEveryDepth) {
    struct Case {
        const char* detail;
        const char* mainPage;
        const char* link;
        const char* upFromProject;  // one level below the detail directory
    };
    const Case cases[] = {
        {"/o/projects", "/o/index.html", "projects", "../../"},
        {"/o/sub/dir", "/o/index.html", "sub/dir", "../../../"},
        {"/o/sub\\dir\\", "/o/index.html", "sub/dir", "../../../"},
        {"sub/dir", "index.html", "sub/dir", "../../../"},
        {"./a/b/c", "index.html", "a/b/c", "../../../../"},
        {"/o", "/o/index.html", "", "../"},
        {"/o/./", "/o/index.html", "", "../"},
        // A directory elsewhere: its last component is all a link can say.
        {"/elsewhere/docs", "/o/index.html", "docs", "../../"},
        {"../docs", "index.html", "docs", "../../"},
        // Named with a way through another folder: the folders it names.
        {"/o/a/../b", "/o/index.html", "b", "../../"},
        {"/o/a\\..\\b", "/o/index.html", "b", "../../"},
        {"out/a/./../b/c", "out/index.html", "b/c", "../../../"},
        {"/o/x/../sub/dir", "/o/../o/index.html", "sub/dir", "../../../"},
    };
    for (const Case& c : cases) {
        const std::string link = detailDirectoryLink(c.detail, c.mainPage);
        EXPECT_EQ(link, c.link) << c.detail;
        EXPECT_EQ(upToMainDirectory(link, 1), c.upFromProject) << c.detail;
    }
    EXPECT_EQ(upToMainDirectory("", 0), "");
    EXPECT_EQ(directoryLevels("lib/Shape.html"), 1u);
    EXPECT_EQ(directoryLevels("Shape.html"), 0u);
    EXPECT_EQ(directoryLevels("a//./b/c.html"), 2u);
}

}  // namespace
