#include "ui/CVantryDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "platform/Shell.h"
#include "platform/gui/HeadlessBackend.h"
#include "run/TestRecording.h"
#include "ui/CAboutBox.h"
#include "ui/RunCallbacks.h"
#include "ui/RunConsole.h"
#include "ui/VantryDialogTemplate.h"

using namespace ui;

namespace {

// Records what a run would have been given instead of starting a thread.
class FakeStarter : public RunStarter {
public:
    void start(const RunParameters& parameters, std::shared_ptr<RunGate> runGate) override {
        if (fail) throw VelkError("Could not start the thread.");
        started.push_back(parameters);
        gate = runGate;
    }
    std::vector<RunParameters> started;
    std::shared_ptr<RunGate> gate;
    bool fail = false;
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", scratch.path.c_str(), 1);
        previous = gui::setBackend(&headless);
    }
    void TearDown() override {
        if (starter.gate) starter.gate->open();
        if (dialog.GetSafeHwnd() != nullptr) dialog.Destroy();
        gui::setBackend(previous);
    }

    // A dialog over the test modules, as if started without options.
    void open() {
        dialog.moduleDirectory = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
        dialog.moduleName = "vantry-recording";
        if (!dialog.commandLineSettings) store.writeText("General", "DocModule", "vantry-recording");
        dialog.Create();
    }
    // Fields that pass every check.
    void fillValidFields() {
        dialog.UserType(IDC_PROJECT_LIST, "\"src\"\r\n");
        dialog.UserType(IDC_OUTPUT_FILE, "out/index.html");
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : headless.shownBoxes()) texts.push_back(box.text);
        return texts;
    }

    testing_support::ScratchDirectory scratch;
    std::ostringstream out, err;
    std::istringstream in;
    gui::HeadlessBackend headless{out, err, in, false};
    gui::Backend* previous = nullptr;
    platform::MemorySettingsStore store;
    FakeStarter starter;
    std::ostringstream consoleText;
    RunConsole console{RunConsole::Mode::Phases, consoleText};
    CVantryDlg dialog{store, &starter, &console};
};

TEST_F(DialogTest, FreshProfileGivesTheDefaults) {
    dialog.Create();
    EXPECT_EQ(dialog.classesDirectory, "projects");
    EXPECT_EQ(dialog.moduleName, "vantry-standard");
    const SyntaxColorSettings& c = dialog.syntaxColors;
    EXPECT_EQ((std::vector<std::string>{c.comment, c.keyword, c.userKeyword, c.string, c.number, c.op,
                                        c.separator}),
              (std::vector<std::string>{"green", "blue", "purple", "maroon", "maroon", "black", "black"}));
    EXPECT_EQ(dialog.tabSize, 4);
    EXPECT_TRUE(dialog.syntaxColoring);
    EXPECT_EQ(dialog.advancedOutput, 0);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_ADVANCED), "Advanced");
    EXPECT_EQ(dialog.extensions.count("cpp"), 1u);
    EXPECT_EQ(dialog.languageMap.at("cs"), 1);
    EXPECT_EQ(store.writeCount, 0);
}

TEST_F(DialogTest, ClosingAsksOnlyWhenSomethingChanged) {
    open();
    dialog.saveSettings(false);
    ASSERT_EQ(store.saveCount, 1);
    EXPECT_EQ(store.getString("General", "DocModule", ""), "vantry-recording");

    EXPECT_TRUE(dialog.saveSettings(true));
    EXPECT_TRUE(headless.shownBoxes().empty());

    dialog.UserType(IDC_TITLE, "New title");
    headless.scriptAnswer(gui::Answer::No);
    dialog.OnClose();
    EXPECT_TRUE(dialog.IsEnded());
    ASSERT_EQ(boxTexts(), std::vector<std::string>{"Do you want to remember these settings?"});
    EXPECT_EQ(headless.shownBoxes()[0].caption, "Save Settings");
    EXPECT_EQ(store.getString("General", "ProjectName", "?"), "");
    EXPECT_EQ(store.saveCount, 2);  // the unasked save above wrote; No did not

    // A profile without one of the integers (an older version's) always asks.
    platform::MemorySettingsStore older;
    older.writeText("General", "ProjectName", "");
    CVantryDlg reader(older, &starter);
    reader.readSettings();
    EXPECT_TRUE(reader.settingsChanged());
}

