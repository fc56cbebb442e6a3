#include "VelkLib/VelkCmdLine.h"

#include <gtest/gtest.h>

TEST(VelkCmdLine, SplitsFlagsFromParametersKeepingEachOrder) {
    const char* argv[] = {"vantry", "a.prj", "-overwrite", "/q", "-", "out.html", "-title=X"};
    VelkCmdLine cmd(7, argv);
    ASSERT_EQ(cmd.paramCount, 3);
    EXPECT_EQ(cmd.getParam(0), "a.prj");
    EXPECT_EQ(cmd.getParam(1), "/q");  // an absolute path, not an option
    EXPECT_EQ(cmd.getParam(2), "out.html");
    ASSERT_EQ(cmd.flagCount, 3);
    EXPECT_EQ(cmd.getFlag(0), "overwrite");
    EXPECT_EQ(cmd.getFlag(1), "");
    EXPECT_EQ(cmd.getFlag(2), "title=X");
    EXPECT_EQ(cmd.getFlag(3), "");
}

TEST(VelkCmdLine, NoArguments) {
    VelkCmdLine cmd(std::vector<std::string>{});
    EXPECT_EQ(cmd.paramCount, 0);
    EXPECT_EQ(cmd.flagCount, 0);
    EXPECT_EQ(cmd.getParam(0), "");
    EXPECT_EQ(cmd.getFlag(-1), "");
}
