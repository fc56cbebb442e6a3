#include "model/CppStream.h"

#include <gtest/gtest.h>
#include <cstdint>
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

// The in-memory stream reads the string itself; any mix of reads must
// behave as the stream over a standard input stream does on the same text.
TEST(CppStream, MemoryStreamAgreesWithTheStreamOverAnInputStream) {
    const std::string texts[] = {"", "\n", "a", "ab\n", "one\ntwo", "x\n\n\xff\ny\n", "\n\nq"};
    std::uint32_t seed = 7;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (const std::string& text : texts) {
        for (int round = 0; round < 50; ++round) {
            std::istringstream source(text);
            ConcreteCppStream reference(&source, "r");
            CppStrStream memory(text, "m");
            for (int step = 0; step < 12; ++step) {
                SCOPED_TRACE("text '" + text + "' round " + std::to_string(round) + " step " +
                             std::to_string(step));
                switch (next() % 5) {
                    case 0: EXPECT_EQ(memory.get(), reference.get()); break;
                    case 1: EXPECT_EQ(memory.peek(), reference.peek()); break;
                    case 2: EXPECT_EQ(memory.getLine(), reference.getLine()); break;
                    case 3: {
                        int c = "\nz"[next() % 2];
                        memory.putBack(c);
                        reference.putBack(c);
                        break;
                    }
                    default: break;
                }
                EXPECT_EQ(memory.eof(), reference.eof());
            }
        }
    }
}
