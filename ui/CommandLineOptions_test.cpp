#include "ui/CommandLineOptions.h"

#include <climits>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "VelkLib/VelkError.h"
#include "platform/gui/HeadlessBackend.h"
#include "run/TestRecording.h"
#include "ui/CVantryDlg.h"

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    // Each test runs in the scratch folder, whose inputs src, a and b are
    // there to be documented.
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", scratch.path.c_str(), 1);
        previous = gui::setBackend(&headless);
        here = std::filesystem::current_path();
        std::filesystem::current_path(scratch.path);
        for (const char* input : {"src", "a", "b"}) std::filesystem::create_directory(input);
    }
    void TearDown() override {
        std::filesystem::current_path(here);
        gui::setBackend(previous);
    }

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
    std::filesystem::path here;
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
                     "-namespaces-global", "-source-code-tab-size=8", "-mix-cpp-csharp",
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
    EXPECT_EQ(dialog.tabSize, 8);
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

TEST_F(CommandLineTest, ValuesAnOptionCannotTakeAreRefusedByName) {
    EXPECT_THROW(parse({"-comment-format=nonsense"}), VelkError);
    for (const char* bad : {"-source-code-tab-size=abc", "-source-code-tab-size=", "-source-code-tab-size=4x",
                            "-Source-Code-Tab-Size=99999999999"}) {
        CVantryDlg fresh(store);
        try {
            parseCommandLineOptions(fresh, VelkCmdLine({bad}));
            ADD_FAILURE() << bad << " was taken";
        } catch (const CommandLineError& error) {
            EXPECT_EQ(error.getMessage(), std::string(bad) + ": the value must be a whole number");
        }
    }
}

TEST_F(CommandLineTest, AColourOptionTakesOnlyAColourNameOrHexDigits) {
    const char* const keys[] = {"comment", "keyword", "user-keyword", "string", "number", "operator", "paren"};
    for (const char* key : keys) {
        for (const std::string bad : {"red\" onmouseover=\"alert(1)", "", "orange", "#12345"}) {
            const std::string flag = std::string("-syntax-color-") + key + "=" + bad;
            CVantryDlg fresh(store);
            try {
                parseCommandLineOptions(fresh, VelkCmdLine({flag}));
                ADD_FAILURE() << flag << " was taken";
            } catch (const CommandLineError& error) {
                EXPECT_EQ(error.getMessage().rfind(flag + ": the value must be a colour name (aqua, ", 0), 0u)
                    << error.getMessage();
            }
        }
        CVantryDlg fresh(store);
        parseCommandLineOptions(fresh, VelkCmdLine({std::string("-syntax-color-") + key + "=Teal"}));
    }
}

TEST_F(CommandLineTest, AHelpFlagAnywhereAsksForTheUsageBeforeAnythingApplies) {
    for (const char* help : {"-h", "-help", "--help", "-?", "-HELP"}) {
        CVantryDlg fresh(store);
        EXPECT_EQ(parseCommandLineOptions(fresh, VelkCmdLine({"-comment-format=nonsense", "-ver", help,
                                                              "src", "out.html"})),
                  CommandLineResult::Usage)
            << help;
        EXPECT_TRUE(fresh.projectList.empty());
    }
    // The module's choice applies, for the module's part of the usage.
    EXPECT_EQ(parse({"-title=x", "-module=vantry-old", "-?"}), CommandLineResult::Usage);
    EXPECT_EQ(dialog.moduleName, "vantry-old");
    EXPECT_TRUE(dialog.title.empty());
    EXPECT_TRUE(headless.shownBoxes().empty());
}

