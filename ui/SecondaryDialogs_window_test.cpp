// The secondary dialogs on real widgets (Qt's offscreen platform): each
// opened from the main dialog, filled and confirmed, with a screenshot of
// each as filled in.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/gui/qt/testing/QtTestDriver.h"
#include "run/TestRecording.h"
#include "ui/CVantryDlg.h"
#include "ui/ModuleOptionsDialog.h"
#include "ui/RunConsole.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/VantryDialogTemplate.h"
#include "ui/WindowTestFixture.h"

using namespace ui;
namespace qt = gui::qttest;

namespace {

// The standard module's kinds of option, one of each, and a list.
const char* const optionText =
    "index-file-base|Index file base name:|text|index|index|"
    "table-background|Table background color:|color|white|white|"
    "show-timestamp|Show the time of generation|checkbox|false|false|"
    "frames|Frames/With frames/Without frames|combo|With frames|With frames||";

class SecondaryWindowTest : public MainDialogWindowTest {
protected:
    void SetUp() override {
        MainDialogWindowTest::SetUp();
        setenv("VANTRY_RECORD_OPTIONS", optionText, 1);
    }
    void TearDown() override {
        MainDialogWindowTest::TearDown();
        unsetenv("VANTRY_RECORD_OPTIONS");
    }
    // Answers the next modal dialog with step, which must confirm or leave
    // it; records which dialog it was.
    void answer(std::function<void(gui::CDialog&)> step) {
        qt::onModal([this, step](gui::CDialog& shown) {
            opened.push_back(shown.getTemplate().id);
            qt::processEvents();
            EXPECT_EQ(qt::layoutProblems(shown), std::vector<std::string>{});
            step(shown);
        });
    }

    std::vector<int> opened;
};

TEST_F(SecondaryWindowTest, EachDialogOpensFromTheMainDialogAndIsConfirmed) {
    CVantryDlg dialog(store, nullptr, &console);
    open(dialog);
    qt::click(dialog, IDC_ADVANCED);
    qt::type(dialog, IDC_PROJECT_LIST, "src");
    qt::type(dialog, IDC_OUTPUT_FILE, "out/index.html");

    answer([](gui::CDialog& shown) {
        auto& panels = static_cast<ModuleOptionsDialog&>(shown).getPanels();
        EXPECT_EQ(qt::shownTitle(shown), "Module Options (vantry-recording)");
        qt::screenshot(shown, "module-options-filled");
        qt::type(shown, panels[0]->controlId(IDC_PANEL_EDIT), "My Index");
        qt::click(shown, panels[2]->controlId(IDC_PANEL_CHECK));
        qt::select(shown, panels[3]->controlId(IDC_PANEL_LIST), 1);
        qt::click(shown, gui::IDOK);
    });
    qt::click(dialog, IDC_MODULE_OPTIONS);
    EXPECT_EQ(dialog.currentModuleOptions(),
              (std::map<std::string, std::string>{{"frames", "Without frames"},
                                                  {"index-file-base", "My Index"},
                                                  {"show-timestamp", "true"},
                                                  {"table-background", "white"}}));

    answer([](gui::CDialog& shown) {
        qt::type(shown, IDC_EXT_TEXT, "cpp,h,java");
        qt::screenshot(shown, "file-extensions");
        qt::click(shown, gui::IDOK);
    });
    qt::click(dialog, IDC_FILE_EXTENSIONS);
    EXPECT_EQ(dialog.fileExtensionsText(), "cpp,h,java");

    answer([](gui::CDialog& shown) {
        qt::type(shown, IDC_DEFINES_TEXT, "WIN32\nVERSION=2");
        qt::screenshot(shown, "preprocessor-defines");
        qt::click(shown, gui::IDOK);
    });
    qt::click(dialog, IDC_PREPROCESSOR_DEFS);
    EXPECT_EQ(dialog.defines.toText(), "WIN32\r\nVERSION=2\r\n");

    // Other Options, and Syntax Coloring behind it.
    qt::onModal([&](gui::CDialog& shown) {
        opened.push_back(shown.getTemplate().id);
        qt::processEvents();
        EXPECT_EQ(qt::layoutProblems(shown), std::vector<std::string>{});
        if (shown.getTemplate().id == IDD_SYNTAX_COLORING) {
            qt::type(shown, IDC_SYN_COMMENT, "teal");
            qt::type(shown, IDC_SYN_USER_KEYWORDS, "alpha\nbeta");
            qt::screenshot(shown, "syntax-coloring");
            qt::click(shown, gui::IDOK);
            return;
        }
        EXPECT_EQ(qt::shownText(shown, IDC_OTHER_BLOCK_EXAMPLE).rfind("/**\r\n * Example.", 0), 0u);
        qt::type(shown, IDC_OTHER_TAB_SIZE, "8");
        qt::click(shown, IDC_OTHER_USE_LINE);
        qt::screenshot(shown, "other-options");
        qt::click(shown, IDC_OTHER_COLORS);
        qt::click(shown, gui::IDOK);
    });
    qt::click(dialog, IDC_OTHER);
    EXPECT_EQ(dialog.tabSize, 8);
    EXPECT_EQ(dialog.commentFormatText(), "/**;*;*/;//=;//;//=");
    EXPECT_EQ(dialog.syntaxColors.comment, "teal");
    EXPECT_EQ(dialog.userKeywordsText(), "alpha,beta");

    answer([](gui::CDialog& shown) {
        std::string command = qt::shownText(shown, IDC_CMD_COMMAND);
        EXPECT_NE(command.find(" -source-code-tab-size=8 "), std::string::npos) << command;
        EXPECT_NE(command.find(" -index-file-base='My Index' "), std::string::npos) << command;
        qt::click(shown, IDC_CMD_AUTORUN);
        EXPECT_NE(qt::shownText(shown, IDC_CMD_COMMAND).find(" -autorun "), std::string::npos);
        qt::click(shown, IDC_CMD_PURE);
        EXPECT_FALSE(qt::shownEnabled(shown, IDC_CMD_AUTORUN));
        EXPECT_NE(qt::shownText(shown, IDC_CMD_COMMAND).find("vantry_cmd"), std::string::npos);
        qt::screenshot(shown, "command-line");
        qt::click(shown, gui::IDOK);
    });
    EXPECT_TRUE(qt::chooseMenuEntry(dialog, "&Generate Command Line..."));
    EXPECT_EQ(store.getInt("CmdLineDialog", "Interface", 0), 1);
    EXPECT_EQ(opened, (std::vector<int>{IDD_MODULE_OPTIONS, IDD_FILE_EXTENSIONS, IDD_PREPROCESSOR_DEFINES,
                                        IDD_OTHER_OPTIONS, IDD_SYNTAX_COLORING, IDD_COMMAND_LINE}));
    EXPECT_EQ(boxes, std::vector<std::string>{});
    dialog.Destroy();
}

}  // namespace
