#include "ui/CommandLineOptions.h"

#include <cstdlib>
#include <sys/stat.h>

#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkString.h"
#include "platform/gui/Backend.h"
#include "run/InputWalk.h"
#include "ui/CVantryDlg.h"

namespace {

using A = OptionArgument;
using D = CVantryDlg;
using V = OptionValue;

// A Default/None/Custom row set from the command line: "" or "-" choose
// None, anything else is the custom text.
void setChoice(int& method, std::string& text, const std::string& value) {
    if (value.empty() || value == "-") {
        method = MethodNone;
    } else {
        method = MethodCustom;
        text = value;
    }
}

void setUserKeywords(D& d, const std::string& list) {
    d.syntaxColors.userKeywords.clear();
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        std::string keyword = list.substr(start, comma - start);
        if (!keyword.empty()) d.syntaxColors.userKeywords.insert(keyword);
        start = comma + 1;
    }
}

void addDefine(D& d, const V& o) {
    std::string name = o.flag.substr(1, o.flag.find('=') == std::string::npos
                                            ? std::string::npos
                                            : o.flag.find('=') - 1);
    d.defines.addDefinition(name, o.value);
}

#define SET(expression) [](D & d, const V& o) { (void)o; expression; return true; }

const CommandLineOption options[] = {
    {"title", A::Text, SET(d.title = o.value)},
    {"company", A::Text, SET(d.company = o.value)},
    {"header", A::Text, SET(setChoice(d.headerMethod, d.headerText, o.value))},
    {"footer", A::Text, SET(setChoice(d.footerMethod, d.footerText, o.value))},
    {"item", A::Text, SET(setChoice(d.itemMethod, d.itemText, o.value))},
    {"sourcedir", A::Text, SET(setChoice(d.sourceMethod, d.sourceText, o.value))},
    {"hier", A::Flag, SET(d.hierarchical = 1)},
    {"insertbr", A::Flag, SET(d.insertLineBreaks = 1)},
    {"include-const", A::Flag, SET(d.includeConst = true)},
    {"includeconst", A::Flag, SET(d.includeConst = true)},
    {"suppress-syntax-color", A::Flag, SET(d.syntaxColoring = false)},
    {"syntax-color-comment", A::Text, SET(d.syntaxColors.comment = o.value)},
    {"syntax-color-keyword", A::Text, SET(d.syntaxColors.keyword = o.value)},
    {"syntax-color-user-keyword", A::Text, SET(d.syntaxColors.userKeyword = o.value)},
    {"syntax-color-string", A::Text, SET(d.syntaxColors.string = o.value)},
    {"syntax-color-number", A::Text, SET(d.syntaxColors.number = o.value)},
    {"syntax-color-operator", A::Text, SET(d.syntaxColors.op = o.value)},
    {"syntax-color-paren", A::Text, SET(d.syntaxColors.separator = o.value)},
    {"user-keywords", A::Text, SET(setUserKeywords(d, o.value))},
    {"namespaces-global", A::Flag, SET(d.namespacesGlobal = true)},
    {"source-code-tab-size", A::Text, SET(d.tabSize = std::atoi(o.value.c_str()))},
    {"mix-cpp-csharp", A::Flag, SET(d.mixCppCsharp = true)},
    {"include-anonymous", A::Flag, SET(d.includeAnonymous = true)},
    {"document-preprocessor", A::Flag, SET(d.documentPreprocessor = true)},
    {"disable-tooltips", A::Flag, SET(d.disableTooltips = true)},
    {"additional-header", A::Text, SET(d.additionalHeader = o.value)},
    {"accept3slash", A::Flag, SET(d.commentFormat.setSecondary("///", "///", "///"))},
    {"comment-format", A::Text, SET(d.commentFormat.parse(o.value))},
    {"classdir", A::Text, SET(d.classesDirectory = o.value)},
    {"autorun", A::Flag, SET(d.autoRun = true)},
    {"autoquit", A::Flag, SET(d.autoQuit = true)},
    {"autoview", A::Flag, SET(d.autoView = true)},
    {"ver", A::Flag,
     [](D&, const V&) {
         gui::messageBox(versionMessage(), "Vantry", gui::Buttons::Ok, gui::Icon::Information);
         return false;
     }},
    {"overwrite", A::Flag, SET(d.overwriteOutput = true)},
    {"module", A::Text, SET(d.moduleName = o.value)},
    {"moduledir", A::Text, SET(d.moduleDirectory = o.value)},
    {"d", A::Prefix, SET(addDefine(d, o))},
    {"extensions", A::Text, SET(d.setFileExtensions(o.value))},
    {"languages", A::Text, SET(d.setLanguageMap(o.value))},
    {"nodocument-marker", A::Text, SET(d.noDocumentMarker = o.value)},
    {"onlydocument-marker", A::Text, SET(d.onlyDocumentMarker = o.value)},
    {"", A::AnyKey, SET(d.moduleOptions[o.key] = o.value)},
};