TEST_F(CommandLineTest, TheUsageTextHasALineForEveryOptionOfTheTable) {
    const std::string usage = usageText();
    for (const CommandLineOption& row : commandLineOptions()) {
        const std::string form = std::string("\n  -") + row.key + row.valueForm;
        const std::size_t at = usage.find(form);
        ASSERT_NE(at, std::string::npos) << row.key;
        const char after = usage[at + form.size()];
        EXPECT_TRUE(after == ' ' || after == '\n') << row.key;
        EXPECT_NE(usage.find(row.summary), std::string::npos) << row.key;
    }
    for (const char* part : {"-h, -help, --help, -?", "-title=TEXT", "-source-code-tab-size=NUMBER",
                             "-accept3slash", "-dNAME[=VALUE]", "-KEY[=VALUE]", "output.html",
                             "Exit status: 0"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    // Every line fits a terminal of 80 columns.
    std::size_t start = 0;
    for (std::size_t end = usage.find('\n'); end != std::string::npos; start = end + 1, end = usage.find('\n', start))
        EXPECT_LE(end - start, 80u) << usage.substr(start, end - start);
}

TEST_F(CommandLineTest, NothingIsWrittenOutsideTheOutputDirectory) {
    for (const char* option : {"-classdir=../../x", "-classdir=/tmp/x", "-classdir=C:\\docs",
                               "-index-file-base=a/../../x", "-index-file-base=sub/idx",
                               "-index-file-base=x/.."}) {
        CVantryDlg fresh(store);
        const std::string flag(option);
        try {
            parseCommandLineOptions(fresh, VelkCmdLine({option, "src", "out.html"}));
            ADD_FAILURE() << option << " was taken";
        } catch (const CommandLineError& e) {
            // Named as given: the option and its value.
            EXPECT_NE(e.getMessage().find("\"" + flag.substr(flag.find('=') + 1) + "\" of " +
                                          flag.substr(0, flag.find('='))),
                      std::string::npos)
                << e.getMessage();
        }
    }
    EXPECT_EQ(parse({"-classdir=docs/../classes", "-index-file-base=all", "src", "out.html"}),
              CommandLineResult::Go);
    // Nor under a name no file system holds: the index page "<base>-all.html",
    // a folder of -classdir, the frame pages named after the index file.
    const std::string tooLong(NAME_MAX - 8, 'x');
    for (const std::string& option : {"-index-file-base=" + tooLong, "-classdir=docs/" + std::string(NAME_MAX + 1, 'x') + "/classes"}) {
        CVantryDlg fresh(store);
        try {
            parseCommandLineOptions(fresh, VelkCmdLine({option, "src", "out.html"}));
            ADD_FAILURE() << "a name too long was taken: " << option;
        } catch (const CommandLineError& e) {
            EXPECT_NE(e.getMessage().find(option.substr(1, option.find('=') - 1)), std::string::npos) << e.getMessage();
        }
    }
    {
        CVantryDlg fresh(store);
        EXPECT_THROW(parseCommandLineOptions(fresh, VelkCmdLine({"src", tooLong + ".html"})), CommandLineError);
    }
    CVantryDlg fresh(store);
    try {
        parseCommandLineOptions(fresh, VelkCmdLine({"src", scratch.path}));
        ADD_FAILURE() << "an output path that is a directory was taken";
    } catch (const CommandLineError& e) {
        EXPECT_NE(e.getMessage().find(scratch.path), std::string::npos);
    }
}

TEST_F(CommandLineTest, ValuesThatCannotWorkAreRefusedBeforeTheRunNamingThem) {
    std::filesystem::create_directory("src/lib");
    std::ofstream("head.html") << "<b>Head</b>\n";
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"gone", "out.html"}, "The input \"gone\" does not exist; name a file or folder to document."},
        {{"src", "gone/=Old", "out.html"},
         "The input \"gone\" does not exist; name a file or folder to document."},
        {{"src/Gone.java", "out.html"},
         "The input \"src/Gone.java\" does not exist; name a file or folder to document."},
        {{"-header=top.html", "src", "out.html"},
         "-header: there is no file \"top.html\"; name a text file or give HTML."},
        {{"-footer=foot", "src", "out.html"}, "-footer: there is no file \"foot\"; name a text file or give HTML."},
        {{"-item=src/item.txt", "src", "out.html"},
         "-item: there is no file \"src/item.txt\"; name a text file or give HTML."},
        {{"-header=src", "src", "out.html"}, "-header: \"src\" is not a regular file; name a text file or give HTML."},
        {{"-source-code-tab-size=-3", "src", "out.html"},
         "-source-code-tab-size=-3: the value must be a whole number from 1 to 99"},
        {{"-source-code-tab-size=0", "src", "out.html"},
         "-source-code-tab-size=0: the value must be a whole number from 1 to 99"},
        {{"-source-code-tab-size=100", "src", "out.html"},
         "-source-code-tab-size=100: the value must be a whole number from 1 to 99"},
    };
    for (const auto& [arguments, message] : refused) {
        CVantryDlg fresh(store);
        try {
            parseCommandLineOptions(fresh, VelkCmdLine(arguments));
            ADD_FAILURE() << arguments.front() << " was taken";
        } catch (const CommandLineError& e) {
            EXPECT_EQ(e.getMessage(), message);
        }
    }
    // What can work is taken: a commented-out entry names nothing to find,
    // an empty header is none, HTML is no file name.
    EXPECT_EQ(parse({"-header=", "-footer=head.html", "-item=<b>$N</b>", "-source-code-tab-size=99",
                     "#gone", "src/lib", "b/", "out.html"}),
              CommandLineResult::Go);
    EXPECT_EQ(dialog.headerMethod, MethodNone);
    EXPECT_EQ(dialog.footerText, "head.html");
    EXPECT_EQ(dialog.tabSize, 99);
    EXPECT_EQ(dialog.projectList, "\"#gone\"\r\n\"src/lib\"\r\n\"b/\"\r\n");
}

TEST_F(CommandLineTest, APositionalArgumentIsAPathAsItStands) {
    std::filesystem::create_directory("my \"odd\" dir");
    EXPECT_EQ(parse({"my \"odd\" dir", "out.html"}), CommandLineResult::Go);
    EXPECT_EQ(dialog.projectList, "\"my \"\"odd\"\" dir\"\r\n");
}

TEST_F(CommandLineTest, OneProjectWritesIndexHtmlHereAndAsksBeforeReplacingIt) {
    EXPECT_EQ(parse({"src"}), CommandLineResult::Go);
    EXPECT_EQ(dialog.outputFile, "index.html");
    EXPECT_EQ(dialog.projectList, "\"src\"\r\n");
    EXPECT_TRUE(headless.shownBoxes().empty());

    scratch.write("index.html", "someone else's page");
    CVantryDlg again(store);
    EXPECT_EQ(parseCommandLineOptions(again, VelkCmdLine({"src"})), CommandLineResult::Declined);
    ASSERT_EQ(headless.shownBoxes().size(), 2u);
    EXPECT_EQ(headless.shownBoxes()[0].text, "Overwrite index.html?");
    CVantryDlg forced(store);
    EXPECT_EQ(parseCommandLineOptions(forced, VelkCmdLine({"-overwrite", "src"})), CommandLineResult::Go);
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
