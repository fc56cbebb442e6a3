#include "run/CommandLine.h"

#include <cctype>
#include <cstdlib>
#include <climits>

#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkTokenizer.h"

namespace {

struct Target {
    CommandLineSettings& settings;
    VantryBase& base;
    CommandLineUser& user;
    bool endProgram = false;
};

// One row of the option table: the key (or, for the define row, the
// one-letter prefix) and what it does with the value. `flag` is the whole
// flag as typed, for the define row, which keeps the name's case.
struct OptionRow {
    const char* key;
    bool prefix;
    void (*apply)(Target& t, const std::string& value, const std::string& flag);
};

void choose(TextChoice& row, const std::string& value) {
    if (value.empty() || value == "-") {
        row.method = TextChoice::None;
    } else {
        row.method = TextChoice::Custom;
        row.text = value;
    }
}

// A decimal number as atoi reads it: leading digits, 0 when there are none.
int decimal(const std::string& value) {
    const char* text = value.c_str();
    char* end = nullptr;
    long number = std::strtol(text, &end, 10);
    if (end == text) return 0;
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

std::set<std::string> wordList(const std::string& value) {
    std::set<std::string> words;
    VelkTokenizer tokenizer(value, ",");
    while (tokenizer.hasMoreTokens()) {
        std::string word = tokenizer.nextToken('\0', '\0');
        if (!word.empty()) words.insert(word);
    }
    return words;
}

std::string versionMessage() {
    std::string text = "Vantry version " + programVersionText();
    for (char& c : text)
        if (c == ',') c = '.';
    return text + "   ";
}

#define SET(expression) [](Target& t, const std::string& v, const std::string&) { \
    (void)v;                                                                      \
    expression;                                                                   \
}

// The options in matching order.
const OptionRow optionTable[] = {
    {"title", false, SET(t.settings.title = v)},
    {"company", false, SET(t.settings.company = v)},
    {"header", false, SET(choose(t.settings.header, v))},
    {"footer", false, SET(choose(t.settings.footer, v))},
    {"item", false, SET(choose(t.settings.item, v))},
    {"sourcedir", false, SET(choose(t.settings.sourceCode, v))},
    {"hier", false, SET(t.settings.hierarchicalIndex = true)},
    {"insertbr", false, SET(t.settings.insertLineBreaks = true)},
    {"include-const", false, SET(t.settings.includeConst = true)},
    {"includeconst", false, SET(t.settings.includeConst = true)},
    {"suppress-syntax-color", false, SET(t.settings.syntaxColor = false)},
    {"syntax-color-comment", false, SET(t.settings.colors.comment = v)},
    {"syntax-color-keyword", false, SET(t.settings.colors.keyword = v)},
    {"syntax-color-user-keyword", false, SET(t.settings.colors.userKeyword = v)},
    {"syntax-color-string", false, SET(t.settings.colors.string = v)},
    {"syntax-color-number", false, SET(t.settings.colors.number = v)},
    {"syntax-color-operator", false, SET(t.settings.colors.op = v)},
    {"syntax-color-paren", false, SET(t.settings.colors.separator = v)},
    {"user-keywords", false, SET(t.settings.colors.userKeywords = wordList(v))},
    {"namespaces-global", false, SET(t.settings.namespacesGlobal = true)},
    {"source-code-tab-size", false, SET(t.settings.tabSize = decimal(v))},
    {"mix-cpp-csharp", false, SET(t.settings.mixCppCsharp = true)},
    {"include-anonymous", false, SET(t.settings.includeAnonymous = true)},
    {"document-preprocessor", false, SET(t.settings.documentPreprocessor = true)},
    {"disable-tooltips", false, SET(t.settings.disableTooltips = true)},
    {"additional-header", false, SET(t.settings.additionalHeader = v)},
    {"accept3slash", false, SET(t.base.commentFormat.setSecondary("///", "///", "///"))},
    {"comment-format", false, SET(t.base.commentFormat.parse(v))},
    {"classdir", false, SET(t.settings.detailDirectory = v)},
    {"autorun", false, SET(t.settings.autoRun = true)},
    {"autoquit", false, SET(t.settings.autoQuit = true)},
    {"autoview", false, SET(t.settings.autoView = true)},
    {"ver", false, SET(t.user.inform(versionMessage()); t.endProgram = true)},
    {"overwrite", false, SET(t.settings.overwrite = true)},
    {"module", false, SET(t.settings.moduleName = v)},
    {"moduledir", false, SET(t.base.moduleDirectory = v)},
    {"d", true,
     [](Target& t, const std::string& v, const std::string& flag) {
         std::string name = flag.substr(1, flag.find('=') - 1);
         if (!name.empty()) t.base.defines.addDefinition(name, v);
     }},
    {"extensions", false, SET(t.base.setFileExtensions(v))},
    {"languages", false, SET(t.base.setLanguageMap(v))},
    {"nodocument-marker", false, SET(t.base.noDocumentMarker = v)},
    {"onlydocument-marker", false, SET(t.base.onlyDocumentMarker = v)},
};

#undef SET

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string unescapeOptionValue(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value.compare(i, 2, "\\\"") == 0) {
            out += '"';
            i += 1;
        } else if (value.compare(i, 4, "\\r\\n") == 0) {
            out += "\r\n";
            i += 3;
        } else {
            out += value[i];
        }
    }
    return out;
}

bool parseCommandLine(CommandLineSettings& settings, VantryBase& base,
                      const VelkCmdLine& commandLine, CommandLineUser& user) {
    Target target{settings, base, user};
    if (commandLine.flagCount > 0 || commandLine.paramCount > 0) settings.commandLineGiven = true;

    for (int i = 0; i < commandLine.flagCount; ++i) {
        std::string flag = commandLine.getFlag(i);
        std::string::size_type equals = flag.find('=');
        std::string key = lowerCase(flag.substr(0, equals));
        std::string value =
            equals == std::string::npos ? "" : unescapeOptionValue(flag.substr(equals + 1));
        const OptionRow* match = nullptr;
        for (const OptionRow& row : optionTable) {
            if (row.prefix ? key.compare(0, 1, row.key) == 0 : key == row.key) {
                match = &row;
                break;
            }
        }
        if (match == nullptr) {
            base.moduleOptions[key] = value;
            continue;
        }
        match->apply(target, value, flag);
        if (target.endProgram) return false;
    }

    if (settings.detailDirectory.empty()) settings.detailDirectory = "projects";

    int count = commandLine.paramCount;
    if (count == 0) return true;
    std::vector<std::string> projects;
    if (count == 1) {
        settings.outputFile = "index.html";
        projects.push_back(commandLine.getParam(0));
    } else {
        settings.outputFile = commandLine.getParam(count - 1);
        for (int i = 0; i < count - 1; ++i) projects.push_back(commandLine.getParam(i));
        if (fileExists(settings.outputFile) && !settings.overwrite &&
            !user.askYesNo("Overwrite " + settings.outputFile + "?")) {
            user.inform("Cancelled.");
            return false;
        }
    }
    for (const std::string& project : projects) settings.fileList += "\"" + project + "\"\r\n";
    return true;
}
