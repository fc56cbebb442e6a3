#include "VelkLib/VelkCmdLine.h"

#include <gtest/gtest.h>

TEST(VelkCmdLine, SplitsFlagsFromParametersKeepingEachOrder) {
    const char* argv[] = {"vantry", "a.prj", "-overwrite", "/q", "-", "out.html"};
    VelkCmdLine cmd(6, argv);
    ASSERT_EQ(cmd.paramCount, 3);
    EXPECT_EQ(cmd.getParam(1), "/q");  // an absolute path, not an option
    EXPECT_EQ(cmd.getParam(2), "out.html");
    ASSERT_EQ(cmd.flagCount, 2);
    EXPECT_EQ(cmd.getFlag(0), "overwrite");
    EXPECT_EQ(cmd.getFlag(1), "");
    EXPECT_EQ(cmd.getFlag(2), "");

    VelkCmdLine none(std::vector<std::string>{});
    EXPECT_EQ(none.paramCount + none.flagCount, 0);
    EXPECT_EQ(none.getParam(0), "");
}