TEST_F(DialogTest, SettingsRoundTripThroughTheirTextForms) {
    dialog.title = "T";
    dialog.headerMethod = MethodCustom;
    dialog.headerText = "<b>head</b>";
    dialog.syntaxColors.userKeywords = {"alpha", "beta"};
    dialog.setModuleOptionsText("a=1\r\nb=x y\r\nnoequals\r\npath=C:\\dir\\\r\nnext=2\r\n");
    dialog.commentFormat.setSecondary("///", "///", "///");
    dialog.defines.addDefine("WIN32", "1");
    dialog.setFileExtensions("cpp,h");
    dialog.setLanguageMap("h=cpp,cs=c#,java=java");
    dialog.writeSettings();
    EXPECT_EQ(store.getString("General", "ModuleOptions", ""), "a=1\r\nb=x y\r\nnext=2\r\npath=C:\\dir\\\r\n");
    EXPECT_EQ(store.getString("General", "DocCommentFormat", ""), "/**;*;*/;///;///;///");
    EXPECT_EQ(store.getString("General", "LangMap", ""), "cs=csharp,h=cpp,java=java");
    EXPECT_EQ(store.getString("SyntaxColor", "UserKeywords", ""), "alpha,beta");

    CVantryDlg again(store, &starter);
    again.readSettings();
    EXPECT_EQ(again.title, "T");
    EXPECT_EQ(again.headerMethod, MethodCustom);
    EXPECT_EQ(again.headerText, "<b>head</b>");
    EXPECT_EQ(again.moduleOptions.size(), 4u);
    EXPECT_EQ(again.moduleOptions.at("b"), "x y");
    EXPECT_EQ(again.moduleOptions.at("path"), "C:\\dir\\");
    EXPECT_EQ(again.commentFormat, dialog.commentFormat);
    EXPECT_EQ(again.defines.valueOf("WIN32"), "1");
    EXPECT_EQ(again.languageMap, dialog.languageMap);
    EXPECT_EQ(again.syntaxColors.userKeywords, dialog.syntaxColors.userKeywords);
    EXPECT_FALSE(again.settingsChanged());

    // A stored comment format that cannot be read takes the default.
    store.writeText("General", "DocCommentFormat", "garbage");
    again.readSettings();
    EXPECT_EQ(again.commentFormat, DocCommentFormat());
}

TEST_F(DialogTest, RememberedExtensionsThatCannotEndAFileNameAreLeftOutWithTheDialogsMessage) {
    store.writeText("General", "FileExtensions", "..,*,h.,cpp");
    open();
    EXPECT_EQ(dialog.extensions, std::set<std::string>{"cpp"});
    ASSERT_EQ(boxTexts(), std::vector<std::string>{
                              "The extensions \"..\", \"*\" and \"h.\" cannot end a file name; give "
                              "extensions such as cpp,h,java. They are left out of the remembered file "
                              "extensions."});
    EXPECT_EQ(headless.shownBoxes()[0].icon, gui::Icon::Warning);
    dialog.saveSettings(false);
    EXPECT_EQ(store.getString("General", "FileExtensions", ""), "cpp");

    // Nothing usable left: the remembered default.
    store.writeText("General", "FileExtensions", "*");
    dialog.readSettings();
    EXPECT_EQ(dialog.fileExtensionsText(), "c,cc,cpp,cxx,h,hpp,hxx");
}

TEST_F(DialogTest, ARememberedLanguageThatIsNoneIsNamed) {
    store.writeText("General", "LangMap", "java=java,cs=cobol");
    open();
    EXPECT_EQ(dialog.languageMap, (std::map<std::string, int>{{"java", 2}, {"cs", 0}}));
    ASSERT_EQ(boxTexts(), std::vector<std::string>{
                              "The remembered language map: The language \"cobol\" is not known; cs is "
                              "read as C++. The languages are cpp (or c++), csharp (or c#, cs, c_sharp) "
                              "and java."});
    EXPECT_EQ(headless.shownBoxes()[0].icon, gui::Icon::Warning);
}

TEST_F(DialogTest, CommandLineSettingsTouchNoProfile) {
    store.writeText("General", "ProjectName", "remembered");
    int writes = store.writeCount;
    dialog.commandLineSettings = true;
    dialog.title = "given";
    open();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_TITLE), "given");
    dialog.OnOK();
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(store.writeCount, writes);
    EXPECT_EQ(store.saveCount, 0);
}

TEST_F(DialogTest, RunValidatesInOrderAndReturnsToIdle) {
    dialog.moduleDirectory = scratch.path;  // no modules here
    dialog.classesDirectory = "/abs";
    dialog.Create();
    dialog.UserClick(IDC_ADVANCED);  // the rows are shown in the Advanced layout
    dialog.UserClick(IDC_HEADER_CUSTOM);
    dialog.UserClick(IDC_FOOTER_CUSTOM);
    dialog.UserClick(IDC_ITEM_CUSTOM);
    dialog.UserClick(IDC_SOURCE_CUSTOM);
    struct Step {
        int focus;
        const char* message;
        int fix;
        const char* fixText;
    };
    const Step steps[] = {
        {IDC_HEADER_TEXT, "Please enter a filename or HTML fragment for the HTML header.", IDC_HEADER_TEXT, "h.html"},
        {IDC_FOOTER_TEXT, "Please enter a filename or HTML fragment for the HTML footer.", IDC_FOOTER_TEXT, "f"},
        {IDC_ITEM_TEXT, "Please enter a filename or HTML fragment for the HTML per-item template.", IDC_ITEM_TEXT, "i"},
        {IDC_SOURCE_TEXT, "Please enter a value for the source-code directory.", IDC_SOURCE_TEXT, "s"},
        {IDC_PROJECT_LIST, "Please enter a list of directories or files to process.", IDC_PROJECT_LIST, "src"},
        {IDC_OUTPUT_FILE, "Please enter an HTML output file.", IDC_OUTPUT_FILE, "o.html"},
        {IDC_MODULE_LIST, "Please choose a documentation module.", 0, nullptr},
    };
    std::size_t boxes = headless.shownBoxes().size();  // "There are no modules in ..."
    for (const Step& step : steps) {
        dialog.onRun();
        auto shown = headless.shownBoxes();
        ASSERT_EQ(shown.size(), ++boxes);
        EXPECT_EQ(shown.back().text, step.message);
        EXPECT_EQ(shown.back().icon, gui::Icon::Error);
        EXPECT_EQ(dialog.GetFocusId(), step.focus);
        EXPECT_TRUE(dialog.IsControlEnabled(IDC_RUN));
        EXPECT_EQ(dialog.GetDlgItemText(gui::IDOK), "Close");
        EXPECT_FALSE(dialog.isRunning);
        if (step.fixText != nullptr) dialog.UserType(step.fix, step.fixText);
    }
    EXPECT_TRUE(starter.started.empty());
    EXPECT_EQ(console.exitStatus(0), RunConsole::ExitError);
    EXPECT_EQ(boxTexts().front(), "There are no modules in " + scratch.path + ".");
}

