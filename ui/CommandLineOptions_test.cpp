#include "ui/CommandLineOptions.h"

#include <gtest/gtest.h>

#include "VelkLib/VelkError.h"
#include "platform/gui/HeadlessBackend.h"
#include "run/TestRecording.h"
#include "ui/CVantryDlg.h"

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", scratch.path.c_str(), 1);
        previous = gui::setBackend(&headless);
    }
    void TearDown() override { gui::setBackend(previous); }

    CommandLineResult parse(std::vector<std::string> arguments) {
        return parseCommandLineOptions(dialog, VelkCmdLine(arguments));
    }

    testing_support::ScratchDirectory scratch;
    std::ostringstream out, err;
    std::istringstream in;
    gui::HeadlessBackend headless{out, err, in, false};
    gui::Backend* previous = nullptr;
    platform::MemorySettingsStore store;
    CVantryDlg dialog{store};
};

TEST_F(CommandLineTest, EveryRowIsReachedInTableOrder) {
    auto table = commandLineOptions();
    ASSERT_EQ(table.size(), 42u);
    // Each named row must be the first to match its own key: an earlier
    // prefix row (the "d" of the defines) must not shadow a later name.
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].argument == OptionArgument::Prefix || table[i].argument == OptionArgument::AnyKey)
            continue;
        std::string key = table[i].key;
        for (std::size_t j = 0; j < i; ++j) {
            bool earlier = table[j].argument == OptionArgument::Prefix ? key.rfind(table[j].key, 0) == 0
                                                                       : key == table[j].key;
            EXPECT_FALSE(earlier) << key << " is taken by row " << j + 1;
        }
    }
    EXPECT_EQ(std::string(table[36].key), "d");
    EXPECT_EQ(table[41].argument, OptionArgument::AnyKey);
}

TEST_F(CommandLineTest, OptionsReachTheirSettings) {
    ASSERT_EQ(parse({"-Title=My Docs", "-company=Velk", "-header=-", "-footer=", "-item=<b>$N</b>",
                     "-sourcedir=../src", "-hier", "-insertbr", "-includeconst",
                     "-suppress-syntax-color", "-syntax-color-comment=red",
                     "-syntax-color-paren=#00FF00", "-user-keywords=alpha,,beta",
                     "-namespaces-global", "-source-code-tab-size=x", "-mix-cpp-csharp",
                     "-include-anonymous", "-document-preprocessor", "-disable-tooltips",
                     "-additional-header=<meta>", "-accept3slash", "-classdir=docs/classes",
                     "-autorun", "-autoquit", "-autoview", "-module=vantry-old",
                     "-moduledir=/opt/mods", "-DWIN32", "-dfoo=1", "-depth=3",
                     "-extensions=.cpp,*.h", "-languages=h=java", "-nodocument-marker=NODOC",
                     "-onlydocument-marker=ONLY", "-Frobnicate=x y", "-enable-author"}),
              CommandLineResult::Go);
    EXPECT_TRUE(dialog.commandLineSettings);
    EXPECT_EQ(dialog.title, "My Docs");
    EXPECT_EQ(dialog.company, "Velk");
    EXPECT_EQ(dialog.headerMethod, MethodNone);
    EXPECT_EQ(dialog.footerMethod, MethodNone);
    EXPECT_EQ(dialog.itemMethod, MethodCustom);
    EXPECT_EQ(dialog.itemText, "<b>$N</b>");
    EXPECT_EQ(dialog.sourceMethod, MethodCustom);
    EXPECT_EQ(dialog.sourceText, "../src");
    EXPECT_TRUE(dialog.hierarchical && dialog.insertLineBreaks && dialog.includeConst);
    EXPECT_FALSE(dialog.syntaxColoring);
    EXPECT_EQ(dialog.syntaxColors.comment, "red");
    EXPECT_EQ(dialog.syntaxColors.separator, "#00FF00");
    EXPECT_EQ(dialog.syntaxColors.userKeywords, (std::set<std::string>{"alpha", "beta"}));
    EXPECT_EQ(dialog.tabSize, 0);
    EXPECT_TRUE(dialog.namespacesGlobal && dialog.mixCppCsharp && dialog.includeAnonymous &&
                dialog.documentPreprocessor && dialog.disableTooltips);
    EXPECT_EQ(dialog.additionalHeader, "<meta>");
    EXPECT_EQ(dialog.commentFormat.getSecondaryStart(), "///");
    EXPECT_EQ(dialog.classesDirectory, "docs/classes");
    EXPECT_TRUE(dialog.autoRun && dialog.autoQuit && dialog.autoView);
    EXPECT_EQ(dialog.moduleName, "vantry-old");
    EXPECT_EQ(dialog.moduleDirectory, "/opt/mods");
    EXPECT_TRUE(dialog.defines.isDefined("WIN32"));
    EXPECT_EQ(dialog.defines.valueOf("WIN32"), "");
    EXPECT_EQ(dialog.defines.valueOf("foo"), "1");
    EXPECT_EQ(dialog.defines.valueOf("epth"), "3");
    EXPECT_EQ(dialog.extensions, (std::set<std::string>{"cpp", "h"}));
    EXPECT_EQ(dialog.languageMap.at("h"), 2);
    EXPECT_EQ(dialog.noDocumentMarker, "NODOC");
    EXPECT_EQ(dialog.onlyDocumentMarker, "ONLY");
    EXPECT_EQ(dialog.moduleOptions.at("frobnicate"), "x y");
    // "enable-author" begins with "e", not "d": a module option.
    EXPECT_EQ(dialog.moduleOptions.at("enable-author"), "");
    EXPECT_TRUE(dialog.projectList.empty());
}

