#include "modules/standard/ModuleOptions.h"

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/StandardModule.h"

namespace {

using M = StandardModule;

constexpr ModuleOption textOption(const char* key, const char* label, const char* def,
                                  std::string& (*text)(M&)) {
    return {key, label, OptionKind::Text, def, text, nullptr};
}
constexpr ModuleOption pageNameOption(const char* key, const char* label, const char* def,
                                      std::string& (*text)(M&)) {
    return {key, label, OptionKind::Text, def, text, nullptr, true};
}
constexpr ModuleOption colorOption(const char* key, const char* label, const char* def,
                                   std::string& (*text)(M&)) {
    return {key, label, OptionKind::Color, def, text, nullptr};
}
constexpr ModuleOption checkOption(const char* key, const char* label, const char* def,
                                   bool& (*flag)(M&)) {
    return {key, label, OptionKind::Checkbox, def, nullptr, flag};
}

const std::array<ModuleOption, moduleOptionCount> table = {{
    textOption("summary-html", "Project summary HTML:", "project.html",
               [](M& m) -> std::string& { return m.summaryHtml; }),
    textOption("overview-html", "Overview HTML:", "overview.html",
               [](M& m) -> std::string& { return m.overviewHtml; }),
    pageNameOption("index-file-base", "Basename for master index files:", "index",
               [](M& m) -> std::string& { return m.indexFileBase; }),
    colorOption("header-background-dark", "Dark table header background:", "#ccccff",
                [](M& m) -> std::string& { return m.options.headerBackgroundDark; }),
    colorOption("header-background-light", "Light table header background:", "#eeeeff",
                [](M& m) -> std::string& { return m.options.headerBackgroundLight; }),
    colorOption("table-background", "Table background:", "white",
                [](M& m) -> std::string& { return m.options.tableBackground; }),
    colorOption("selected-text-background", "Selected text background:", "navy",
                [](M& m) -> std::string& { return m.options.selectedTextBackground; }),
    colorOption("selected-text-foreground", "Selected text foreground:", "white",
                [](M& m) -> std::string& { return m.options.selectedTextForeground; }),
    checkOption("separate-index-pages", "Separate index pages for each letter", "false",
                [](M& m) -> bool& { return m.separateIndexPages; }),
    checkOption("enable-author", "Enable @author tag", "false",
                [](M& m) -> bool& { return m.options.enableAuthor; }),
    checkOption("enable-since", "Enable @since tag", "true",
                [](M& m) -> bool& { return m.options.enableSince; }),
    checkOption("enable-version", "Enable @version tag", "false",
                [](M& m) -> bool& { return m.options.enableVersion; }),
    checkOption("include-protected", "Include protected members", "true",
                [](M& m) -> bool& { return m.options.includeProtected; }),
    checkOption("include-private", "Include private members", "false",
                [](M& m) -> bool& { return m.options.includePrivate; }),
    checkOption("enable-deprecations", "Enable @deprecated tag", "true",
                [](M& m) -> bool& { return m.options.enableDeprecated; }),
    checkOption("generate-deprecations-list", "Generate deprecations frame", "true",
                [](M& m) -> bool& { return m.options.generateDeprecationsList; }),
    checkOption("generate-hierarchy", "Generate hierarchy tree frames", "true",
                [](M& m) -> bool& { return m.options.generateHierarchy; }),
    checkOption("file-links-for-globals",
                "Include source file links for global functions and variables", "false",
                [](M& m) -> bool& { return m.options.fileLinksForGlobals; }),
    checkOption("show-vantry-version", "Show Vantry version", "false",
                [](M& m) -> bool& { return m.options.showVersion; }),
    checkOption("show-timestamp", "Show timestamp", "false",
                [](M& m) -> bool& { return m.options.showTimestamp; }),
    checkOption("suppress-frames-links", "Suppress Frames/No Frames links", "false",
                [](M& m) -> bool& { return m.options.suppressFramesLinks; }),
    checkOption("wrap-long-lines", "Wrap long lines in summary tables", "false",
                [](M& m) -> bool& { return m.options.wrapLongLines; }),
}};

}  // namespace

const std::array<ModuleOption, moduleOptionCount>& moduleOptionTable() { return table; }

const char* optionKindText(OptionKind kind) {
    switch (kind) {
    case OptionKind::Text: return "text";
    case OptionKind::Color: return "color";
    case OptionKind::Checkbox: return "checkbox";
    }
    return "text";
}

std::string boolToText(bool flag) { return flag ? "true" : "false"; }

bool textToBool(const std::string& text) { return text.empty() || toLowerCase(text) == "true"; }

const std::string& buildOptionText(StandardModule& module) {
    std::string text;
    for (const ModuleOption& option : table) {
        std::string current =
            option.kind == OptionKind::Checkbox ? boolToText(option.flag(module)) : option.text(module);
        for (const std::string& field : {std::string(option.key), std::string(option.label),
                                         std::string(optionKindText(option.kind)), current,
                                         std::string(option.defaultValue)}) {
            text += field;
            text += '|';
        }
    }
    text += '|';
    module.optionText = std::move(text);
    return module.optionText;
}

void applyOptionValues(StandardModule& module, const char* const* values) {
    // Whoever sends the values (a command line, a remembered setting, a
    // dialog), the index pages stand beside the main page, nowhere else.
    std::string refused;
    for (size_t i = 0; i < moduleOptionCount; ++i) {
        if (!values[i]) continue;
        const ModuleOption& option = table[i];
        if (option.namesOutputPages) {
            if (std::string refusal = pageBaseRefusal(option.key, values[i]); !refusal.empty()) {
                if (!refused.empty()) refused += "\n";
                refused += refusal;
                continue;
            }
        }
        if (option.kind == OptionKind::Checkbox)
            option.flag(module) = textToBool(values[i]);
        else if (option.kind == OptionKind::Color)
            // Colours are written into attributes of the pages: whatever the
            // value, it cannot end the attribute. A colour name or "#" and
            // hexadecimal digits is kept as it is.
            option.text(module) = escapeHtml(values[i]);
        else
            option.text(module) = values[i];
    }
    if (!refused.empty()) throw VelkError(refused);
}