TEST_F(DialogTest, ADetailDirectoryTheCommandLineRefusesIsRefusedByTheRunToo) {
    open();
    ASSERT_NE(dialog.currentModule, nullptr);
    fillValidFields();
    dialog.classesDirectory = "C:\\docs";
    dialog.onRun();
    EXPECT_EQ(boxTexts().back(), "Please enter a relative path for the detail HTML pages directory.");
    dialog.classesDirectory = "docs/../../x";
    dialog.onRun();
    EXPECT_EQ(boxTexts().back(), "The value \"docs/../../x\" of the detail HTML pages directory leaves "
                                 "the output directory; give a name inside it.");
    EXPECT_EQ(headless.shownBoxes().back().icon, gui::Icon::Error);
    EXPECT_TRUE(starter.started.empty());
    dialog.classesDirectory = "docs/../classes";
    dialog.onRun();
    EXPECT_EQ(starter.started.size(), 1u);
}

TEST_F(DialogTest, APageTextFileThatIsNotThereIsRefusedBeforeTheRun) {
    open();
    ASSERT_NE(dialog.currentModule, nullptr);
    fillValidFields();
    dialog.UserClick(IDC_ADVANCED);
    dialog.UserClick(IDC_FOOTER_CUSTOM);
    dialog.UserType(IDC_FOOTER_TEXT, scratch / "footer.html");
    dialog.onRun();
    EXPECT_EQ(boxTexts().back(), "HTML footer: there is no file \"" + scratch / "footer.html" +
                                     "\"; name a text file or give HTML.");
    EXPECT_EQ(dialog.GetFocusId(), IDC_FOOTER_TEXT);
    EXPECT_TRUE(starter.started.empty());
    EXPECT_FALSE(dialog.isRunning);
    scratch.write("footer.html", "<hr>\n");
    dialog.onRun();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0].footer, scratch / "footer.html");
}

TEST_F(DialogTest, RunHandsOverTheSettingsAndRefusesASecondStart) {
    open();
    ASSERT_NE(dialog.currentModule, nullptr);
    fillValidFields();
    dialog.UserClick(IDC_ADVANCED);
    dialog.UserClick(IDC_HEADER_NONE);
    dialog.UserClick(IDC_INSERT_BR);
    dialog.classesDirectory = "docs\\classes";
    runLogCallback("old warning", nullptr);
    dialog.onRun();
    ASSERT_EQ(starter.started.size(), 1u);
    const RunParameters& p = starter.started[0];
    EXPECT_EQ(p.header, "?");
    EXPECT_EQ(p.footer, "");
    EXPECT_TRUE(p.lineBreaks);
    EXPECT_FALSE(p.hierarchicalIndex);
    EXPECT_EQ(p.fileList, "\"src\"\r\n");
    EXPECT_EQ(p.detailDirectory, "docs\\classes");
    EXPECT_TRUE(p.detailDirectoryGiven);
    EXPECT_EQ(p.module, dialog.currentModule);
    EXPECT_EQ(p.window, dialog.GetSafeHwnd());
    EXPECT_EQ(warningsText(), "");
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_RUN));
    EXPECT_EQ(dialog.GetDlgItemText(gui::IDOK), "Cancel");

    dialog.onRun();
    EXPECT_EQ(boxTexts().back(), "Processing is already in progress.  Click Cancel to stop.");
    EXPECT_EQ(starter.started.size(), 1u);
    EXPECT_FALSE(dialog.saveSettings(true));
    EXPECT_EQ(boxTexts().back(), "Processing is in progress.  Click Cancel to stop.");
}

TEST_F(DialogTest, ARememberedColourThatIsNotAColourRefusesTheRun) {
    store.writeText("SyntaxColor", "KeywordColor", "blue\" onmouseover=\"alert(1)");
    open();
    ASSERT_NE(dialog.currentModule, nullptr);
    fillValidFields();
    dialog.onRun();
    EXPECT_TRUE(starter.started.empty());
    EXPECT_EQ(boxTexts().back(),
              "Please enter a colour name or # and six hexadecimal digits for each syntax color "
              "(Other Options, Colors and Keywords).");
    dialog.syntaxColors.keyword = "Blue";
    dialog.onRun();
    EXPECT_EQ(starter.started.size(), 1u);
}

