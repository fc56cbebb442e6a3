#include "model/MacroDefinition.h"
#include "model/DocOptions.h"

#include <gtest/gtest.h>

TEST(MacroDefinition, SignatureWithAndWithoutParameters) {
    MacroDefinition max("MAX", {"a", "b"}, "((a)>(b)?(a):(b))", "", "m.h", "p");
    EXPECT_TRUE(max.hasArguments());
    EXPECT_EQ(max.getSignature(), "#define MAX(a, b) ((a)>(b)?(a):(b))");

    MacroDefinition n("N", {}, "", "doc", "n.h", "");
    EXPECT_FALSE(n.hasArguments());
    EXPECT_EQ(n.getSignature(), "#define N ");
    EXPECT_EQ(n.getComment(), "doc");
    EXPECT_EQ(n.getFileName(), "n.h");
}

TEST(DocOptions, DefaultsAndCopiesAreIndependent) {
    DocOptions o;
    EXPECT_TRUE(o.includeProtected);
    EXPECT_FALSE(o.includePrivate);
    EXPECT_TRUE(o.enableDeprecated && o.generateDeprecationsList && o.enableSince &&
                o.generateHierarchy);
    EXPECT_EQ(o.headerBackgroundDark, "#CCCCFF");
    EXPECT_EQ(o.selectedTextBackground, "navy");
    EXPECT_FALSE(o.dotScope || o.wrapLongLines || o.showTimestamp);
    DocOptions copy = o;
    o.tableBackground = "red";
    EXPECT_EQ(copy.tableBackground, "white");
}