#undef SET

bool matches(const CommandLineOption& row, const std::string& key) {
    switch (row.argument) {
        case A::Prefix: return key.rfind(row.key, 0) == 0;
        case A::AnyKey: return true;
        default: return key == row.key;
    }
}

// The detail-pages directory and the index page names lie inside the
// output directory: a value that is absolute or climbs out is refused.
void refuseLeavingOutputDirectory(const char* option, const std::string& value) {
    if (!leavesDirectory(value)) return;
    throw CommandLineRefused("The value \"" + value + "\" of -" + option +
                             " leaves the output directory; give a name inside it.");
}

bool fileExistsAt(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::span<const CommandLineOption> commandLineOptions() { return options; }

OptionValue readOption(const std::string& flag) {
    OptionValue option;
    option.flag = flag;
    std::size_t equals = flag.find('=');
    option.key = flag.substr(0, equals);
    for (char& c : option.key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (equals != std::string::npos) {
        VelkString value = flag.substr(equals + 1);
        value.replaceAll("\\\"", "\"");
        value.replaceAll("\\r\\n", "\r\n");
        option.value = value;
    }
    return option;
}

CommandLineResult parseCommandLineOptions(CVantryDlg& dialog, const VelkCmdLine& commandLine) {
    if (commandLine.flagCount > 0 || commandLine.paramCount > 0) dialog.commandLineSettings = true;
    for (int i = 0; i < commandLine.flagCount; ++i) {
        OptionValue option = readOption(commandLine.getFlag(i));
        for (const CommandLineOption& row : options) {
            if (!matches(row, option.key)) continue;
            if (!row.apply(dialog, option))
                return CommandLineResult::Version;
            break;
        }
    }
    if (dialog.classesDirectory.empty()) dialog.classesDirectory = "projects";
    refuseLeavingOutputDirectory("classdir", dialog.classesDirectory);
    if (auto base = dialog.moduleOptions.find("index-file-base"); base != dialog.moduleOptions.end())
        refuseLeavingOutputDirectory("index-file-base", base->second);

    int count = commandLine.paramCount;
    if (count == 0) return CommandLineResult::Go;
    int projects = count - 1;
    dialog.outputFile = commandLine.getParam(count - 1);
    if (count == 1) {
        dialog.outputFile = "index.html";
        projects = 1;
    } else if (directoryExists(dialog.outputFile)) {
        throw CommandLineRefused("The output file \"" + dialog.outputFile +
                                 "\" is a directory; name the index file to write.");
    } else if (fileExistsAt(dialog.outputFile) && !dialog.overwriteOutput) {
        if (gui::messageBox("Overwrite " + dialog.outputFile + "?", "Vantry", gui::Buttons::YesNo,
                            gui::Icon::Question) != gui::Answer::Yes) {
            gui::messageBox("Cancelled.", "Vantry", gui::Buttons::Ok, gui::Icon::Information);
            return CommandLineResult::Declined;
        }
    }
    for (int i = 0; i < projects; ++i)
        dialog.projectList.append(quoteListEntry(commandLine.getParam(i))).append("\r\n");
    return CommandLineResult::Go;
}

bool parseCommandLine(CVantryDlg& dialog, const VelkCmdLine& commandLine) {
    return parseCommandLineOptions(dialog, commandLine) == CommandLineResult::Go;
}

std::string versionMessage() {
    VelkString version = programVersionText();
    version.replaceAll(",", ".");
    return "Vantry version " + version + "   ";
}
