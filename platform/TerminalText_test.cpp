#include "platform/TerminalText.h"

#include <gtest/gtest.h>

TEST(TerminalText, ControlCharactersAreShownEscaped) {
    EXPECT_EQ(terminalText("src/\x1b]0;owned\x07x.h"), "src/\\x1B]0;owned\\x07x.h");
    EXPECT_EQ(terminalText("a\x1b[2Jb"), "a\\x1B[2Jb");
    EXPECT_EQ(terminalText("x.h\nvantry: Done.\r"), "x.h\\x0Avantry: Done.\\x0D");
    EXPECT_EQ(terminalText("one\ntwo\x7f", true), "one\ntwo\\x7F");
    EXPECT_EQ(terminalText("Version 2 is available.\r\n\tSee\r", true), "Version 2 is available.\n\tSee\\x0D");
    // A C1 control (CSI) is escaped, other characters beyond ASCII are kept.
    EXPECT_EQ(terminalText("a\xc2\x9b" "2Jb \xc3\xa9\xe2\x82\xac"), "a\\u009B2Jb \xc3\xa9\xe2\x82\xac");
    EXPECT_EQ(terminalText("plain/path with blanks.cpp"), "plain/path with blanks.cpp");
}