TEST_F(DialogTest, ProgressStatusAndCancelReachTheDialog) {
    open();
    fillValidFields();
    dialog.onRun();
    void* context = platform::toContext(dialog.GetSafeHwnd());

    EXPECT_EQ(runProgressCallback(50, 200, context), 1);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetProgressPosition(IDC_PROGRESS), 25);
    EXPECT_EQ(dialog.GetWindowText(), "25% (Vantry Processing)");
    runProgressCallback(0, 200, context);
    EXPECT_EQ(runProgressCallback(-1, -1, context), 1);
    EXPECT_EQ(dialog.window()->pendingCount(), 1u);  // the negative one posted nothing
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetWindowText(), "Vantry");
    EXPECT_EQ(progressPercent(5, 0), 0);
    EXPECT_EQ(progressPercent(300, 200), 100);
    EXPECT_EQ(progressPercent(1, 3), 33);

    runStatusCallback("", "Counting files...", context);
    runStatusCallback("file a.h", "", context);
    runStatusCallback(nullptr, std::string(200, 'x').c_str(), context);
    runStatusCallback(nullptr, nullptr, context);
    runStatusCallback("ignored", "ignored", nullptr);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE1), "file a.h");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE2), std::string(80, 'x') + " [...]");
    EXPECT_EQ(consoleText.str(), "vantry: Counting files...\n");

    dialog.OnOK();
    EXPECT_FALSE(dialog.IsEnded());
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE1), "Cancelling.  Please wait...");
    EXPECT_EQ(runProgressCallback(1, 2, context), 0);
    runStatusCallback("", "Cancelled.", context);
    platform::PostMessage(dialog.GetSafeHwnd(), WM_RUN_STOPPED, 0, 0);
    dialog.PumpMessages();
    EXPECT_FALSE(dialog.isRunning);
    EXPECT_EQ(runProgressCallback(1, 2, context), 1);
    EXPECT_EQ(console.exitStatus(0), RunConsole::ExitCancelled);
}

TEST_F(DialogTest, TitleAndBarComeToRestWhenACancelledRunEnds) {
    open();
    fillValidFields();
    dialog.onRun();
    void* context = platform::toContext(dialog.GetSafeHwnd());
    runProgressCallback(15, 100, context);
    dialog.PumpMessages();
    ASSERT_EQ(dialog.GetWindowText(), "15% (Vantry Processing)");
    dialog.OnOK();
    EXPECT_EQ(runProgressCallback(20, 100, context), 0);
    runStatusCallback("", "Cancelled.", context);
    platform::PostMessage(dialog.GetSafeHwnd(), WM_RUN_STOPPED, 0, 0);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetWindowText(), "Vantry");
    EXPECT_EQ(dialog.GetProgressPosition(IDC_PROGRESS), 0);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE2), "Cancelled.");
    EXPECT_EQ(dialog.GetDlgItemText(gui::IDOK), "Close");
}

TEST_F(DialogTest, ReportBurstsQueueFewMessagesAndEndShowingTheLatest) {
    open();
    fillValidFields();
    dialog.onRun();
    void* context = platform::toContext(dialog.GetSafeHwnd());
    platform::MessageWindow& window = *dialog.window();

    const std::string longPath = "/deep/" + std::string(90, 'd') + "/last.cpp";
    for (int i = 0; i < 1000; ++i) {
        std::string text = i == 999 ? longPath : "file " + std::to_string(i) + ".h";
        runStatusCallback(text.c_str(), ("class C" + std::to_string(i)).c_str(), context);
    }
    EXPECT_EQ(window.pendingCount(), 2u);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE1), "[...] " + std::string(90, 'd') + "/last.cpp");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE2), "class C999");
    // Once taken, the next report is announced again.
    runStatusCallback("", nullptr, context);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE1), "");

    for (int done = 0; done <= 3000; ++done) runProgressCallback(done, 3000, context);
    EXPECT_EQ(window.pendingCount(), 101u);
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetWindowText(), "100% (Vantry Processing)");
    runProgressCallback(3000, 3000, context);
    EXPECT_EQ(window.pendingCount(), 0u);

    // A new run shows its first percentage even when it repeats the last one.
    platform::PostMessage(dialog.GetSafeHwnd(), WM_RUN_STOPPED, 0, 0);
    dialog.PumpMessages();
    dialog.onRun();
    runProgressCallback(1, 1, context);
    EXPECT_EQ(window.pendingCount(), 1u);
}

TEST_F(DialogTest, ReportsFromAnotherThreadEndShowingTheLastOne) {
    open();
    fillValidFields();
    dialog.onRun();
    void* context = platform::toContext(dialog.GetSafeHwnd());
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        for (int i = 0; i <= 20000; ++i) {
            std::string text = "member " + std::to_string(i);
            runStatusCallback(text.c_str(), text.c_str(), context);
        }
        finished = true;
    });
    // The dialog's thread takes messages while the reports go on, so the
    // flags are cleared and set again in every order.
    while (!finished) dialog.PumpMessages();
    worker.join();
    dialog.PumpMessages();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE1), "member 20000");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_STATUS_LINE2), "member 20000");
    EXPECT_EQ(dialog.window()->pendingCount(), 0u);
}

