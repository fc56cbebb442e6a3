#include "ui/ToolTips.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/SecondaryDialogTemplates.h"
#include "ui/VantryDialogTemplate.h"

namespace {

// The ids of the controls of the two dialogs that show tips.
std::set<int> controlIds() {
    std::set<int> ids;
    for (const gui::DialogTemplate* dialog : {&ui::vantryDialogTemplate, &ui::otherOptionsDialogTemplate})
        for (const gui::ControlTemplate& control : dialog->controls) ids.insert(control.id);
    return ids;
}

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
    EXPECT_TRUE(ui::onToolTipNeedText(1500, text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ui::onToolTipNeedText(0, text));
    EXPECT_FALSE(ui::onToolTipNeedText(2000, text));
    EXPECT_FALSE(ui::onToolTipNeedText(-1, text));
}

TEST(ToolTipsTest, EveryControlNamedForATipHasOne) {
    // The ids that carry a tip: single ids, and a range of which every id
    // that is a control of the main dialog or of Other Options has one.
    std::vector<int> ids = {1003, 1004, 1005, 1006, 1007, 1008, 1011, 1018, 1019, 1021,
                            1049, 1078, 1095, 1096, 1099, 1100, 1101, 1102, 1103, 1104,
                            1116, 1117};
    std::set<int> controls = controlIds();
    for (int id = 1023; id <= 1045; ++id)
        if (controls.count(id) != 0) ids.push_back(id);
    ui::toolTipsEnabled = true;
    for (int id : ids) {
        EXPECT_EQ(controls.count(id), 1u) << id << " is no control of the two dialogs";
        std::string text;
        EXPECT_TRUE(ui::onToolTipNeedText(id, text));
        EXPECT_FALSE(text.empty()) << id;
    }
}

}  // namespace
