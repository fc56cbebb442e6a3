// vantry-sitecheck run as a user runs it, over a site the program wrote
// from sources as authors write them: its exit status must tell a clean
// site from a broken one.
#include <gtest/gtest.h>

#include "e2e/ChildProcess.h"
#include "e2e/ProgramFixture.h"

namespace fs = std::filesystem;

namespace {

using e2e::contains;

class SiteCheckRun : public e2e::ProgramFixture {
protected:
    SiteCheckRun() : ProgramFixture("sitecheck-run") {}

    e2e::ChildResult run(const fs::path& program, const std::vector<std::string>& args) {
        return e2e::runChild(program, args, childEnvironment(scratchVariables()), work(), logs());
    }
    // The program documents src/ into the site whose index file is given.
    void document(const std::string& indexFile) {
        const auto result = run(program_, {"-autorun", "-overwrite", "-moduledir=" + moduleDir_.string(),
                                           "src", indexFile});
        ASSERT_EQ(result.exitCode, 0) << result.describe();
    }
    e2e::ChildResult check(const std::vector<std::string>& args) {
        return run(buildDir_ / "vantry-sitecheck", args);
    }

    // A class whose comment has a heading of its own, which the comment
    // itself links to.
    void writeSources() {
        e2e::writeText(work() / "src/shop/Cart.java",
                       "package shop;\n\n"
                       "/**\n"
                       " * A shopping cart.\n"
                       " *\n"
                       " * <h2 id=\"limits\">Limits</h2>\n"
                       " * A cart holds at most 100 lines; see <a href=\"#limits\">its limits</a>.\n"
                       " */\n"
                       "public class Cart {\n"
                       "    /**\n"
                       "     * Adds a line.\n"
                       "     * @param sku the article\n"
                       "     */\n"
                       "    public void add(String sku) {}\n"
                       "}\n");
    }
};

TEST_F(SiteCheckRun, AnAuthorsHeadingWithAnIdIsALinkTarget) {
    writeSources();
    document("site/index.html");
    // Without the sources every link counts as generated; with them the
    // author's links are listed apart when they do not resolve. They do.
    for (const auto& args : {std::vector<std::string>{"site"}, std::vector<std::string>{"site", "src"}}) {
        const auto result = check(args);
        EXPECT_EQ(result.exitCode, 0) << result.out;
        EXPECT_TRUE(contains(result.out, "broken generated links: 0\n")) << result.out;
        EXPECT_TRUE(contains(result.out, "links written in the sources that do not resolve (not counted): 0\n"))
            << result.out;
    }
}

TEST_F(SiteCheckRun, ASiteWrittenAmongItsSourcesIsCheckedAsASite) {
    writeSources();
    document("src/doc/index.html");
    EXPECT_EQ(check({"src/doc", "src"}).exitCode, 0);
    // A page gone from the site: the links to it are the site's fault,
    // not links the authors wrote.
    fs::remove(work() / "src/doc/projects/shop/Cart.html");
    const auto result = check({"src/doc", "src"});
    EXPECT_EQ(result.exitCode, 1) << result.out;
    EXPECT_FALSE(contains(result.out, "broken generated links: 0\n")) << result.out;
    EXPECT_TRUE(contains(result.out, "shop/Cart.html\" names no file")) << result.out;
    EXPECT_TRUE(contains(result.out, "links written in the sources that do not resolve (not counted): 0\n"))
        << result.out;
}

TEST_F(SiteCheckRun, AnOlderSiteAmongTheSourcesHidesNoFaultOfTheNewOne) {
    writeSources();
    // The sources keep last year's site; the new one is written beside
    // them and then loses a page.
    document("src/docs-2025/index.html");
    document("site/index.html");
    EXPECT_EQ(check({"site", "src"}).exitCode, 0);
    fs::remove(work() / "site/projects/shop/Cart.html");
    const auto result = check({"site", "src"});
    EXPECT_EQ(result.exitCode, 1) << result.out;
    EXPECT_TRUE(contains(result.out, "shop/Cart.html\" names no file")) << result.out;
    EXPECT_TRUE(contains(result.out, "links written in the sources that do not resolve (not counted): 0\n"))
        << result.out;
}

TEST_F(SiteCheckRun, AnEmptyCommentInACommentHidesNothingAfterIt) {
    // "<!-->" is a whole comment to a browser: what follows it is shown,
    // and its links are followed.
    e2e::writeText(work() / "src/shop/Cart.java",
                   "package shop;\n\n/** A cart <!--> of lines. */\npublic class Cart {\n"
                   "    /** Adds a line. */\n    public void add(String sku) {}\n}\n");
    document("site/index.html");
    EXPECT_EQ(check({"site", "src"}).exitCode, 0);
    fs::remove(work() / "site/index-all.html");
    const auto result = check({"site", "src"});
    EXPECT_EQ(result.exitCode, 1) << result.out;
    EXPECT_TRUE(contains(result.out, "projects/shop/Cart.html: \"../../index-all.html\" names no file")) << result.out;
}

}  // namespace
