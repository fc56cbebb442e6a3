#include "ui/CommandLineOptions.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <vector>

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkString.h"
#include "platform/TerminalText.h"
#include "platform/gui/Backend.h"
#include "run/ColorText.h"
#include "run/DocModule.h"
#include "run/InputWalk.h"
#include "run/SourceListingSettings.h"
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

// An extension list that no file name can end in documents nothing.
void setExtensions(D& d, const V& o) {
    std::string refusal = VantryBase::unusableExtensionsText(o.value);
    if (!refusal.empty()) throw CommandLineError("-" + terminalText(o.flag.substr(0, o.flag.find('='))) + ": " + refusal);
    d.setFileExtensions(o.value);
}

// A word for a language that is none reads as C++, as it always did, but
// is named: a misspelt C# or Java would otherwise lose its classes unseen.
void setLanguages(D& d, const V& o) {
    d.setLanguageMap(o.value);
    if (std::string warning = VantryBase::unknownLanguagesText(o.value); !warning.empty())
        gui::messageBox("-languages: " + warning, "Vantry", gui::Buttons::Ok, gui::Icon::Warning);
}

void addDefine(D& d, const V& o) {
    std::string name = o.flag.substr(1, o.flag.find('=') == std::string::npos
                                            ? std::string::npos
                                            : o.flag.find('=') - 1);
    d.defines.addDefinition(name, o.value);
}

