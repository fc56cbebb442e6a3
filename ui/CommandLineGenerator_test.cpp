#include "ui/CommandLineGenerator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

#include "VelkLib/VelkCmdLine.h"
#include "platform/SettingsStore.h"
#include "run/InputWalk.h"
#include "run/TestRecording.h"
#include "ui/CVantryDlg.h"
#include "ui/CmdLineDialog.h"
#include "ui/CommandLineOptions.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/testing/ScriptedBackend.h"

using namespace ui;

namespace {

// A dialog as a fresh profile leaves it, with something to document.
struct DefaultDialog {
    DefaultDialog() {
        dialog.classesDirectory = "projects";
        dialog.setDefaultFileExtensions();
        dialog.setDefaultLanguageMap();
    }
    platform::MemorySettingsStore store;
    CVantryDlg dialog{store};
};

// Makes the recording module (which takes options) the dialog's current
// module and gives it the values, as the module options dialog does.
void giveModuleOptions(CVantryDlg& dialog, const std::map<std::string, std::string>& values) {
    dialog.loadedModules["vantry-recording"] =
        dialog.loadModule(testing_support::testModulePath("vantry-recording"));
    for (const auto& [key, value] : values) dialog.setCurrentModuleOption(key, value);
}

const char* const defaultTail =
    "-classdir=projects -module=vantry-standard -extensions=c,cc,cpp,cs,cxx,h,hpp,hxx,java "
    "-languages=c=cpp,cc=cpp,cpp=cpp,cs=csharp,cxx=cpp,h=cpp,hpp=cpp,hxx=cpp,java=java ";

TEST(CommandLineGeneratorTest, WritesOnlyWhatDiffersFromTheDefaults) {
    DefaultDialog d;
    d.dialog.projectList = "\"src\"\r\nlib\r\n";
    d.dialog.outputFile = "out/index.html";
    EXPECT_EQ(generateCommandOptions(d.dialog), std::string(defaultTail) + "src lib out/index.html");

    // A blank needs quotes, a dotted name does not; a Custom row has an
    // extra blank in front, None is "=-"; colours are written also while
    // colouring is off; a tab size of 4 is the default, 8 is not.
    d.dialog.title = "My Docs";
    d.dialog.company = "Demo.1";
    d.dialog.headerMethod = MethodCustom;
    d.dialog.headerText = "header.html";
    d.dialog.footerMethod = MethodNone;
    d.dialog.syntaxColoring = false;
    d.dialog.syntaxColors.comment = "#12AB34";
    d.dialog.tabSize = 8;
    std::string text = generateCommandOptions(d.dialog);
    EXPECT_EQ(text.substr(0, text.find("-classdir")),
              "-title='My Docs' -company=Demo.1  -header=header.html -footer=- "
              "-suppress-syntax-color -syntax-color-comment='#12AB34' "
              "-source-code-tab-size=8 ")
        << text;
}

TEST(CommandLineGeneratorTest, QuotesEveryWordForTheShell) {
    EXPECT_EQ(shellWord("plain-word_1.2,/x:y=z@%+"), "plain-word_1.2,/x:y=z@%+");
    EXPECT_EQ(shellWord(""), "''");
    EXPECT_EQ(shellWord("a b"), "'a b'");
    EXPECT_EQ(shellWord("it's"), "'it'\\''s'");
    EXPECT_EQ(shellWord("#x"), "'#x'");
    EXPECT_EQ(escapeOptionValue("say \"hi\"\r\nbye"), "say \\\"hi\\\"\\r\\nbye");

    // Module options in key order with blanks quoted; defines as -D words;
    // a list entry that looks like an option gets "./" in front; a
    // commented-out entry stays one quoted word.
    DefaultDialog d;
    giveModuleOptions(d.dialog, {{"z-key", "x y"}, {"a-key", "plain"}});
    d.dialog.defines = PreprocessorDefines("WIN32\r\nNAME=a b\r\n");
    d.dialog.projectList = "-odd\r\n\"#old code\"\r\n";
    d.dialog.outputFile = "-out.html";
    std::string text = generateCommandOptions(d.dialog);
    EXPECT_NE(text.find(" -DWIN32 -DNAME='a b' -a-key=plain -z-key='x y' ./-odd '#old code' ./-out.html"),
              std::string::npos)
        << text;

    // A list with a quote left open cannot be written.
    d.dialog.projectList = "\"open";
    EXPECT_NE(testing_support::errorOf([&] { generateCommandOptions(d.dialog); }), "(no error)");
}

TEST(CommandLineGeneratorTest, WritesOnlyTheSelectedModulesOptions) {
    // Options given to a module that takes them, then a module without
    // options selected: its command line names none of them, so a run of it
    // warns about no unknown option. Back on the first module they return.
    DefaultDialog d;
    d.dialog.projectList = "src\r\n";
    d.dialog.outputFile = "out.html";
    giveModuleOptions(d.dialog, {{"index-file-base", "docs"}, {"show-timestamp", "true"}});
    DocModule* withOptions = d.dialog.currentModule;
    d.dialog.loadedModules["vantry-recording-partial"] =
        d.dialog.loadModule(testing_support::testModulePath("vantry-recording-partial"));
    d.dialog.moduleName = "vantry-recording-partial";
    EXPECT_EQ(generateCommandOptions(d.dialog),
              "-classdir=projects -module=vantry-recording-partial "
              "-extensions=c,cc,cpp,cs,cxx,h,hpp,hxx,java "
              "-languages=c=cpp,cc=cpp,cpp=cpp,cs=csharp,cxx=cpp,h=cpp,hpp=cpp,hxx=cpp,java=java "
              "src out.html");

    d.dialog.currentModule = withOptions;
    d.dialog.moduleName = "vantry-recording";
    std::string text = generateCommandOptions(d.dialog);
    EXPECT_NE(text.find(" -index-file-base=docs -show-timestamp=true src out.html"), std::string::npos)
        << text;
}

// What the reader makes of a dialog, in one comparable form.
std::map<std::string, std::string> settingsOf(const CVantryDlg& d) {
    std::map<std::string, std::string> s;
    auto row = [&](const char* name, int method, const std::string& text) {
        s[name] = method == MethodCustom ? "custom:" + text : std::to_string(method);
    };
    s["title"] = d.title;
    s["company"] = d.company;
    row("header", d.headerMethod, d.headerText);
    row("footer", d.footerMethod, d.footerText);
    row("item", d.itemMethod, d.itemText);
    row("source", d.sourceMethod, d.sourceText);
    s["flags"] = std::to_string(d.hierarchical) + std::to_string(d.insertLineBreaks) +
                 std::to_string(d.includeConst) + std::to_string(d.syntaxColoring) +
                 std::to_string(d.namespacesGlobal) + std::to_string(d.mixCppCsharp) +
                 std::to_string(d.includeAnonymous) + std::to_string(d.documentPreprocessor) +
                 std::to_string(d.disableTooltips);
    const SyntaxColorSettings& c = d.syntaxColors;
    s["colors"] = c.comment + "|" + c.keyword + "|" + c.userKeyword + "|" + c.string + "|" +
                  c.number + "|" + c.op + "|" + c.separator;
    s["userKeywords"] = d.userKeywordsText();
    s["tabSize"] = std::to_string(d.tabSize);
    s["additionalHeader"] = d.additionalHeader;
    s["commentFormat"] = d.commentFormatText();
    s["classdir"] = d.classesDirectory;
    s["module"] = d.moduleName;
    s["defines"] = d.defines.toText();
    // The generator writes the current values; the reader keeps them for
    // the next module loaded.
    std::map<std::string, std::string> options = d.moduleOptions;
    for (const auto& [key, value] : d.currentModuleOptions()) options[key] = value;
    for (const auto& [key, value] : options) s["option " + key] = value;
    std::string inputs;
    for (const std::string& entry : splitFileList(d.projectList)) inputs += "[" + entry + "]";
    s["inputs"] = inputs;
    s["output"] = d.outputFile;
    s["extensions"] = d.fileExtensionsText();
    s["languages"] = d.languageMapText();
    return s;
}

class RoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder = scratch / "recorder";
        scratch.write("recorder", "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + scratch / "args" + "'\n");
        scratch.write("src/a.h", "class A {};\n");
        ::chmod(recorder.c_str(), 0755);
    }