TEST_F(CommandLineTest, ValuesUnescapeQuotesAndLineBreaks) {
    parse({"-title=say \\\"hi\\\"", "-additional-header=a\\r\\nb\\n"});
    EXPECT_EQ(dialog.title, "say \"hi\"");
    EXPECT_EQ(dialog.additionalHeader, "a\r\nb\\n");
    EXPECT_EQ(dialog.classesDirectory, "projects");
}

TEST_F(CommandLineTest, BadCommentFormatThrows) {
    EXPECT_THROW(parse({"-comment-format=nonsense"}), VelkError);
}

TEST_F(CommandLineTest, NothingIsWrittenOutsideTheOutputDirectory) {
    for (const char* option : {"-classdir=../../x", "-classdir=/tmp/x", "-index-file-base=a/../../x"}) {
        CVantryDlg fresh(store);
        EXPECT_THROW(parseCommandLineOptions(fresh, VelkCmdLine({option, "src"})), CommandLineRefused)
            << option;
    }
    EXPECT_EQ(parse({"-classdir=docs/../classes", "-index-file-base=all", "src"}), CommandLineResult::Go);
    CVantryDlg fresh(store);
    try {
        parseCommandLineOptions(fresh, VelkCmdLine({"src", scratch.path}));
        ADD_FAILURE() << "an output path that is a directory was taken";
    } catch (const CommandLineRefused& e) {
        EXPECT_NE(e.getMessage().find(scratch.path), std::string::npos);
    }
}

TEST_F(CommandLineTest, APositionalArgumentIsAPathAsItStands) {
    EXPECT_EQ(parse({"my \"odd\" dir", "out.html"}), CommandLineResult::Go);
    EXPECT_EQ(dialog.projectList, "\"my \"\"odd\"\" dir\"\r\n");
}

TEST_F(CommandLineTest, OneProjectWritesIndexHtmlWithoutAsking) {
    EXPECT_EQ(parse({"src"}), CommandLineResult::Go);
    EXPECT_EQ(dialog.outputFile, "index.html");
    EXPECT_EQ(dialog.projectList, "\"src\"\r\n");
    EXPECT_TRUE(headless.shownBoxes().empty());
}

TEST_F(CommandLineTest, ExistingOutputAsksAndNoEndsCancelled) {
    scratch.write("out.html", "old");
    std::string output = scratch / "out.html";
    EXPECT_EQ(parse({"a", "b", output}), CommandLineResult::Declined);
    auto boxes = headless.shownBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Overwrite " + output + "?");
    EXPECT_EQ(boxes[0].buttons, gui::Buttons::YesNo);
    EXPECT_EQ(boxes[1].text, "Cancelled.");

    CVantryDlg again(store);
    headless.scriptAnswer(gui::Answer::Yes);
    EXPECT_EQ(parseCommandLineOptions(again, VelkCmdLine({"a", "b", output})), CommandLineResult::Go);
    EXPECT_EQ(again.projectList, "\"a\"\r\n\"b\"\r\n");
    CVantryDlg forced(store);
    EXPECT_EQ(parseCommandLineOptions(forced, VelkCmdLine({"-overwrite", "a", output})),
              CommandLineResult::Go);
    EXPECT_EQ(headless.shownBoxes().size(), 3u);
}

TEST_F(CommandLineTest, VersionEndsTheProgramBeforeTheProjects) {
    EXPECT_EQ(parse({"-ver", "src", "out.html"}), CommandLineResult::Version);
    EXPECT_TRUE(dialog.projectList.empty());
    auto boxes = headless.shownBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Vantry version ", 0), 0u);
    EXPECT_EQ(boxes[0].text.find(','), std::string::npos);
}

}  // namespace