TEST_F(DialogTest, WarningsAreCollectedShownAndClearedByTheNextRun) {
    open();
    fillValidFields();
    runLogCallback("a", nullptr);
    runLogCallback(nullptr, nullptr);
    runLogCallback("b", nullptr);
    EXPECT_EQ(warningsText(), "a\r\nb\r\n");
    dialog.onShowWarnings();
    EXPECT_EQ(err.str(), "vantry: Warnings:\nvantry: warning: a\nvantry: warning: b\n");
    dialog.onRun();
    EXPECT_EQ(warningsText(), "");
}

TEST_F(DialogTest, ModulesLoadOnceAndAFailedLoadLeavesNoneCurrent) {
    open();
    DocModule* first = dialog.currentModule;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(dialog.IsControlEnabled(IDC_MODULE_OPTIONS), CVantryDlg::canOpen(IDC_MODULE_OPTIONS));
    int partial = dialog.FindEntry(IDC_MODULE_LIST, "vantry-recording-partial");
    ASSERT_GE(partial, 0);
    dialog.UserSelect(IDC_MODULE_LIST, partial);
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_MODULE_OPTIONS));
    dialog.UserSelect(IDC_MODULE_LIST, dialog.FindEntry(IDC_MODULE_LIST, "vantry-recording"));
    EXPECT_EQ(dialog.currentModule, first);
    EXPECT_EQ(dialog.loadedModules.size(), 2u);

    setenv("VANTRY_RECORD_CREATE", "null", 1);
    dialog.loadedModules.erase("vantry-recording-partial");
    dialog.UserSelect(IDC_MODULE_LIST, partial);
    unsetenv("VANTRY_RECORD_CREATE");
    EXPECT_EQ(dialog.currentModule, nullptr);
    EXPECT_EQ(dialog.GetSelection(IDC_MODULE_LIST), -1);
    EXPECT_EQ(boxTexts().back().rfind("Could not load ", 0), 0u);
}

TEST_F(DialogTest, RememberedModuleOptionsSurviveAModuleWithoutOptions) {
    // The module that takes options ("a" and "b") was left with values, the
    // one without options is the remembered module.
    const std::string remembered = "a=docs\r\nb=true\r\n";
    store.writeText("General", "ModuleOptions", remembered);
    store.writeText("General", "DocModule", "vantry-recording-partial");
    dialog.moduleDirectory = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
    dialog.Create();
    ASSERT_EQ(dialog.GetEntry(IDC_MODULE_LIST, dialog.GetSelection(IDC_MODULE_LIST)),
              "vantry-recording-partial");
    dialog.OnOK();
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(store.getString("General", "ModuleOptions", ""), remembered);
    dialog.Destroy();

    // Switching to the module with options hands it the values, and back
    // again keeps them remembered.
    CVantryDlg again(store, &starter);
    again.moduleDirectory = dialog.moduleDirectory;
    again.Create();
    again.UserSelect(IDC_MODULE_LIST, again.FindEntry(IDC_MODULE_LIST, "vantry-recording"));
    EXPECT_EQ(again.currentModuleOptions(),
              (std::map<std::string, std::string>{{"a", "docs"}, {"b", "true"}}));
    again.UserSelect(IDC_MODULE_LIST, again.FindEntry(IDC_MODULE_LIST, "vantry-recording-partial"));
    again.OnOK();
    EXPECT_EQ(store.getString("General", "ModuleOptions", ""), remembered);
    EXPECT_EQ(store.getString("General", "DocModule", ""), "vantry-recording-partial");
    again.Destroy();
}

}  // namespace

