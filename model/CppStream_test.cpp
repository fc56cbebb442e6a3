#include "model/CppStream.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {
constexpr int endOfFile = std::char_traits<char>::eof();
}

TEST(CppStream, GetPutBackAndEndOfInput) {
    CppStrStream s("a\xe9", "x.cpp");
    EXPECT_EQ(s.getFileName(), "x.cpp");
    EXPECT_EQ(s.get(), 'a');
    s.putBack('a');
    EXPECT_EQ(s.peek(), 'a');
    EXPECT_EQ(s.get(), 'a');
    EXPECT_EQ(s.get(), 0xe9);  // bytes above 127 stay non-negative
    EXPECT_FALSE(s.eof());
    EXPECT_EQ(s.get(), endOfFile);
    EXPECT_TRUE(s.eof());
    EXPECT_EQ(s.get(), endOfFile);

    // Put-back after the end, of a character never read, several deep.
    s.putBack('y');
    s.putBack('x');
    EXPECT_FALSE(s.eof());
    EXPECT_EQ(s.get(), 'x');
    EXPECT_EQ(s.get(), 'y');
    EXPECT_EQ(s.get(), endOfFile);
    EXPECT_TRUE(s.eof());
}

TEST(CppStream, LinesWithAndWithoutFinalLineFeed) {
    std::string longLine(40000, 'z');
    CppStrStream s("one\n\n" + longLine + "\nlast");
    EXPECT_EQ(s.getLine(), "one");
    EXPECT_EQ(s.getLine(), "");
    EXPECT_FALSE(s.eof());
    EXPECT_EQ(s.getLine(), longLine);
    s.putBack('X');
    EXPECT_EQ(s.getLine(), "Xlast");
    EXPECT_TRUE(s.eof());
    EXPECT_EQ(s.getLine(), "");
}

TEST(CppStream, FailedInputEndsReadLoops) {
    std::istringstream in("abc");
    in.setstate(std::ios::failbit);
    ConcreteCppStream s(&in, "f");
    int reads = 0;
    while (!s.eof() && reads < 10) {
        s.get();
        ++reads;
    }
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(s.get(), endOfFile);

    ConcreteCppStream none(nullptr, "n");
    EXPECT_TRUE(none.eof());
    EXPECT_EQ(none.get(), endOfFile);
    EXPECT_EQ(none.getLine(), "");
}