    // The arguments that the saved script hands to the program.
    std::vector<std::string> runThroughShell(const CVantryDlg& source) {
        platform::MemorySettingsStore store;
        CmdLineDialog commandLine(recorder, scratch / "vantry_cmd", generateCommandOptions(source), store);
        commandLine.Create();
        backend.files.push_back(scratch / "job.sh");
        commandLine.UserClick(IDC_CMD_SAVE);
        ::unlink((scratch / "args").c_str());
        int status = std::system(("/bin/sh '" + scratch / "job.sh" + "'").c_str());
        EXPECT_EQ(status, 0);
        std::string recorded = testing_support::readWholeFile(scratch / "args");
        std::vector<std::string> arguments;
        std::size_t start = 0;
        while (start < recorded.size()) {
            std::size_t end = recorded.find('\0', start);
            arguments.push_back(recorded.substr(start, end - start));
            start = end + 1;
        }
        return arguments;
    }

    void expectRoundTrip(const std::function<void(CVantryDlg&)>& change) {
        DefaultDialog source;
        source.dialog.projectList = "\"" + scratch / "src" + "\"\r\n";
        source.dialog.outputFile = scratch / "site/index.html";
        change(source.dialog);
        std::vector<std::string> arguments = runThroughShell(source.dialog);

        platform::MemorySettingsStore store;
        CVantryDlg parsed(store);
        ASSERT_TRUE(parseCommandLine(parsed, VelkCmdLine(arguments)));
        EXPECT_EQ(settingsOf(parsed), settingsOf(source.dialog));
    }

