#include "ui/ToolTips.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolTipsTest, TextsByIdWithinTheLimitsAndOnlyWhileEnabled) {
    ui::toolTipsEnabled = false;
    ui::toolTipsLoaded = false;
    std::string text = "unchanged";
    EXPECT_FALSE(ui::onToolTipNeedText(1038, text));
    EXPECT_FALSE(ui::toolTipsLoaded);  // a disabled switch never loads the table
    EXPECT_EQ(text, "unchanged");

    ui::toolTipsEnabled = true;
    EXPECT_TRUE(ui::onToolTipNeedText(1038, text));
    EXPECT_TRUE(ui::toolTipsLoaded);
    EXPECT_EQ(text, "Views the HTML output in your default web browser.");
    EXPECT_TRUE(ui::onToolTipNeedText(1044, text));
    EXPECT_EQ(text, "Toggles the Advanced view of this dialog.");
    EXPECT_TRUE(ui::onToolTipNeedText(1099, text));
    EXPECT_EQ(text, "Files whose extensions appear in this box will be parsed as C++ source code.");
    EXPECT_TRUE(ui::onToolTipNeedText(1104, text));
    EXPECT_EQ(text, "Allows you to configure the syntax colors used for generated source code files.");
    // Every id the dialogs give a tip has a text.
    for (int id : {1003, 1004, 1005, 1006, 1007, 1008, 1011, 1018, 1019, 1021, 1023, 1035, 1045,
                   1049, 1078, 1095, 1096, 1100, 1101, 1102, 1103, 1116, 1117}) {
        EXPECT_TRUE(ui::onToolTipNeedText(id, text));
        EXPECT_FALSE(text.empty()) << id;
    }
    EXPECT_TRUE(ui::onToolTipNeedText(1500, text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ui::onToolTipNeedText(0, text));
    EXPECT_FALSE(ui::onToolTipNeedText(2000, text));
    EXPECT_FALSE(ui::onToolTipNeedText(-1, text));
}

}  // namespace
