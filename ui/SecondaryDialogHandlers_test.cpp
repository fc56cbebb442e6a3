// The main dialog opens each secondary dialog over its values and takes
// back what the user confirmed.
#include <gtest/gtest.h>

#include <sstream>

#include "VelkLib/VelkFile.h"
#include "run/TestRecording.h"
#include "ui/CHelpDialog.h"
#include "ui/CVantryApp.h"
#include "ui/CVantryDlg.h"
#include "ui/ModuleOptionsDialog.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/VantryDialogTemplate.h"
#include "ui/testing/ScriptedBackend.h"

using namespace ui;

namespace {

class SecondaryDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VANTRY_RECORD_FILE", (scratch / "record.txt").c_str(), 1);
        store.writeText("General", "DocModule", "vantry-recording");
        store.writeInt("General", "HasRun", 1);  // no first-start update offer
        dialog.moduleDirectory = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
        dialog.Create();
    }
    void TearDown() override {
        dialog.Destroy();
        unsetenv("VANTRY_RECORD_FILE");
    }

    testing_support::ScratchDirectory scratch;
    testing_support::ScriptedBackend backend;
    testing_support::BackendInUse inUse{backend};
    platform::MemorySettingsStore store;
    CVantryDlg dialog{store};
};

TEST_F(SecondaryDialogsTest, HelpShowsWhatTheHelpOptionPrints) {
    std::ostringstream printed, console;
    CVantryApp app({"-help", "-module=vantry-recording", "-moduledir=" + dialog.moduleDirectory});
    app.outputStream = &printed;
    app.consoleStream = &console;
    app.Run();
    std::string expected;
    for (char c : printed.str()) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_NE(expected.find("-a=TEXT"), std::string::npos) << expected;  // the module's own

    std::string shown;
    backend.steps.push_back([&](gui::CDialog& help) {
        EXPECT_EQ(help.GetWindowText(), "Vantry Help");
        shown = help.GetDlgItemText(IDC_HELP_TEXT);
        help.UserClick(gui::IDOK);
    });
    ASSERT_TRUE(dialog.IsControlEnabled(gui::IDHELP));
    dialog.UserClick(gui::IDHELP);
    EXPECT_EQ(backend.opened, std::vector<int>{IDD_HELP});
    EXPECT_EQ(shown, expected);
}

TEST_F(SecondaryDialogsTest, ModuleOptionsReachTheModuleAndTheSettings) {
    ASSERT_TRUE(dialog.IsControlEnabled(IDC_MODULE_OPTIONS));
    backend.steps.push_back([](gui::CDialog& options) {
        EXPECT_EQ(options.GetWindowText(), "Module Options (vantry-recording)");
        auto& panels = static_cast<ModuleOptionsDialog&>(options).getPanels();
        ASSERT_EQ(panels.size(), 2u);
        EXPECT_EQ(options.GetDlgItemText(panels[0]->controlId(IDC_PANEL_LABEL)), "Option A");
        options.UserType(panels[0]->controlId(IDC_PANEL_EDIT), "x y");
        options.UserClick(panels[1]->controlId(IDC_PANEL_CHECK));
        options.UserClick(gui::IDOK);
    });
    dialog.UserClick(IDC_MODULE_OPTIONS);
    EXPECT_EQ(backend.opened, std::vector<int>{IDD_MODULE_OPTIONS});
    auto calls = testing_support::readRecording(scratch / "record.txt");
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.end()[-2], (testing_support::RecordedCall{"setOptions", "x y", "true"}));
    EXPECT_EQ(dialog.currentModuleOptions(),
              (std::map<std::string, std::string>{{"a", "x y"}, {"b", "true"}}));
    EXPECT_EQ(dialog.moduleOptionsText(), "a=x y\r\nb=true\r\n");

    // Cancel hands nothing to the module.
    std::size_t callCount = calls.size();
    dialog.UserClick(IDC_MODULE_OPTIONS);
    calls = testing_support::readRecording(scratch / "record.txt");
    EXPECT_EQ(calls.back()[0], "getOptions");
    EXPECT_EQ(calls.size(), callCount + 1);
}

TEST_F(SecondaryDialogsTest, CancelTakesNothingBack) {
    dialog.defines = PreprocessorDefines("OLD\r\n");
    backend.steps.push_back([](gui::CDialog& defines) { defines.UserType(IDC_DEFINES_TEXT, "LOST\n"); });
    dialog.UserClick(IDC_PREPROCESSOR_DEFS);
    backend.steps.push_back([](gui::CDialog& other) { other.UserType(IDC_OTHER_TAB_SIZE, "9"); });
    dialog.UserClick(IDC_OTHER);
    EXPECT_EQ(backend.opened, (std::vector<int>{IDD_PREPROCESSOR_DEFINES, IDD_OTHER_OPTIONS}));
    EXPECT_EQ(dialog.defines.toText(), "OLD\r\n");
    EXPECT_EQ(dialog.tabSize, 4);
}

TEST_F(SecondaryDialogsTest, TheWindowMenuShowsTheCommandLine) {
    dialog.UserType(IDC_TITLE, "My Docs");
    dialog.UserType(IDC_PROJECT_LIST, "src\r\n");
    dialog.UserType(IDC_OUTPUT_FILE, "out/index.html");
    backend.steps.push_back([](gui::CDialog& commandLine) {
        std::string command = commandLine.GetDlgItemText(IDC_CMD_COMMAND);
        EXPECT_NE(command.find(" -title='My Docs' "), std::string::npos) << command;
        EXPECT_NE(command.find("-module=vantry-recording "), std::string::npos) << command;
        EXPECT_NE(command.find(" src out/index.html\r\n"), std::string::npos) << command;
        commandLine.UserClick(IDC_CMD_AUTORUN);
        commandLine.UserClick(gui::IDOK);
    });
    dialog.Dispatch(platform::WindowMessage{gui::WM_SYSCOMMAND, ID_GENERATE_COMMAND_LINE, 0});
    EXPECT_EQ(backend.opened, std::vector<int>{IDD_COMMAND_LINE});
    EXPECT_EQ(store.getInt("CmdLineDialog", "AutoRun", 0), 1);

    // A list that cannot be split is reported instead.
    dialog.UserType(IDC_PROJECT_LIST, "\"open");
    dialog.Dispatch(platform::WindowMessage{gui::WM_SYSCOMMAND, ID_GENERATE_COMMAND_LINE, 0});
    EXPECT_EQ(backend.opened.size(), 1u);
    ASSERT_FALSE(backend.shownBoxes().empty());
    EXPECT_EQ(backend.shownBoxes().back().icon, gui::Icon::Error);
}

}  // namespace