namespace {

TEST_F(DialogTest, DestroyCancelsTheRunAndWaitsForItsThread) {
    open();
    fillValidFields();
    dialog.onRun();
    ASSERT_TRUE(starter.gate);
    void* context = platform::toContext(dialog.GetSafeHwnd());
    std::shared_ptr<RunGate> gate = starter.gate;
    bool moduleAliveAtEnd = false;
    // A worker that runs until it is told to stop, then lets go.
    std::thread worker([&] {
        while (runProgressCallback(-1, -1, context) != 0) std::this_thread::yield();
        moduleAliveAtEnd = !dialog.loadedModules.empty();
        gate->open();
    });
    dialog.Destroy();
    worker.join();
    EXPECT_TRUE(moduleAliveAtEnd);
    EXPECT_TRUE(dialog.loadedModules.empty());
    EXPECT_EQ(dialog.currentModule, nullptr);
    // The dialog has left the map: callbacks find nobody and ask to stop.
    EXPECT_EQ(runProgressCallback(1, 2, context), 0);
}

TEST_F(DialogTest, FailedSaveIsReportedAndTheDialogStillCloses) {
    open();
    store.saveResult = false;
    dialog.OnOK();
    EXPECT_TRUE(dialog.IsEnded());
    EXPECT_EQ(headless.shownBoxes().back().icon, gui::Icon::Error);
    EXPECT_EQ(boxTexts().back(), "Could not save the settings.");
}

TEST(RunConsoleTest, AFileNameOnTheLiveLineIsShownNotObeyed) {
    std::ostringstream text;
    RunConsole console(RunConsole::Mode::Live, text, 80);
    console.runStarted();
    console.status(nullptr, "src/a\x1b]0;owned\x07\nvantry: Done.\x1b[2J.h");
    EXPECT_EQ(text.str(), "\r0% src/a\\x1B]0;owned\\x07\\x0Avantry: Done.\\x1B[2J.h\x1b[K");
}

TEST(RunConsoleTest, LiveLineRedrawsInPlaceAndEndsWithTheOutcome) {
    std::ostringstream text;
    // A second between reports: each is drawn.
    std::chrono::steady_clock::time_point now{};
    RunConsole console(RunConsole::Mode::Live, text, 40, [&now] { return now += std::chrono::seconds(1); });
    console.runStarted();
    console.status("", "Counting files...");
    console.progress(50);
    console.status(nullptr, std::string(60, 'y').c_str());
    console.status("", "Sending output to documentation module...");
    console.logged();
    console.status("", "Done.");
    std::string shown = text.str();
    EXPECT_EQ(shown.rfind("\r0% Counting files...\x1b[K", 0), 0u);
    EXPECT_NE(shown.find("\r50% " + std::string(32, 'y') + "...\x1b[K"), std::string::npos);
    // The line ends at 100%: the run's report of 0 after "Done." resets the
    // dialog's bar, not the terminal's last word.
    console.progress(0);
    console.runStopped();
    shown = text.str();
    const std::string ending = "\r100% Done.\x1b[K\nvantry: Done.\n";
    ASSERT_GE(shown.size(), ending.size());
    EXPECT_EQ(shown.substr(shown.size() - ending.size()), ending);
    EXPECT_TRUE(console.endedDone());
    // The module's error during output fails the run although it says "Done.".
    EXPECT_EQ(console.exitStatus(0), RunConsole::ExitError);
    console.runStarted();
    console.logged();  // a parse warning before the output phase does not
    console.status("", "Done.");
    EXPECT_EQ(console.exitStatus(0), RunConsole::ExitDone);
}

// Thousands of files a second: the line is redrawn once a tenth of a
// second with the file at hand then, and at once for each phase; a line
// ended shows the last report first.
TEST(RunConsoleTest, TheLiveLineIsRedrawnAtMostTenTimesASecond) {
    std::ostringstream text;
    std::chrono::steady_clock::time_point now{};
    RunConsole console(RunConsole::Mode::Live, text, 80, [&now] { return now; });
    console.runStarted();
    console.status("", "Counting files...");
    std::string expected = "\r0% Counting files...\x1b[K";
    for (int file = 0; file < 1000; ++file) {
        now += std::chrono::milliseconds(1);
        const std::string name = "file src/f" + std::to_string(file) + ".h";
        console.status(name.c_str(), " ");
        if (file % 100 == 99) expected += "\r0% " + name + "\x1b[K";
    }
    console.progress(50);
    console.status("", "Sending output to documentation module...");
    expected += "\r50% Sending output to documentation module...\x1b[K";
    console.status(nullptr, "page Widget.html");
    console.endLine();
    expected += "\r50% page Widget.html\x1b[K\n";
    EXPECT_EQ(text.str(), expected);
}

}  // namespace

namespace {

class ControlsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        previousShell = platform::setShell(&shell);
    }
    void TearDown() override {
        platform::setShell(previousShell);
        DialogTest::TearDown();
    }
    platform::RecordingShell shell;
    platform::Shell* previousShell = nullptr;
};

TEST_F(ControlsTest, EnableRulesFollowTheRowsTheOutputAndFragments) {
    open();
    dialog.UserClick(IDC_ADVANCED);
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_HEADER_TEXT));
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_TITLE));
    dialog.UserClick(IDC_HEADER_NONE);
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_HEADER_TEXT));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_TITLE));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_COMPANY));
    dialog.UserClick(IDC_HEADER_CUSTOM);
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_HEADER_TEXT));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_TITLE));
    dialog.UserClick(IDC_HEADER_DEFAULT);
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_TITLE));
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_COMPANY));

    dialog.UserType(IDC_OUTPUT_FILE, "out.html");
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_VIEW));
    dialog.UserType(IDC_OUTPUT_FILE, "");
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_VIEW));

    dialog.UserClick(IDC_FOOTER_CUSTOM);
    dialog.UserType(IDC_FOOTER_TEXT, "<hr>");
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_FOOTER_BROWSE));
    dialog.UserType(IDC_FOOTER_TEXT, "footer.html");
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_FOOTER_BROWSE));

    // Every button that opens a dialog is there to be pressed; Module
    // Options is refused during a run even when asked for directly.
    for (int id : {IDC_FILE_EXTENSIONS, IDC_PREPROCESSOR_DEFS, IDC_OTHER, IDC_FEEDBACK, IDC_UPDATE})
        EXPECT_TRUE(dialog.IsControlEnabled(id)) << id;
    dialog.UserClick(IDC_FOOTER_DEFAULT);  // no footer.html to read
    fillValidFields();
    dialog.onRun();
    ASSERT_TRUE(dialog.isRunning);
    dialog.OnCommand(IDC_MODULE_OPTIONS, gui::BN_CLICKED);
    EXPECT_EQ(boxTexts().back(), "Processing is already in progress.  Click Cancel to stop.");
    EXPECT_EQ(headless.shownBoxes().back().icon, gui::Icon::Warning);
}