// A decimal number, sign allowed; anything else is refused, naming the option.
int wholeNumber(const V& o) {
    const char* text = o.value.c_str();
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(text, &end, 10);
    if (o.value.empty() || *end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        throw CommandLineError("-" + terminalText(o.flag) + ": the value must be a whole number");
    return static_cast<int>(number);
}

// A tab size the Other Options dialog would take too.
int tabSizeValue(const V& o) {
    const int size = wholeNumber(o);
    if (size < kTabSizeSettingMin || size > kTabSizeSettingMax)
        throw CommandLineError("-" + terminalText(o.flag) + ": the value must be a whole number from " +
                               std::to_string(kTabSizeSettingMin) + " to " +
                               std::to_string(kTabSizeSettingMax));
    return size;
}

// A colour text; anything else would land inside a colour attribute of
// the listings, so it is refused, naming the option.
std::string colorValue(const V& o) {
    if (!isColorText(o.value)) throw CommandLineError("-" + terminalText(o.flag) + ": the value must be " + colorRule());
    return o.value;
}

#define SET(expression) [](D & d, const V& o) { (void)o; expression; return true; }

const CommandLineOption options[] = {
    {"title", A::Text, SET(d.title = o.value),
     "=TEXT", "documentation title"},
    {"company", A::Text, SET(d.company = o.value),
     "=TEXT", "company name on the pages"},
    {"header", A::Text, SET(setChoice(d.headerMethod, d.headerText, o.value)),
     "=HTML|FILE", "custom page header; \"\" or \"-\": none"},
    {"footer", A::Text, SET(setChoice(d.footerMethod, d.footerText, o.value)),
     "=HTML|FILE", "custom page footer; \"\" or \"-\": none"},
    {"item", A::Text, SET(setChoice(d.itemMethod, d.itemText, o.value)),
     "=HTML|FILE", "custom item template of the index frame; \"-\": none"},
    {"sourcedir", A::Text, SET(setChoice(d.sourceMethod, d.sourceText, o.value)),
     "=DIR|URL", "link sources there, no listings; \"-\": no source links"},
    {"hier", A::Flag, SET(d.hierarchical = 1),
     "", "class list of the index frame indented by hierarchy"},
    {"insertbr", A::Flag, SET(d.insertLineBreaks = 1),
     "", "a line break at the end of every documentation line"},
    {"include-const", A::Flag, SET(d.includeConst = true),
     "", "document the constants of files and namespaces"},
    {"includeconst", A::Flag, SET(d.includeConst = true),
     "", "same as -include-const"},
    {"suppress-syntax-color", A::Flag, SET(d.syntaxColoring = false),
     "", "source listings without syntax colours"},
    {"syntax-color-comment", A::Text, SET(d.syntaxColors.comment = colorValue(o)),
     "=COLOUR", "colour of comments in listings"},
    {"syntax-color-keyword", A::Text, SET(d.syntaxColors.keyword = colorValue(o)),
     "=COLOUR", "colour of keywords in listings"},
    {"syntax-color-user-keyword", A::Text, SET(d.syntaxColors.userKeyword = colorValue(o)),
     "=COLOUR", "colour of user keywords in listings"},
    {"syntax-color-string", A::Text, SET(d.syntaxColors.string = colorValue(o)),
     "=COLOUR", "colour of string and character literals in listings"},
    {"syntax-color-number", A::Text, SET(d.syntaxColors.number = colorValue(o)),
     "=COLOUR", "colour of numbers in listings"},
    {"syntax-color-operator", A::Text, SET(d.syntaxColors.op = colorValue(o)),
     "=COLOUR", "colour of operators in listings"},
    {"syntax-color-paren", A::Text, SET(d.syntaxColors.separator = colorValue(o)),
     "=COLOUR", "colour of brackets and separators in listings"},
    {"user-keywords", A::Text, SET(setUserKeywords(d, o.value)),
     "=WORD,...", "the user keywords of the listings"},
    {"namespaces-global", A::Flag, SET(d.namespacesGlobal = true),
     "", "contents of C++ namespaces documented as globals"},
    {"source-code-tab-size", A::Text, SET(d.tabSize = tabSizeValue(o)),
     "=NUMBER", "tab size of the listings (default 4)"},
    {"mix-cpp-csharp", A::Flag, SET(d.mixCppCsharp = true),
     "", "C++ documented compatibly with C#"},
    {"include-anonymous", A::Flag, SET(d.includeAnonymous = true),
     "", "document anonymous enums and unions"},
    {"document-preprocessor", A::Flag, SET(d.documentPreprocessor = true),
     "", "document #define macros"},
    {"disable-tooltips", A::Flag, SET(d.disableTooltips = true),
     "", "no tooltips in the dialogs"},
    {"additional-header", A::Text, SET(d.additionalHeader = o.value),
     "=HTML", "text placed in the head element of every page"},
    {"accept3slash", A::Flag, SET(d.commentFormat.setSecondary("///", "///", "///")),
     "", "also read /// comments (C# documentation comments)"},
    {"comment-format", A::Text, SET(d.commentFormat.parse(o.value)),
     "=FORMAT", "the documentation-comment format"},
    {"classdir", A::Text, SET(d.classesDirectory = o.value),
     "=DIR", "folder of the detail pages (default projects)"},
    {"autorun", A::Flag, SET(d.autoRun = true),
     "", "start the run at once (needed without a display)"},
    {"autoquit", A::Flag, SET(d.autoQuit = true),
     "", "end the program after the run"},
    {"autoview", A::Flag, SET(d.autoView = true),
     "", "open the index file after the run (needs a display)"},
    {"ver", A::Flag,
     [](D&, const V&) {
         gui::messageBox(versionMessage(), "Vantry", gui::Buttons::Ok, gui::Icon::Information);
         return false;
     },
     "", "show the version and end"},
    {"overwrite", A::Flag, SET(d.overwriteOutput = true),
     "", "overwrite an existing output without asking"},
    {"module", A::Text, SET(d.moduleName = o.value),
     "=NAME", "output module (default vantry-standard)"},
    {"moduledir", A::Text, SET(d.moduleDirectory = o.value),
     "=DIR", "folder of the modules (default: modules/ beside it)"},
    {"d", A::Prefix, SET(addDefine(d, o)),
     "NAME[=VALUE]", "preprocessor define (any key beginning with d)"},
    {"extensions", A::Text, SET(setExtensions(d, o)),
     "=EXT,...", "accepted file extensions"},
    {"languages", A::Text, SET(setLanguages(d, o)),
     "=EXT=LANG,...", "language of each extension: cpp, csharp or java"},
    {"nodocument-marker", A::Text, SET(d.noDocumentMarker = o.value),
     "=TEXT", "marker that excludes a file from the documentation"},
    {"onlydocument-marker", A::Text, SET(d.onlyDocumentMarker = o.value),
     "=TEXT", "marker without which a file is not documented"},
    {"", A::AnyKey, SET(d.moduleOptions[o.key] = o.value),
     "KEY[=VALUE]", "an option of the output module (any other key)"},
};

#undef SET

bool matches(const CommandLineOption& row, const std::string& key) {
    switch (row.argument) {
        case A::Prefix: return key.rfind(row.key, 0) == 0;
        case A::AnyKey: return true;
        default: return key == row.key;
    }
}

// Keys that ask for the usage text instead of a run.
const char* const helpKeys[] = {"h", "help", "-help", "?"};

bool isHelpKey(const std::string& key) {
    for (const char* help : helpKeys)
        if (key == help) return true;
    return false;
}

// One line of the usage text: the form in a column, what it does beside it.
// A form too wide for its column stands on a line of its own, with what it
// does on the next, so that the program's lines fit 80 columns.
std::string usageLine(const std::string& form, const std::string& summary) {
    const std::size_t width = 24;
    if (form.size() + 2 > width) return "  " + form + "\n" + std::string(width + 2, ' ') + summary + "\n";
    return "  " + form + std::string(width - form.size(), ' ') + summary + "\n";
}

// A refusal of one of the rules that every source of a value shares.
void refuse(const std::string& refusal) {
    if (!refusal.empty()) throw CommandLineError(refusal);
}


bool fileExistsAt(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}


// A header, footer or item template that names a file (no HTML in the
// value) is read whole into every page: a file that is missing, a FIFO
// that would never answer or a device that would never end is found now,
// not once every source is parsed.
void refuseUnusablePageText(const char* option, int method, const std::string& value) {
    if (method != MethodCustom) return;
    const std::string refusal = pageTextRefusal(value);
    if (!refusal.empty()) throw CommandLineError("-" + std::string(option) + ": " + refusal);
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The output file is written as the index page: it must be a regular file
// (or nothing yet), no page that the standard module writes beside it, and
// none of the files that the run documents.
void refuseUnusableOutput(const CVantryDlg& dialog, const std::vector<std::string>& inputs) {
    const std::string& output = dialog.outputFile;
    struct stat info;
    const bool exists = ::stat(output.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        throw CommandLineError("The output file \"" + terminalText(output) +
                               "\" is not a regular file; name the index file to write.");
    const std::string module = dialog.moduleName.empty() ? "vantry-standard" : dialog.moduleName;
    // The standard module names its frame pages after the index file
    // ("index-allclasses-frame.html" the longest).
    const bool framePages = module == "vantry-standard";
    const std::string outputName = fileNameOf(output);
    if (framePages ? makesTooLongAName(outputName.substr(0, outputName.rfind('.')),
                                       std::string_view("-allclasses-frame.html").size())
                   : makesTooLongAName(outputName, 0))
        throw CommandLineError("The output file \"" + output +
                               "\" makes a file name longer than the file system takes; name a "
                               "shorter index file.");
    if (module == "vantry-standard") {
        auto option = [&](const char* key) -> const std::string* {
            auto found = dialog.moduleOptions.find(key);
            return found == dialog.moduleOptions.end() ? nullptr : &found->second;
        };
        const std::string* base = option("index-file-base");
        const std::string* separate = option("separate-index-pages");
        const bool onePage =
            separate == nullptr || !(separate->empty() || lowerAscii(*separate) == "true");
        if (onePage && fileNameOf(output) == (base ? *base : "index") + "-all.html")
            throw CommandLineError("The output file \"" + terminalText(output) +
                                   "\" has the name of the site's master index page; name the "
                                   "index file otherwise.");
    }
    if (outputIsAnInput(output, inputs,
                        dialog.extensions.empty() ? VantryBase::defaultFileExtensions()
                                                  : dialog.extensions))
        throw CommandLineError("The output file \"" + terminalText(output) +
                               "\" is one of the source files to document; name another "
                               "index file.");
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

CommandLineResult applyCommandLineOptions(CVantryDlg& dialog, const VelkCmdLine& commandLine) {
    if (commandLine.flagCount > 0 || commandLine.paramCount > 0) dialog.commandLineSettings = true;
    // With a help flag only the choice of module applies, so that the usage
    // can name that module's options; nothing else can fail or end the start.
    bool help = false;
    for (int i = 0; i < commandLine.flagCount; ++i)
        help = help || isHelpKey(readOption(commandLine.getFlag(i)).key);
    for (int i = 0; i < commandLine.flagCount; ++i) {
        OptionValue option = readOption(commandLine.getFlag(i));
        if (help && option.key != "module" && option.key != "moduledir") continue;
        for (const CommandLineOption& row : options) {
            if (!matches(row, option.key)) continue;
            if (!row.apply(dialog, option))
                return CommandLineResult::Version;
            break;
        }
    }
    if (help) return CommandLineResult::Usage;
    if (dialog.classesDirectory.empty()) dialog.classesDirectory = "projects";
    refuse(siteFolderRefusal("-classdir", dialog.classesDirectory));
    if (auto base = dialog.moduleOptions.find("index-file-base"); base != dialog.moduleOptions.end())
        refuse(pageBaseRefusal("-index-file-base", base->second));
    refuseUnusablePageText("header", dialog.headerMethod, dialog.headerText);
    refuseUnusablePageText("footer", dialog.footerMethod, dialog.footerText);
    refuseUnusablePageText("item", dialog.itemMethod, dialog.itemText);
    return CommandLineResult::Go;
}

CommandLineResult applyCommandLineArguments(CVantryDlg& dialog, const VelkCmdLine& commandLine) {
    int count = commandLine.paramCount;
    if (count == 0) return CommandLineResult::Go;
    int projects = count - 1;
    dialog.outputFile = commandLine.getParam(count - 1);
    if (count == 1) {
        dialog.outputFile = "index.html";
        projects = 1;
    }
    if (directoryExists(dialog.outputFile))
        throw CommandLineError("The output file \"" + terminalText(dialog.outputFile) +
                               "\" is a directory; name the index file to write.");
    std::vector<std::string> inputs;
    for (int i = 0; i < projects; ++i) inputs.push_back(commandLine.getParam(i));
    if (std::string missing = missingInput(inputs); !missing.empty())
        throw CommandLineError("The input \"" + terminalText(missing) +
                               "\" does not exist; name a file or folder to document.");
    refuseUnusableOutput(dialog, inputs);
    // The default index.html is asked about too: it lands in the current
    // directory, where a site written over something else would be a surprise.
    if (fileExistsAt(dialog.outputFile) && !dialog.overwriteOutput) {
        if (gui::messageBox("Overwrite " + terminalText(dialog.outputFile) + "?", "Vantry", gui::Buttons::YesNo,
                            gui::Icon::Question) != gui::Answer::Yes) {
            gui::messageBox("Cancelled.", "Vantry", gui::Buttons::Ok, gui::Icon::Information);
            return CommandLineResult::Declined;
        }
    }
    for (int i = 0; i < projects; ++i)
        dialog.projectList.append(quoteListEntry(commandLine.getParam(i))).append("\r\n");
    return CommandLineResult::Go;
}

CommandLineResult parseCommandLineOptions(CVantryDlg& dialog, const VelkCmdLine& commandLine) {
    CommandLineResult result = applyCommandLineOptions(dialog, commandLine);
    return result == CommandLineResult::Go ? applyCommandLineArguments(dialog, commandLine) : result;
}

bool parseCommandLine(CVantryDlg& dialog, const VelkCmdLine& commandLine) {
    return parseCommandLineOptions(dialog, commandLine) == CommandLineResult::Go;
}

std::string versionMessage() {
    VelkString version = programVersionText();
    version.replaceAll(",", ".");
    return "Vantry version " + version + "   ";
}

std::string usageText(const std::string& moduleSection) {
    auto form = [](const CommandLineOption& row) { return std::string("-") + row.key + row.valueForm; };
    std::string help;
    for (const char* key : helpKeys) help += std::string(help.empty() ? "-" : ", -") + key;
    auto line = usageLine;

    std::string text =
        "Usage: vantry [options] [input]\n"
        "       vantry [options] input... output.html\n"
        "\n"
        "Documents C++, Java and C# sources as a linked HTML site. With a display the\n"
        "options fill the dialog; without one, -autorun runs the job unattended.\n"
        "\n"
        "Arguments:\n";
    text += line("input", "a source file or folder to document;");
    text += line("", "\"folder=Name\" names its project");
    text += line("output.html", "the index file to write: the last argument of two or");
    text += line("", "more; with one input, index.html in this directory");
    text += "\nOptions (-key or -key=value; keys in any letter case):\n";
    text += line(help, "show this summary and end");
    for (const CommandLineOption& row : options) text += line(form(row), row.summary);
    text += moduleSection;
    text +=
        "\nExit status: 0 after \"Done.\"; 1 after \"Done (error).\", module errors or a failed\n"
        "run; 2 for a command line that cannot run; 3 after \"Cancelled.\".\n";
    return text;
}

std::string moduleUsageText(const std::string& moduleName, const std::string& optionText) {
    std::vector<std::vector<std::string>> groups = DocModule::splitOptionText(optionText);
    if (groups.empty()) return "";
    std::string text = "\nOptions of the output module " + moduleName + ":\n";
    for (const std::vector<std::string>& group : groups) {
        const std::string& kind = group[2];
        std::string form = "-" + group[0] + (kind == "checkbox" ? "[=true|false]"
                                             : kind == "color"  ? "=COLOUR"
                                                                : "=TEXT");
        std::string summary = group[1];
        if (!summary.empty() && summary.back() == ':') summary.pop_back();
        if (!group[4].empty()) summary += " (default " + group[4] + ")";
        text += usageLine(form, summary);
    }
    return text;
}
