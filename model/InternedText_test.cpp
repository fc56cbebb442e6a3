#include "model/InternedText.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(InternedTextTest, EqualTextsShareOneCopyAndDifferentOnesStayApart) {
    std::string built = "const";
    built += "&";  // not a common word: goes through the registry
    InternedText a("const&"), b(built), c("const&&"), empty;
    EXPECT_EQ(&a.str(), &b.str());
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_EQ(c.str(), "const&&");
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(empty == InternedText(""));
    EXPECT_EQ(&InternedText("public").str(), &InternedText(std::string("public")).str());

    a = "boost::asio::detail";
    EXPECT_EQ(a.str(), "boost::asio::detail");
    EXPECT_TRUE(a == std::string_view("boost::asio::detail"));
    EXPECT_EQ(b.str(), "const&");  // the other holder keeps its text
}

TEST(InternedTextTest, ThreadsThatInternTheSameTextsGetTheSameCopies) {
    const std::vector<std::string> texts{"/src/a", "/src/b", "noexcept", "struct", "/src/c"};
    std::vector<std::vector<const std::string*>> seen(8);
    std::vector<std::thread> threads;
    for (auto& mine : seen)
        threads.emplace_back([&texts, &mine] {
            for (int round = 0; round < 200; ++round)
                for (const std::string& text : texts) mine.push_back(&InternedText(text).str());
        });
    for (auto& thread : threads) thread.join();
    for (const auto& mine : seen) {
        ASSERT_EQ(mine.size(), seen[0].size());
        for (std::size_t i = 0; i < mine.size(); ++i) {
            EXPECT_EQ(mine[i], seen[0][i]);
            EXPECT_EQ(*mine[i], texts[i % texts.size()]);
        }
    }
}

}  // namespace
