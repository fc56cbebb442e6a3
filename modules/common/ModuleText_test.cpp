#include "modules/common/ModuleText.h"

#include "VelkLib/VelkError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class ModuleTextFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("vantry-moduletext-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string write(const std::string& name, const std::string& content) {
        std::ofstream(dir / name, std::ios::binary) << content;
        return (dir / name).string();
    }
    fs::path dir;
};

TEST_F(ModuleTextFiles, CopyTextFileIntoPageTakesFragmentsOrFiles) {
    EXPECT_EQ(copyTextFileIntoPage("<b>x</b>"), "<b>x</b>");
    EXPECT_EQ(copyTextFileIntoPage((dir / "cost $5").string()), (dir / "cost $5").string());
    EXPECT_EQ(copyTextFileIntoPage(write("f", "a\r\nb\n")), "a\nb\n");
    EXPECT_EQ(copyTextFileIntoPage(write("e", "")), "");
    EXPECT_THROW(copyTextFileIntoPage((dir / "footer").string()), VelkFileError);
}

TEST_F(ModuleTextFiles, ReadTextFileEndsEveryLineWithCrLfAndNeverThrows) {
    EXPECT_EQ(readTextFile(write("u", "a\nb\n")), "a\r\nb\r\n");
    EXPECT_EQ(readTextFile(write("n", "a\n\nlast")), "a\r\n\r\nlast\r\n");
    EXPECT_EQ(readTextFile(""), "");
    EXPECT_EQ(readTextFile((dir / "missing").string()), "");
    EXPECT_EQ(readTextFile(dir.string()), "");  // a directory
}

TEST(ModuleText, SmallServices) {
    EXPECT_EQ(globalsLinkLabel("p"), "(p  globals)");
    EXPECT_EQ(globalsLinkLabel(""), "( globals)");
    EXPECT_EQ(globalsLinkLabel("_no_project_"), "( globals)");
    EXPECT_EQ(languageFromText("csharp"), 1);
    EXPECT_EQ(languageFromText("c++"), 3);
    EXPECT_EQ(rightChars("abc", 1), "c");
    EXPECT_EQ(rightChars("", 4), "");
    EXPECT_THROW(rightChars("abc", 4), std::out_of_range);
    EXPECT_EQ(leftChars("abc", 5), "abc");
    EXPECT_EQ(escapeHtml("a<b>&\"c\""), "a&lt;b&gt;&amp;&quot;c&quot;");
}

TEST(ModuleText, FindOutsideQuotesSkipsNesting) {
    const std::string args = "map<int, pair<a, b>> m, f(x, y), \"q,\" , 'c'";
    EXPECT_EQ(findOutsideQuotes(args, ',', 0, false, false), 7u);
    EXPECT_EQ(findOutsideQuotes(args, ',', 0, false, true), 22u);
    EXPECT_EQ(findOutsideQuotes(args, ',', 23, false, true), 31u);
    EXPECT_EQ(findOutsideQuotes(args, ',', 32, false, true), 38u);
    EXPECT_EQ(findOutsideQuotes("a','b", ',', 0, true, false), std::string::npos);
    EXPECT_EQ(findOutsideQuotes("a','b", ',', 0, false, false), 2u);
    EXPECT_EQ(findOutsideQuotes("a)),b", ',', 0, false, false), 3u);
    EXPECT_EQ(findOutsideQuotes("ab", 'a', 5, false, false), std::string::npos);
}

}  // namespace

TEST(ModuleText, FindLastOfEitherFindsTheLaterOfTheTwo) {
    EXPECT_EQ(findLastOfEither("", '/', '\\'), std::string_view::npos);
    EXPECT_EQ(findLastOfEither("name", '/', '\\'), std::string_view::npos);
    EXPECT_EQ(findLastOfEither("/a\\b/c", '/', '\\'), 4u);
    EXPECT_EQ(findLastOfEither("a::b.c", ':', '.'), 4u);
    EXPECT_EQ(findLastOfEither(":x", ':', '.'), 0u);
    EXPECT_EQ(findLastOfEither("x.", ':', '.'), 1u);
}

TEST(ModuleText, FindFirstOfFourFindsTheEarliestFromItsStart) {
    EXPECT_EQ(findFirstOfFour("", 0, 'a', 'b', 'c', 'd'), std::string_view::npos);
    EXPECT_EQ(findFirstOfFour("xyz", 5, 'x', 'b', 'c', 'd'), std::string_view::npos);
    EXPECT_EQ(findFirstOfFour("xyz&", 0, 'a', '"', '&', '<'), 3u);
    // Every place in and around the sixteen-byte steps, each character.
    for (std::size_t at = 0; at < 40; ++at) {
        for (char c : {'n', '"', '&', '<'}) {
            std::string text(40, '.');
            text[at] = c;
            EXPECT_EQ(findFirstOfFour(text, 0, 'n', '"', '&', '<'), at);
            EXPECT_EQ(findFirstOfFour(text, at, 'n', '"', '&', '<'), at);
            EXPECT_EQ(findFirstOfFour(text, at + 1, 'n', '"', '&', '<'), std::string_view::npos);
        }
    }
}