    testing_support::ScratchDirectory scratch;
    testing_support::ScriptedBackend backend;
    testing_support::BackendInUse inUse{backend};
    std::string recorder;
};

TEST_F(RoundTripTest, DefaultsAndAwkwardTexts) {
    expectRoundTrip([](CVantryDlg&) {});
    expectRoundTrip([](CVantryDlg& d) {
        d.title = "My \"Docs\" for $HOME `date` it's a\\\"b \\ * #1";
        d.company = "#hash; & | <x> ~user";
        d.additionalHeader = "<meta name=\"x\">\r\n<link rel='y'>\n$PATH";
    });
}

TEST_F(RoundTripTest, RowsFlagsAndNumbers) {
    scratch.write("my  header.html", "<b>Header</b>\n");
    expectRoundTrip([this](CVantryDlg& d) {
        d.headerMethod = MethodCustom;
        d.headerText = scratch / "my  header.html";
        d.footerMethod = MethodCustom;
        d.footerText = "<p class=\"f\">$X</p>";
        d.itemMethod = MethodNone;
        d.sourceMethod = MethodCustom;
        d.sourceText = "../src dir";
        d.tabSize = 8;
        d.hierarchical = 1;
        d.insertLineBreaks = 1;
        d.includeConst = true;
        d.namespacesGlobal = true;
        d.mixCppCsharp = true;
        d.includeAnonymous = true;
        d.documentPreprocessor = true;
        d.disableTooltips = true;
    });
    expectRoundTrip([](CVantryDlg& d) {
        d.headerMethod = MethodNone;
        d.syntaxColoring = false;
        d.classesDirectory = "detail pages";
        d.commentFormat.parse("/*!;*;*/;///;///;///");
        d.setFileExtensions("cpp,h,java");
        d.setLanguageMap("cpp=c++,h=c++,java=java");
    });
}

TEST_F(RoundTripTest, ColoursOptionsDefinesAndInputs) {
    scratch.write("src dir/lib/l.h", "class L {};\n");
    scratch.write("it's/i.h", "class I {};\n");
    expectRoundTrip([this](CVantryDlg& d) {
        d.syntaxColors = SyntaxColorSettings{"#12AB34", "navy", "Red", "#ffffff", "teal",
                                             "#000001", "silver", {"alpha", "beta"}};
        d.moduleName = "vantry-recording";
        giveModuleOptions(d, {{"index-file-base", "my index"}, {"overview-html", "a\"b $c.html"}});
        d.defines = PreprocessorDefines(
            "WIN32\r\nVERSION=2\r\nGREETING=\"hi there\"\r\nMAX(a,b)=((a)>(b)?(a):(b))\r\n");
        d.projectList = "\"" + scratch / "src dir/lib" + "=My Lib\"\r\n#old/code\r\n\"" + scratch / "it's" +
                        "\"\r\n";
        d.outputFile = d.outputFile + " $x";
    });
}

}  // namespace
