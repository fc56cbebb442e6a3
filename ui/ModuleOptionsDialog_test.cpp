#include "ui/ModuleOptionsDialog.h"

#include <gtest/gtest.h>

#include "ui/ColorNames.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/testing/ScriptedBackend.h"

using namespace ui;

namespace {

class ModuleOptionsDialogTest : public ::testing::Test {
protected:
    int id(std::size_t row, int templateId) const { return dialog.getPanels()[row]->controlId(templateId); }

    testing_support::ScriptedBackend backend;
    testing_support::BackendInUse inUse{backend};
    ModuleOptionsDialog dialog{"vantry-standard"};
};

TEST_F(ModuleOptionsDialogTest, RowsAreLaidOutBelowEachOtherWithAlignedValues) {
    dialog.addOption("Short:", TextOption, "", "x");
    dialog.addOption("A much longer label:", ColorOption, "navy", "navy");
    dialog.addOption("Flag", CheckBoxOption, "false", "TRUE");
    dialog.Create();
    EXPECT_EQ(dialog.GetWindowText(), "Module Options (vantry-standard)");

    int rowHeight = optionPanelTemplate.height;
    gui::Rect ok = dialog.GetControlRect(gui::IDOK);
    EXPECT_EQ(ok.y, 10 + 3 * rowHeight + 10);
    EXPECT_EQ(dialog.GetWindowRect().height, ok.y + ok.height + 10);
    gui::Rect cancel = dialog.GetControlRect(gui::IDCANCEL);
    gui::Rect reset = dialog.GetControlRect(IDC_OPT_RESET);
    EXPECT_EQ(cancel.x, ok.x + ok.width + 10);
    EXPECT_EQ(reset.x, cancel.x + cancel.width + 10);
    EXPECT_EQ(ok.x, (dialog.GetWindowRect().width - ok.width - cancel.width - reset.width - 20) / 2);
    EXPECT_EQ(dialog.GetControlRect(id(2, IDC_PANEL_CHECK)).y, 10 + 2 * rowHeight + 2);

    // Every value control starts 5 units after the widest label, the
    // colour row's included (the check box row measures nothing).
    int widest = gui::backend().textWidth("A much longer label:");
    int left = 5 + widest + 5;
    EXPECT_EQ(dialog.GetControlRect(id(0, IDC_PANEL_LABEL)).width, widest);
    EXPECT_EQ(dialog.GetControlRect(id(0, IDC_PANEL_EDIT)).x, left);
    EXPECT_EQ(dialog.GetControlRect(id(1, IDC_PANEL_COLOR)).x, left);
    EXPECT_EQ(dialog.GetControlRect(id(2, IDC_PANEL_CHECK)).x, left);

    // Only the row's own control shows; a check box is ticked by "true" in
    // any case, and shows its label as its caption.
    EXPECT_TRUE(dialog.IsControlVisible(id(1, IDC_PANEL_CHOOSE)));
    EXPECT_FALSE(dialog.IsControlVisible(id(1, IDC_PANEL_EDIT)));
    EXPECT_FALSE(dialog.IsControlVisible(id(2, IDC_PANEL_LABEL)));
    EXPECT_EQ(dialog.IsDlgButtonChecked(id(2, IDC_PANEL_CHECK)), 1);
    EXPECT_EQ(dialog.GetDlgItemText(id(2, IDC_PANEL_CHECK)), "Flag");
}

TEST_F(ModuleOptionsDialogTest, AVeryLongLabelWidensTheDialogInsteadOfSqueezingTheValue) {
    std::string label(120, 'W');
    dialog.addOption(label, TextOption, "", "");
    dialog.Create();
    gui::Rect edit = dialog.GetControlRect(id(0, IDC_PANEL_EDIT));
    EXPECT_EQ(edit.x, 5 + gui::backend().textWidth(label) + 5);
    EXPECT_EQ(edit.width, ModuleOptionsPanel::minimumValueWidth);
    EXPECT_GE(dialog.GetWindowRect().width, edit.x + edit.width + 10);
    gui::Rect ok = dialog.GetControlRect(gui::IDOK);
    EXPECT_GT(ok.x, optionPanelTemplate.width / 2);  // centred in the wider dialog
}

TEST_F(ModuleOptionsDialogTest, ValuesKeepTheirCaseAndResetRestoresTheDefaults) {
    dialog.addOption("Index file:", TextOption, "index", "MyIndex.HTML");
    dialog.addOption("Style/Frames/No Frames/Both", ComboOption, "Both", "No");
    dialog.addOption("Background:", ColorOption, "#EEEEFF", "Navy");
    dialog.addOption("Show version", CheckBoxOption, "false", "true");
    dialog.Create();
    EXPECT_EQ(dialog.GetDlgItemText(id(0, IDC_PANEL_EDIT)), "MyIndex.HTML");
    EXPECT_EQ(dialog.GetDlgItemText(id(1, IDC_PANEL_LABEL)), "Style");
    int list = id(1, IDC_PANEL_LIST);
    EXPECT_EQ(dialog.control(list).entries, (std::vector<std::string>{"Frames", "No Frames", "Both"}));
    EXPECT_EQ(dialog.GetDlgItemText(list), "No Frames");

    dialog.UserClick(IDC_OPT_RESET);
    EXPECT_EQ(dialog.GetDlgItemText(id(0, IDC_PANEL_EDIT)), "index");
    EXPECT_EQ(dialog.control(list).entries.size(), 3u);  // not listed twice
    EXPECT_EQ(dialog.GetDlgItemText(list), "Both");
    EXPECT_EQ(dialog.GetDlgItemText(id(2, IDC_PANEL_COLOR)), "#EEEEFF");
    EXPECT_EQ(dialog.IsDlgButtonChecked(id(3, IDC_PANEL_CHECK)), 0);

    dialog.UserType(id(0, IDC_PANEL_EDIT), "Docs.HTML");
    dialog.UserClick(id(3, IDC_PANEL_CHECK));
    dialog.UserClick(gui::IDOK);
    EXPECT_EQ(dialog.values, (std::vector<std::string>{"Docs.HTML", "Both", "#EEEEFF", "true"}));
}

TEST_F(ModuleOptionsDialogTest, CancelLeavesNoValues) {
    dialog.addOption("Index file:", TextOption, "index", "index");
    dialog.Create();
    dialog.UserClick(gui::IDCANCEL);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_TRUE(dialog.values.empty());
}

TEST_F(ModuleOptionsDialogTest, OkTakesAColourOnlyWhenItIsOne) {
    dialog.addOption("Index file:", TextOption, "index", "a\"b");
    dialog.addOption("Background:", ColorOption, "white", "white");
    dialog.Create();
    dialog.UserType(id(1, IDC_PANEL_COLOR), "red\" onmouseover=\"alert(1)");
    dialog.UserClick(gui::IDOK);
    EXPECT_FALSE(dialog.IsEnded());
    EXPECT_TRUE(dialog.values.empty());
    EXPECT_EQ(dialog.GetFocusId(), id(1, IDC_PANEL_COLOR));
    EXPECT_EQ(backend.shownBoxes().back().text.rfind(
                  "Background: \"red\" onmouseover=\"alert(1)\" must be a colour name (aqua, ", 0),
              0u);
    dialog.UserType(id(1, IDC_PANEL_COLOR), "#0a0B0c");
    dialog.UserClick(gui::IDOK);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(dialog.values, (std::vector<std::string>{"a\"b", "#0a0B0c"}));
}

TEST_F(ModuleOptionsDialogTest, TheChooserOpensOnTheColourAndWritesNamesWhereThereAreSome) {
    dialog.addOption("Background:", ColorOption, "", "Navy");
    dialog.Create();
    int edit = id(0, IDC_PANEL_COLOR);
    backend.colors = {0xFF0000, 0x12AB34};
    dialog.UserClick(id(0, IDC_PANEL_CHOOSE));
    EXPECT_EQ(dialog.GetDlgItemText(edit), "red");
    dialog.UserClick(id(0, IDC_PANEL_CHOOSE));
    EXPECT_EQ(dialog.GetDlgItemText(edit), "#12AB34");
    // Cancel changes nothing; a text that is no colour opens on black.
    dialog.UserType(edit, "#12G45");
    dialog.UserClick(id(0, IDC_PANEL_CHOOSE));
    EXPECT_EQ(dialog.GetDlgItemText(edit), "#12G45");
    EXPECT_EQ(backend.colorRequests, (std::vector<unsigned>{0x000080, 0xFF0000, 0}));
}

TEST(ColorNamesTest, SixteenNamesBothWays) {
    ASSERT_EQ(colorNames().size(), 16u);
    for (const ColorName& entry : colorNames()) {
        EXPECT_EQ(colorValueOfName(entry.name), entry.value);
        EXPECT_EQ(colorNameOfValue(entry.value), entry.name);
        EXPECT_EQ(textOfColor(colorOfText(entry.name)), entry.name);
    }
    EXPECT_EQ(colorValueOfName("NAVY"), "#000080");
    EXPECT_EQ(colorNameOfValue("#ff0000"), "red");
    EXPECT_EQ(colorNameOfValue("#FF0001"), "");
    EXPECT_EQ(colorOfText("#a0B0c0"), 0xA0B0C0u);
    for (const char* text : {"", "#", "#12345", "#1234567", "12345678", "#GGGGGG", "bleu"})
        EXPECT_EQ(colorOfText(text), 0u) << text;
    EXPECT_EQ(textOfColor(0x0A0B0C), "#0A0B0C");
}

TEST(OptionKindTest, KindWordsAreReadInAnyCase) {
    EXPECT_EQ(optionKindOf("CheckBox"), CheckBoxOption);
    EXPECT_EQ(optionKindOf("combo"), ComboOption);
    EXPECT_EQ(optionKindOf("COLOR"), ColorOption);
    EXPECT_EQ(optionKindOf("text"), TextOption);
    EXPECT_EQ(optionKindOf("colour"), TextOption);
}

}  // namespace
