#include "modules/standard/PageClassDetail.h"

#include "modules/standard/PageTestSupport.h"

#include <gtest/gtest.h>

namespace {

using pagetest::contains;

struct ClassPageTest : ::testing::Test {
    pagetest::ListFixture f;
    pagetest::TempDir dir;
    ClassPageContext context;

    void SetUp() override {
        context.outputDirectory = dir.str();
        context.classList = &f.list;
        context.sourceDirectory = "?";
        context.pageHead = [](const std::string& title) { return "<HTML>" + title + "\n"; };
        context.pageTail = "</HTML>";
        context.documentTitle = "Docs";
        context.framesHref = "../../index.html";
        context.overviewSummaryName = "overview-summary.html";
        context.firstIndexName = "index-all.html";
    }

    std::string page(const CppClass& cls) {
        writeClassPage(cls, context, {}, {});
        return pagetest::readFile(dir.str() + "/" + cls.getPageFile(""));
    }

    // The navigation bars of a page, in page order.
    static std::vector<std::string> bars(const std::string& text) {
        const std::string start = "<TABLE BORDER=\"0\" WIDTH=\"100%\"";
        const std::string end = "END OF NAVBAR";
        std::vector<std::string> found;
        for (std::size_t at = text.find(start); at != std::string::npos;
             at = text.find(start, at + 1))
            found.push_back(text.substr(at, text.find(end, at) - at));
        return found;
    }
};

TEST_F(ClassPageTest, BottomBarCarriesCreditOnlyWhenAsked) {
    DocCppClass* plain = f.addClass("Plain", "p");
    f.addMember(plain, "run", "void run();", "public", "", true);
    std::vector<std::string> plainBars = bars(page(*plain));
    ASSERT_EQ(plainBars.size(), 2u);
    EXPECT_EQ(plainBars[0], plainBars[1]);
    EXPECT_TRUE(contains(plainBars[0], "<A HREF=\"#method_summary\">METHOD</A>"));

    f.options.showVersion = true;
    DocCppClass* credited = f.addClass("Credited", "p");
    std::vector<std::string> creditedBars = bars(page(*credited));
    ASSERT_EQ(creditedBars.size(), 2u);
    EXPECT_FALSE(contains(creditedBars[0], "Vantry v"));
    EXPECT_TRUE(contains(creditedBars[1], "Vantry v"));
}

TEST_F(ClassPageTest, DirectoryRemovedDuringThePassIsMadeAgain) {
    DocCppClass* first = f.addClass("First", "p");
    DocCppClass* second = f.addClass("Second", "p");
    EXPECT_TRUE(contains(page(*first), "First"));
    std::filesystem::remove_all(dir.path / "p");
    EXPECT_TRUE(contains(page(*second), "Second"));
    EXPECT_TRUE(contains(page(*first), "First"));
}

}  // namespace
