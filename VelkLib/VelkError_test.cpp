#include "VelkLib/VelkError.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>

TEST(VelkError, SystemFormTakesLastErrorAndItsText) {
    ASSERT_EQ(open("/nonexistent/definitely/not", O_RDONLY), -1);
    VelkError e("Could not open", -1);
    EXPECT_EQ(e.detail, "System error code 2");
    EXPECT_EQ(e.getMessage(), "Could not open (No such file or directory)");
    EXPECT_EQ(e.sourceFile, "[none]");
}

TEST(VelkError, SystemFormWithoutTextKeepsMessage) {
    VelkError e("Failed", 987654);
    EXPECT_EQ(e.getMessage(), "Failed");
    EXPECT_EQ(e.detail, "System error code 987654");
}

TEST(VelkError, DerivedTextThroughBaseHandler) {
    try {
        throw VelkFileError("Couldn't open the file", "a.txt");
    } catch (const VelkError& e) {
        EXPECT_EQ(e.getMessage(), "Couldn't open the file (file = 'a.txt')");
        EXPECT_STREQ(e.what(), "Couldn't open the file");
    }
}

TEST(VelkError, AFileErrorShowsTheNamesControlCharactersEscaped) {
    const VelkFileError e("Couldn't find the file", "src/a\nvantry: Done.\x1b[2J.h");
    EXPECT_EQ(e.getMessage(), "Couldn't find the file (file = 'src/a\\x0Avantry: Done.\\x1B[2J.h')");
}