TEST_F(ControlsTest, EveryEnableRuleHoldsAfterTheSettingsAreRestored) {
    // Header: Custom with a fragment; footer: Custom with a file name; item:
    // None with a fragment left in its box; source: Default.
    store.writeInt("General", "AdvancedOutput", 1);
    store.writeInt("General", "HeaderMethod", MethodCustom);
    store.writeText("General", "HeaderFile", "<b>Hi</b>");
    store.writeInt("General", "FooterMethod", MethodCustom);
    store.writeText("General", "FooterFile", "footer.html");
    store.writeInt("General", "ItemMethod", MethodNone);
    store.writeText("General", "ItemFile", "$N has <i>no</i> file");
    store.writeText("General", "HtmlOutput", "");
    open();
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_HEADER_TEXT));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_HEADER_BROWSE));
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_FOOTER_TEXT));
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_FOOTER_BROWSE));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_ITEM_TEXT));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_ITEM_BROWSE));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_SOURCE_TEXT));
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_SOURCE_BROWSE));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_TITLE));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_COMPANY));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_VIEW));
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_MODULE_OPTIONS));  // the module takes options
    dialog.Destroy();

    // The other way round: every row on Default, an output file, and a
    // module without options.
    platform::MemorySettingsStore other;
    other.writeText("General", "HtmlOutput", "out/index.html");
    other.writeText("General", "HeaderFile", "head.html");
    other.writeText("General", "DocModule", "vantry-recording-partial");
    CVantryDlg restored(other, &starter);
    restored.moduleDirectory = std::string(std::getenv("VANTRY_BUILD_DIR")) + "/modules";
    restored.Create();
    EXPECT_FALSE(restored.IsControlEnabled(IDC_HEADER_TEXT));
    EXPECT_TRUE(restored.IsControlEnabled(IDC_HEADER_BROWSE));
    EXPECT_TRUE(restored.IsControlEnabled(IDC_TITLE));
    EXPECT_TRUE(restored.IsControlEnabled(IDC_COMPANY));
    EXPECT_TRUE(restored.IsControlEnabled(IDC_VIEW));
    EXPECT_FALSE(restored.IsControlEnabled(IDC_MODULE_OPTIONS));
    restored.Destroy();
}

TEST_F(ControlsTest, AddedFilesAndFoldersGoOnLinesOfTheirOwn) {
    open();
    dialog.setFileExtensions("h,cpp");
    headless.scriptFiles({"/src/a.h", "/src/b.cpp"});
    dialog.UserClick(IDC_ADD_FILES);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PROJECT_LIST), "\"/src/a.h\"\r\n\"/src/b.cpp\"");
    gui::FileChooser request = headless.chooserRequests().back();
    EXPECT_EQ(request.filter, "Valid Files (*.cpp;*.h)|*.cpp; *.h|All Files (*.*)|*.*||");
    EXPECT_TRUE(request.multiSelect);
    EXPECT_TRUE(request.mustExist);

    dialog.UserType(IDC_PROJECT_LIST, "\"/old\"\r\n");
    headless.scriptFiles({"/src/c.h"});
    dialog.UserClick(IDC_ADD_FILES);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PROJECT_LIST), "\"/old\"\r\n\"/src/c.h\"");
    dialog.UserClick(IDC_ADD_FILES);  // cancelled
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PROJECT_LIST), "\"/old\"\r\n\"/src/c.h\"");

    headless.scriptFolder("/work/lib");
    dialog.UserClick(IDC_ADD_DIRECTORY);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PROJECT_LIST), "\"/old\"\r\n\"/src/c.h\"\r\n\"/work/lib\"");
    EXPECT_EQ(headless.chooserRequests().back().initialPath, getCurrentDirectory());
    dialog.UserClick(IDC_ADD_DIRECTORY);  // cancelled: no line break left behind
    EXPECT_EQ(dialog.GetDlgItemText(IDC_PROJECT_LIST), "\"/old\"\r\n\"/src/c.h\"\r\n\"/work/lib\"");
}

TEST_F(ControlsTest, BrowseButtonsMakeTheRowCustomAndTakeTheChoice) {
    store.writeInt("General", "AdvancedOutput", 1);
    open();
    headless.scriptFiles({"/site/head.html"});
    dialog.UserClick(IDC_HEADER_BROWSE);
    EXPECT_EQ(dialog.GetRadioIndex(IDC_HEADER_DEFAULT), MethodCustom);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_HEADER_TEXT), "/site/head.html");
    EXPECT_TRUE(dialog.IsControlEnabled(IDC_HEADER_TEXT));
    EXPECT_FALSE(dialog.IsControlEnabled(IDC_TITLE));
    EXPECT_TRUE(headless.chooserRequests().back().mustExist);

    headless.scriptFolder("/site/src");
    dialog.UserClick(IDC_SOURCE_BROWSE);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_SOURCE_TEXT), "/site/src");

    dialog.UserType(IDC_OUTPUT_FILE, "/site/index.htm");
    headless.scriptFiles({"/other/index.htm"});
    dialog.UserClick(IDC_OUTPUT_BROWSE);
    gui::FileChooser request = headless.chooserRequests().back();
    EXPECT_TRUE(request.save);
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_EQ(request.defaultExtension, "htm");
    EXPECT_EQ(request.initialPath, "/site/index.htm");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_OUTPUT_FILE), "/other/index.htm");
}

