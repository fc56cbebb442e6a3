#include "model/Keywords.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

TEST(Keywords, CommonWordsCountForEveryLanguageValue) {
    EXPECT_TRUE(isKeyword("while", 3));
    EXPECT_TRUE(isKeyword("while", 7));
    EXPECT_TRUE(isKeyword("while", -1));
    EXPECT_TRUE(isKeyword("class", 1));
    EXPECT_FALSE(isKeyword("Class", 0));
    EXPECT_FALSE(isKeyword("", 0));
    EXPECT_FALSE(isKeyword("bool", 3));
}

TEST(Keywords, LanguageTablesAreExact) {
    EXPECT_FALSE(isKeyword("bool", 2));
    EXPECT_TRUE(isKeyword("bool", 1));
    EXPECT_TRUE(isKeyword("short", 0));
    EXPECT_TRUE(isKeyword("short", 2));
    EXPECT_FALSE(isKeyword("short", 1));
    EXPECT_FALSE(isKeyword("string", 1));
    for (const char* w : {"get", "set", "value", "stackalloc"}) EXPECT_TRUE(isKeyword(w, 1)) << w;
    for (const char* w : {"transient", "throws", "implements"}) EXPECT_TRUE(isKeyword(w, 2)) << w;
    EXPECT_FALSE(isKeyword("template", 2));
    EXPECT_FALSE(isKeyword("implements", 0));
}

TEST(Keywords, NearMissesAreNoKeywords) {
    EXPECT_FALSE(isKeyword("whil", 0));
    EXPECT_FALSE(isKeyword("whilee", 0));
    EXPECT_FALSE(isKeyword("in", 0));
    EXPECT_TRUE(isKeyword("in", 1));
    EXPECT_TRUE(isKeyword("int", 1));
    EXPECT_FALSE(isKeyword(std::string_view("int\0x", 5), 0));
    EXPECT_FALSE(isKeyword(std::string_view("int", 2), 0));
    EXPECT_FALSE(isKeyword("synchronizedsynchronized", 2));
    EXPECT_TRUE(isKeyword(std::string("xsynchronized").substr(1), 2));
}

TEST(Keywords, FirstUseFromManyThreads) {
    std::vector<std::thread> threads;
    std::vector<int> results(8, 0);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&results, i] { results[i] = isKeyword("namespace", i % 2 ? 1 : 0); });
    for (auto& t : threads) t.join();
    for (int r : results) EXPECT_EQ(r, 1);
}

TEST(Keywords, OperatorAndSeparatorTokens) {
    for (char c : std::string("!&*+-/:<=>|")) EXPECT_TRUE(isOperatorToken(std::string(1, c))) << c;
    EXPECT_FALSE(isOperatorToken("=="));
    EXPECT_FALSE(isOperatorToken("->"));
    EXPECT_FALSE(isOperatorToken("%"));
    EXPECT_FALSE(isOperatorToken(""));
    EXPECT_FALSE(isOperatorToken(std::string(1, '\0')));
    for (char c : std::string("()[]{}")) EXPECT_TRUE(isSeparatorToken(std::string(1, c))) << c;
    EXPECT_FALSE(isSeparatorToken(";"));
    EXPECT_FALSE(isSeparatorToken(","));
    EXPECT_FALSE(isSeparatorToken("()"));
}
