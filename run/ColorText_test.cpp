#include "run/ColorText.h"

#include <gtest/gtest.h>

TEST(ColorText, OnlyTheSixteenNamesAndHashWithSixHexDigitsAreColours) {
    for (const char* color : {"aqua", "Navy", "YELLOW", "fuchsia", "#000000", "#ccccFF", "#C0C0C0"})
        EXPECT_TRUE(isColorText(color)) << color;
    for (const char* other : {"", "orange", "red ", " red", "#12345", "#1234567", "#12345G", "123456",
                              "red\" onmouseover=\"alert(1)", "#FFF", "navy;", "javascript:x"})
        EXPECT_FALSE(isColorText(other)) << other;
    EXPECT_EQ(colorRule(),
              "a colour name (aqua, black, blue, fuchsia, gray, green, lime, maroon, navy, olive, purple, "
              "red, silver, teal, white, yellow) or # and six hexadecimal digits");
}
