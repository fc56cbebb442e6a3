#include "ui/CommandLineGenerator.h"

#include <cstring>

#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkString.h"
#include "run/InputWalk.h"
#include "ui/CVantryDlg.h"

namespace {

using D = CVantryDlg;

enum class Form {
    Switch,  // "-name " when the value is not empty
    Valued,  // "-name=value " when the value is not empty and not the default
    Choice,  // a Default/None/Custom row
};

struct GeneratedOption {
    const char* name;
    Form form;
    // Switch: "1" when set, "" otherwise. Valued: the value. Choice: the
    // row's text.
    std::string (*value)(const D&);
    const char* defaultValue;       // Valued only
    int (*method)(const D&);        // Choice only
};

std::string flag(bool on) { return on ? "1" : ""; }

#define VALUE(expression) [](const D& d) -> std::string { return expression; }
#define METHOD(field) [](const D& d) { return d.field; }

// In the order they are written.
const GeneratedOption generatedOptions[] = {
    {"title", Form::Valued, VALUE(d.title), "", nullptr},
    {"company", Form::Valued, VALUE(d.company), "", nullptr},
    {"header", Form::Choice, VALUE(d.headerText), "", METHOD(headerMethod)},
    {"footer", Form::Choice, VALUE(d.footerText), "", METHOD(footerMethod)},
    {"item", Form::Choice, VALUE(d.itemText), "", METHOD(itemMethod)},
    {"sourcedir", Form::Choice, VALUE(d.sourceText), "", METHOD(sourceMethod)},
    {"hier", Form::Switch, VALUE(flag(d.hierarchical != 0)), "", nullptr},
    {"insertbr", Form::Switch, VALUE(flag(d.insertLineBreaks != 0)), "", nullptr},
    {"include-const", Form::Switch, VALUE(flag(d.includeConst)), "", nullptr},
    {"suppress-syntax-color", Form::Switch, VALUE(flag(!d.syntaxColoring)), "", nullptr},
    {"syntax-color-comment", Form::Valued, VALUE(d.syntaxColors.comment), "green", nullptr},
    {"syntax-color-keyword", Form::Valued, VALUE(d.syntaxColors.keyword), "blue", nullptr},
    {"syntax-color-user-keyword", Form::Valued, VALUE(d.syntaxColors.userKeyword), "purple", nullptr},
    {"syntax-color-string", Form::Valued, VALUE(d.syntaxColors.string), "maroon", nullptr},
    {"syntax-color-number", Form::Valued, VALUE(d.syntaxColors.number), "maroon", nullptr},
    {"syntax-color-operator", Form::Valued, VALUE(d.syntaxColors.op), "black", nullptr},
    {"syntax-color-paren", Form::Valued, VALUE(d.syntaxColors.separator), "black", nullptr},
    {"user-keywords", Form::Valued, VALUE(d.userKeywordsText()), "", nullptr},
    {"namespaces-global", Form::Switch, VALUE(flag(d.namespacesGlobal)), "", nullptr},
    {"source-code-tab-size", Form::Valued, VALUE(std::to_string(d.tabSize)), "4", nullptr},
    {"mix-cpp-csharp", Form::Switch, VALUE(flag(d.mixCppCsharp)), "", nullptr},
    {"include-anonymous", Form::Switch, VALUE(flag(d.includeAnonymous)), "", nullptr},
    {"document-preprocessor", Form::Switch, VALUE(flag(d.documentPreprocessor)), "", nullptr},
    {"disable-tooltips", Form::Switch, VALUE(flag(d.disableTooltips)), "", nullptr},
    {"additional-header", Form::Valued, VALUE(d.additionalHeader), "", nullptr},
    {"comment-format", Form::Valued, VALUE(d.commentFormatText()), "", nullptr},
    {"classdir", Form::Valued, VALUE(d.classesDirectory), "", nullptr},
    {"module", Form::Valued, VALUE(d.moduleName), "", nullptr},
    {"extensions", Form::Valued, VALUE(d.fileExtensionsText()), "", nullptr},
    {"languages", Form::Valued, VALUE(d.languageMapText()), "", nullptr},
};

#undef VALUE
#undef METHOD

bool isPlainCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("_.-,/+:=@%", c) != nullptr;
}

// "-name=value " with the value escaped; name and value quoted for the
// shell each (the shell joins the pieces of a word).
std::string valuedOption(const std::string& name, const std::string& value) {
    return "-" + shellWord(name) + "=" + shellWord(escapeOptionValue(value)) + " ";
}

std::string positional(const std::string& entry) {
    return shellWord(!entry.empty() && entry[0] == '-' ? "./" + entry : entry);
}

}  // namespace

std::string shellWord(const std::string& text) {
    bool plain = !text.empty();
    for (char c : text) plain = plain && isPlainCharacter(c);
    if (plain) return text;
    std::string word = "'";
    for (char c : text) {
        if (c == '\'')
            word += "'\\''";
        else
            word += c;
    }
    return word + "'";
}

std::string escapeOptionValue(const std::string& value) {
    VelkString escaped = value;
    escaped.replaceAll("\r\n", "\\r\\n");
    escaped.replaceAll("\"", "\\\"");
    return escaped;
}

std::string generateCommandOptions(const CVantryDlg& dialog) {
    std::string text;
    for (const GeneratedOption& option : generatedOptions) {
        std::string value = option.value(dialog);
        switch (option.form) {
            case Form::Switch:
                if (!value.empty()) text += "-" + std::string(option.name) + " ";
                break;
            case Form::Valued:
                if (!value.empty() && value != option.defaultValue)
                    text += valuedOption(option.name, value);
                break;
            case Form::Choice: {
                int method = option.method(dialog);
                if (method == MethodNone)
                    text += "-" + std::string(option.name) + "=- ";
                else if (method == MethodCustom)
                    text += " " + valuedOption(option.name, value);
                break;
            }
        }
    }

    // One definition at a time: a unit separator cannot occur in a
    // definition typed into the dialog.
    std::string definitions = dialog.defines.toText("=", "\x1f");
    std::size_t start = 0;
    while (start < definitions.size()) {
        std::size_t end = definitions.find('\x1f', start);
        if (end == std::string::npos) end = definitions.size();
        std::string definition = definitions.substr(start, end - start);
        std::size_t equals = definition.find('=');
        text += "-D" + shellWord(definition.substr(0, equals));
        if (equals != std::string::npos)
            text += "=" + shellWord(escapeOptionValue(definition.substr(equals + 1)));
        text += " ";
        start = end + 1;
    }

    // Only the selected module's own: another module's options would be
    // unknown options to the program.
    for (const auto& [key, value] : dialog.currentModuleOptions()) text += valuedOption(key, value);

    std::string entries;
    for (const std::string& entry : splitFileList(dialog.projectList)) entries += positional(entry) + " ";
    text += entries;
    text += positional(dialog.outputFile);
    return text;
}

std::string consoleProgramPath(const std::string& programPath) {
    std::string::size_type slash = findLastPathSeparator(programPath);
    std::string directory = slash == std::string::npos ? "" : programPath.substr(0, slash + 1);
    return directory + "vantry_cmd";
}
