// The main dialog and its small dialogs on real widgets (Qt's offscreen
// platform): a whole run driven through them, their layouts at two font
// sizes, and screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <thread>

#include "platform/gui/qt/testing/QtTestDriver.h"
#include "run/TestRecording.h"
#include "net/CEmailDialog.h"
#include "net/CUpdateDialog.h"
#include "net/UpdateSchedule.h"
#include "ui/CAboutBox.h"
#include "ui/CHelpDialog.h"
#include "ui/CVantryDlg.h"
#include "ui/CWarningsDialog.h"
#include "ui/CmdLineDialog.h"
#include "ui/FileExtensionsDialog.h"
#include "ui/OtherOptionsDialog.h"
#include "ui/PreprocessorDefinesDialog.h"
#include "ui/SyntaxColoringDialog.h"
#include "ui/ModuleOptionsDialog.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/RunCallbacks.h"
#include "ui/RunConsole.h"
#include "ui/ToolTips.h"
#include "ui/VantryDialogTemplate.h"
#include "ui/WindowTestFixture.h"

using namespace ui;
namespace qt = gui::qttest;

namespace {

// Remembers what the progress bar and the title showed after each of the
// run's progress messages.
class WatchedDialog : public CVantryDlg {
public:
    using CVantryDlg::CVantryDlg;
    bool OnMessage(const platform::WindowMessage& message) override {
        bool handled = CVantryDlg::OnMessage(message);
        if (message.message == WM_RUN_PROGRESS) {
            shownPercents.push_back(qt::shownProgress(*this, IDC_PROGRESS));
            shownTitles.push_back(qt::shownTitle(*this));
        }
        return handled;
    }
    std::vector<int> shownPercents;
    std::vector<std::string> shownTitles;
};

class WindowTest : public MainDialogWindowTest {
protected:
    void SetUp() override {
        MainDialogWindowTest::SetUp();
        scratch.write("src/foo.h", "/** A class. */\nclass Foo {\npublic:\n  /** A member. */\n  int bar(int x);\n};\n");
    }
    void TearDown() override {
        MainDialogWindowTest::TearDown();
        unsetenv("VANTRY_RECORD_REPORT");
        ui::toolTipsEnabled = true;
    }
};

TEST_F(WindowTest, AWholeRunThroughTheWidgets) {
    // A real run: the standard module over a good file and one the
    // preprocessor warns about.
    scratch.write("src/open.h", "#if 1\nclass Open {};\n");
    WatchedDialog dialog(store, nullptr, &console);
    open(dialog);
    EXPECT_EQ(qt::shownText(dialog, IDC_MODULE_LIST), "vantry-recording");
    EXPECT_EQ(qt::shownText(dialog, IDC_ADVANCED), "Advanced");
    EXPECT_FALSE(qt::shownVisible(dialog, IDC_HEADER_TEXT));

    qt::type(dialog, IDC_PROJECT_LIST, "\"" + (scratch / "src") + "\"\r\n");
    qt::type(dialog, IDC_OUTPUT_FILE, scratch / "out/index.html");
    qt::type(dialog, IDC_TITLE, "Window run");
    EXPECT_TRUE(qt::shownEnabled(dialog, IDC_VIEW));
    qt::select(dialog, IDC_MODULE_LIST, dialog.FindEntry(IDC_MODULE_LIST, "vantry-standard"));
    EXPECT_EQ(dialog.loadedModules.count("vantry-standard"), 1u);

    std::string warningsShown;
    qt::onModal([&](gui::CDialog& shown) {
        if (shown.getTemplate().id != IDD_WARNINGS) {
            ADD_FAILURE() << "unexpected dialog " << shown.getTemplate().id;
            shown.EndDialog(gui::IDCANCEL);
            return;
        }
        warningsShown = qt::shownText(shown, IDC_WARNINGS_TEXT);
        qt::screenshot(shown, "warnings-dialog");
        // Read-only: typing changes nothing.
        qt::type(shown, IDC_WARNINGS_TEXT, "edited");
        EXPECT_EQ(qt::shownText(shown, IDC_WARNINGS_TEXT), warningsShown);
        qt::click(shown, gui::IDOK);
    });
    qt::click(dialog, IDC_RUN);
    EXPECT_EQ(qt::shownText(dialog, gui::IDOK), "Cancel");
    EXPECT_FALSE(qt::shownEnabled(dialog, IDC_RUN));
    ASSERT_TRUE(qt::waitUntil([&] { return !dialog.isRunning && !warningsShown.empty(); }));
    qt::processEvents();

    EXPECT_NE(warningsShown.find("Unexpected end-of-file while parsing #ifdef"), std::string::npos)
        << warningsShown;
    EXPECT_EQ(warningsShown, warningsText());
    EXPECT_TRUE(std::filesystem::exists(scratch / "out/index.html"));
    // The bar went to 100 with the title; the run's end set both back.
    ASSERT_FALSE(dialog.shownPercents.empty());
    auto full = std::find(dialog.shownPercents.begin(), dialog.shownPercents.end(), 100);
    ASSERT_NE(full, dialog.shownPercents.end()) << ::testing::PrintToString(dialog.shownPercents);
    EXPECT_EQ(dialog.shownTitles[static_cast<std::size_t>(full - dialog.shownPercents.begin())],
              "100% (Vantry Processing)");
    EXPECT_EQ(dialog.shownPercents.back(), 0);
    EXPECT_EQ(qt::shownTitle(dialog), "Vantry");
    EXPECT_EQ(qt::shownText(dialog, IDC_STATUS_LINE2), "Done.");
    EXPECT_EQ(qt::shownText(dialog, gui::IDOK), "Close");
    EXPECT_TRUE(qt::shownEnabled(dialog, IDC_RUN));
    EXPECT_EQ(boxes, std::vector<std::string>{});

    // Close saves without a question.
    qt::click(dialog, gui::IDOK);
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(store.getString("General", "ProjectName", ""), "Window run");
    EXPECT_EQ(store.getString("General", "HtmlOutput", ""), scratch / "out/index.html");
    EXPECT_EQ(store.getString("General", "DocModule", ""), "vantry-standard");
    dialog.Destroy();
}

TEST_F(WindowTest, IndexPagesNamedOutsideTheOutputAreRefusedFromTheSettingsAndTheDialog) {
    // As an edited settings file would hold it.
    store.writeText("General", "DocModule", "vantry-standard");
    store.writeText("General", "ModuleOptions", "index-file-base=../../escaped\r\nenable-author=true\r\n");
    store.writeText("General", "ProjectDirs", "\"" + (scratch / "src") + "\"\r\n");
    store.writeText("General", "HtmlOutput", scratch / "site/docs/index.html");
    CVantryDlg dialog(store, nullptr, &console);
    open(dialog);
    EXPECT_EQ(boxes, std::vector<std::string>{"The module did not take \"../../escaped\" for \"Basename for "
                                              "master index files\" (-index-file-base); it keeps \"index\"."});
    EXPECT_EQ(dialog.moduleOptionsText(), "enable-author=true\r\n");

    // Typed into the Module Options dialog.
    boxes.clear();
    qt::onModal([](gui::CDialog& shown) {
        auto& panels = static_cast<ModuleOptionsDialog&>(shown).getPanels();
        ASSERT_GT(panels.size(), 2u);
        EXPECT_EQ(qt::shownText(shown, panels[2]->controlId(IDC_PANEL_LABEL)), "Basename for master index files:");
        qt::type(shown, panels[2]->controlId(IDC_PANEL_EDIT), "/tmp/escaped");
        qt::click(shown, gui::IDOK);
    });
    qt::click(dialog, IDC_MODULE_OPTIONS);
    EXPECT_EQ(boxes, std::vector<std::string>{"The module did not take \"/tmp/escaped\" for \"Basename for "
                                              "master index files\" (-index-file-base); it keeps \"index\"."});
    EXPECT_EQ(dialog.moduleOptionsText().find("index-file-base"), std::string::npos) << dialog.moduleOptionsText();

    qt::onModal([](gui::CDialog& shown) { shown.EndDialog(gui::IDOK); });
    qt::click(dialog, IDC_RUN);
    ASSERT_TRUE(qt::waitUntil([&] { return !dialog.isRunning; }));
    qt::processEvents();
    EXPECT_EQ(qt::shownText(dialog, IDC_STATUS_LINE2), "Done.");
    EXPECT_TRUE(std::filesystem::exists(scratch / "site/docs/index-all.html"));
    for (const char* outside : {"escaped-all.html", "site/escaped-all.html", "/tmp/escaped-all.html"})
        EXPECT_FALSE(std::filesystem::exists(outside[0] == '/' ? std::string(outside) : scratch / outside))
            << outside;
    dialog.Destroy();
}

// A worker that reports as a real run does, on a thread of its own: a
// first status and 15%, then it runs until asked to stop and ends
// "Cancelled.".
class CancellableStarter : public RunStarter {
public:
    ~CancellableStarter() override {
        if (worker.joinable()) worker.join();
    }
    void start(const RunParameters& parameters, std::shared_ptr<RunGate> gate) override {
        worker = std::thread([parameters, gate] {
            void* context = platform::toContext(parameters.window);
            parameters.status("", "Counting files...", context);
            parameters.progress(15, 100, context);
            while (parameters.progress(-1, -1, context) != 0) std::this_thread::yield();
            parameters.status("", "Cancelled.", context);
            platform::PostMessage(parameters.window, WM_RUN_STOPPED, 0, 0);
            gate->open();
        });
    }
    std::thread worker;
};

TEST_F(WindowTest, ACancelledRunLeavesTheWindowAtRest) {
    CancellableStarter starter;
    CVantryDlg dialog(store, &starter, &console);
    open(dialog);
    qt::type(dialog, IDC_PROJECT_LIST, "\"" + (scratch / "src") + "\"\r\n");
    qt::type(dialog, IDC_OUTPUT_FILE, scratch / "out/index.html");
    qt::click(dialog, IDC_RUN);
    ASSERT_TRUE(qt::waitUntil([&] { return qt::shownTitle(dialog) == "15% (Vantry Processing)"; }));
    EXPECT_EQ(qt::shownProgress(dialog, IDC_PROGRESS), 15);
    qt::click(dialog, gui::IDOK);  // reads "Cancel" during the run
    ASSERT_TRUE(qt::waitUntil([&] { return !dialog.isRunning; }));
    qt::processEvents();
    EXPECT_EQ(qt::shownTitle(dialog), "Vantry");
    EXPECT_EQ(qt::shownProgress(dialog, IDC_PROGRESS), 0);
    EXPECT_EQ(qt::shownText(dialog, IDC_STATUS_LINE2), "Cancelled.");
    EXPECT_EQ(qt::shownText(dialog, gui::IDOK), "Close");
    EXPECT_TRUE(qt::shownEnabled(dialog, IDC_RUN));
    qt::screenshot(dialog, "main-dialog-after-cancel");
    dialog.Destroy();
}

TEST_F(WindowTest, HelpOpensTheProgramsHelpReadOnly) {
    CVantryDlg dialog(store, nullptr, &console);
    open(dialog);
    EXPECT_TRUE(qt::shownEnabled(dialog, gui::IDHELP));
    std::string shown;
    qt::onModal([&](gui::CDialog& help) {
        ASSERT_EQ(help.getTemplate().id, IDD_HELP);
        EXPECT_EQ(qt::shownTitle(help), "Vantry Help");
        shown = qt::shownText(help, IDC_HELP_TEXT);
        EXPECT_EQ(qt::layoutProblems(help), std::vector<std::string>{});
        qt::screenshot(help, "help-window");
        qt::type(help, IDC_HELP_TEXT, "edited");
        EXPECT_EQ(qt::shownText(help, IDC_HELP_TEXT), shown);
        qt::click(help, gui::IDOK);
    });
    qt::click(dialog, gui::IDHELP);
    // The help names the selected module's options, one to a line.
    EXPECT_NE(shown.find("\r\nOptions of the output module vantry-recording:\r\n"), std::string::npos)
        << shown;
    dialog.Destroy();
}

TEST_F(WindowTest, EnterRunsAndTheCloseBoxIsRefusedDuringARun) {
    CVantryDlg dialog(store, nullptr, &console);
    open(dialog);
    // Enter in an edit runs Go, which refuses the empty fields; the dialog stays.
    qt::type(dialog, IDC_TITLE, "T");
    qt::press(dialog, qt::Key::Enter);
    EXPECT_EQ(boxes, std::vector<std::string>{"Please enter a list of directories or files to process."});
    EXPECT_FALSE(dialog.IsEnded());
    EXPECT_EQ(qt::focusedControl(dialog), IDC_PROJECT_LIST);

    dialog.isRunning = true;  // as while a run goes on
    dialog.Dispatch(platform::WindowMessage{gui::WM_CLOSE, 0, 0});
    EXPECT_EQ(boxes.back(), "Processing is in progress.  Click Cancel to stop.");
    EXPECT_FALSE(dialog.IsEnded());
    dialog.isRunning = false;
    qt::press(dialog, qt::Key::Escape);  // closes without saving
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(store.saveCount, 0);
    dialog.Destroy();
}

TEST_F(WindowTest, ToolTipsFollowTheSetting) {
    CVantryDlg dialog(store, nullptr, &console);
    open(dialog);
    EXPECT_EQ(qt::toolTipOf(dialog, IDC_VIEW), "Views the HTML output in your default web browser.");
    EXPECT_EQ(qt::toolTipOf(dialog, IDC_PROGRESS), "");
    dialog.Destroy();

    store.writeInt("General", "DisableToolTips", 1);
    CVantryDlg quiet(store, nullptr, &console);
    open(quiet);
    EXPECT_EQ(qt::toolTipOf(quiet, IDC_VIEW), "");
    quiet.Destroy();
}

// Every dialog of the program, in both layouts of the main dialog, at the
// desktop's font and at one half as large again: nothing overlaps, no text
// is cut. The screenshots are taken at the desktop's font.
TEST_F(WindowTest, EveryDialogLaysOutAtTwoFontSizes) {
    for (double scale : {1.0, 1.5}) {
        SCOPED_TRACE("font scale " + std::to_string(scale));
        qt::setFontScale(scale);
        std::string suffix = scale == 1.0 ? "" : "-large";
        CVantryDlg dialog(store, nullptr, &console);
        open(dialog);
        EXPECT_EQ(qt::layoutProblems(dialog), std::vector<std::string>{});
        qt::screenshot(dialog, "main-dialog-simple" + suffix);
        gui::Rect simple = qt::shownWindowRect(dialog);
        qt::click(dialog, IDC_ADVANCED);
        qt::processEvents();
        EXPECT_EQ(qt::layoutProblems(dialog), std::vector<std::string>{});
        qt::screenshot(dialog, "main-dialog-advanced" + suffix);
        EXPECT_GT(qt::shownWindowRect(dialog).height, simple.height);
        EXPECT_TRUE(qt::shownVisible(dialog, IDC_HEADER_TEXT));

        // The About box, from the window's menu.
        bool aboutShown = false;
        qt::onModal([&](gui::CDialog& shown) {
            aboutShown = shown.getTemplate().id == IDD_ABOUTBOX;
            if (!aboutShown) {
                shown.EndDialog(gui::IDCANCEL);
                return;
            }
            EXPECT_EQ(qt::shownText(shown, IDC_ABOUT_VERSION).rfind("Vantry Version ", 0), 0u);
            EXPECT_EQ(qt::layoutProblems(shown), std::vector<std::string>{});
            qt::screenshot(shown, "about-box" + suffix);
            qt::press(shown, qt::Key::Escape);
        });
        EXPECT_TRUE(qt::chooseMenuEntry(dialog, "&About Vantry..."));
        EXPECT_TRUE(aboutShown);
        std::string dialogHelp = dialog.helpText();
        dialog.Destroy();

        CWarningsDialog warnings("a\r\nb\r\n", nullptr);
        warnings.Create();
        warnings.ShowWindow();
        EXPECT_EQ(qt::layoutProblems(warnings), std::vector<std::string>{});
        warnings.Destroy();

        // The secondary dialogs as the program fills them, texts set in
        // their OnInitDialog included, and Module Options with rows of
        // every kind.
        {
            CmdLineDialog commandLine("/usr/local/lib/vantry/vantry", "/usr/local/lib/vantry/vantry_cmd",
                                      "-title='My Docs' -module=vantry-standard src out/index.html",
                                      store);
            PreprocessorDefinesDialog defines(PreprocessorDefines("WIN32\r\nVERSION=2\r\n"));
            FileExtensionsDialog extensions;
            extensions.extensions = "c,cpp,cxx,cc,h,hpp,hxx";
            OtherOptionsDialog other{DocCommentFormat()};
            other.detailDirectory = "projects";
            other.cppMapText = "c,cpp,cxx,cc,h,hpp,hxx";
            other.javaMapText = "java";
            other.csharpMapText = "cs";
            SyntaxColoringDialog colors;
            colors.commentColor = "green";
            colors.keywordColor = "blue";
            colors.userKeywordColor = "purple";
            colors.stringColor = "maroon";
            colors.numberColor = "maroon";
            colors.operatorColor = "black";
            colors.userKeywordsText = "alpha,beta";
            store.writeInt("Update", "AutoCheck", 1);
            store.writeText("Update", "NextUpdate", std::to_string(secondsNow() + 3 * 86400));
            CUpdateDialog update(store);
            CEmailDialog feedback(store);
            CHelpDialog help(dialogHelp);
            for (gui::CDialog* item : std::initializer_list<gui::CDialog*>{
                     &commandLine, &defines, &extensions, &other, &colors, &update, &feedback, &help}) {
                item->Create();
                item->ShowWindow();
                qt::processEvents();
                EXPECT_EQ(qt::layoutProblems(*item), std::vector<std::string>{})
                    << item->getTemplate().caption;
                qt::screenshot(*item, "dialog-" + std::to_string(item->getTemplate().id) + suffix);
                item->Destroy();
            }
        }
        ModuleOptionsDialog options("vantry-standard");
        options.addOption("Page title suffix:", TextOption, "", "docs");
        options.addOption("Frames:", ComboOption, "yes", "yes|no");
        options.addOption("Show the time stamp on every page", CheckBoxOption, "false", "true");
        options.addOption("Header background:", ColorOption, "#CCCCFF", "#CCCCFF");
        options.Create();
        EXPECT_EQ(qt::layoutProblems(options), std::vector<std::string>{});
        if (scale == 1.0) qt::screenshot(options, "module-options");
        options.Destroy();
    }
}

}  // namespace