TEST_F(ControlsTest, AdvancedTwiceRestoresEveryControlAndTheHeight) {
    open();
    ASSERT_EQ(dialog.advancedOutput, 0);
    for (int id : advancedOnlyControls) EXPECT_FALSE(dialog.IsControlVisible(id)) << id;
    std::vector<gui::Rect> before;
    for (const gui::Control& control : dialog.controls()) before.push_back(control.rect);
    gui::Rect window = dialog.GetWindowRect();

    dialog.UserClick(IDC_ADVANCED);
    EXPECT_EQ(dialog.advancedOutput, 1);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_ADVANCED), "<<");
    EXPECT_EQ(dialog.GetWindowRect().height, window.height + advancedShift);
    for (int id : advancedOnlyControls) EXPECT_TRUE(dialog.IsControlVisible(id)) << id;
    // The expanded layout is the template's own.
    for (const gui::ControlTemplate& item : vantryDialogTemplate.controls) {
        if (item.id != gui::IDSTATIC) {
            EXPECT_EQ(dialog.GetControlRect(item.id), item.rect) << item.id;
        }
    }

    dialog.UserClick(IDC_ADVANCED);
    EXPECT_EQ(dialog.GetDlgItemText(IDC_ADVANCED), "Advanced");
    EXPECT_EQ(dialog.GetWindowRect(), window);
    for (std::size_t i = 0; i < dialog.controls().size(); ++i)
        EXPECT_EQ(dialog.controls()[i].rect, before[i]) << dialog.controls()[i].id;
    dialog.saveSettings(false);
    EXPECT_EQ(store.getInt("General", "AdvancedOutput", -1), 0);
}

TEST_F(ControlsTest, ViewOpensAnExistingOutputAndReportsAMissingOne) {
    open();
    std::string missing = scratch / "none.html";
    dialog.UserType(IDC_OUTPUT_FILE, missing);
    dialog.UserClick(IDC_VIEW);
    EXPECT_EQ(boxTexts().back(), "The file \"" + missing + "\" does not exist.");
    EXPECT_EQ(headless.shownBoxes().back().icon, gui::Icon::Error);
    EXPECT_TRUE(shell.opened.empty());

    scratch.write("out/index.html", "<html></html>");
    dialog.UserType(IDC_OUTPUT_FILE, scratch / "out/index.html");
    std::size_t boxes = headless.shownBoxes().size();
    dialog.UserClick(IDC_VIEW);
    EXPECT_EQ(shell.opened, std::vector<std::string>{scratch / "out/index.html"});
    EXPECT_EQ(headless.shownBoxes().size(), boxes);

    // An output that no application opens is reported, not passed over.
    shell.succeed = false;
    dialog.UserClick(IDC_VIEW);
    EXPECT_EQ(boxTexts().back(), "Could not open \"" + scratch / "out/index.html" +
                                     "\" (the test's shell refused).");
    EXPECT_EQ(headless.shownBoxes().back().icon, gui::Icon::Error);
}

TEST_F(ControlsTest, TheWebSiteSettingGovernsEveryLinkToTheSite) {
    unsetenv("VANTRY_WEB_SITE");
    store.writeText("Update", "WebSite", "http://site.test:8080/");
    open();
    EXPECT_EQ(dialog.GetDlgItemText(IDC_WEB_LINK), "site.test:8080");
    dialog.UserClick(IDC_WEB_LINK);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].rfind("http://site.test:8080/vantry?", 0), 0u) << shell.opened[0];

    // The window menu's "Visit Website" goes to the same site.
    std::vector<std::string> menu;
    for (const gui::MenuEntry& entry : dialog.menuEntries()) menu.push_back(entry.text);
    EXPECT_EQ(menu.back(), "&About Vantry...");
    EXPECT_NE(std::find(menu.begin(), menu.end(), "&Visit Website"), menu.end());
    dialog.UserMenuCommand(IDM_VISIT_WEBSITE);
    EXPECT_EQ(shell.opened.back(), "http://site.test:8080");
    shell.succeed = false;
    dialog.UserMenuCommand(IDM_VISIT_WEBSITE);
    EXPECT_EQ(boxTexts().back(), "Could not open \"http://site.test:8080\" (the test's shell refused).");

    // The environment's site wins over the setting, in the About box too.
    shell.succeed = true;
    setenv("VANTRY_WEB_SITE", "https://mirror.test", 1);
    CAboutBox about(&store);
    about.Create();
    EXPECT_EQ(about.GetDlgItemText(IDC_ABOUT_LINK), "mirror.test");
    about.UserClick(IDC_ABOUT_LINK);
    EXPECT_EQ(shell.opened.back().rfind("https://mirror.test/vantry?", 0), 0u) << shell.opened.back();
    about.Destroy();
    unsetenv("VANTRY_WEB_SITE");
}

}  // namespace
