#include "modules/standard/PageTags.h"

#include "model/CppClass.h"
#include "modules/standard/ModuleText.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageEscape.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool endsWithBreak(const std::string& text) {
    return text.size() > 4 && toLowerCase(text.substr(text.size() - 4)) == "<br>";
}

// What a block tag does with its text.
enum class TagAction { listWithCodeFirst, listWithLinkFirst, listOfLinks, list, single, deprecated };

struct BlockTagSpec {
    const char* name;     // as written after "@"
    const char* section;  // section key
    TagAction action;
    const char* separator;
    bool DocOptions::*enabledBy;  // null: always on
};

const BlockTagSpec blockTags[] = {
    {"param", "param", TagAction::listWithCodeFirst, "\r\n<DD>", nullptr},
    {"throw", "throw", TagAction::listWithLinkFirst, "\r\n<DD>", nullptr},
    {"throws", "throw", TagAction::listWithLinkFirst, "\r\n<DD>", nullptr},
    {"exception", "throw", TagAction::listWithLinkFirst, "\r\n<DD>", nullptr},
    {"see", "see", TagAction::listOfLinks, ", ", nullptr},
    {"author", "author", TagAction::list, ", ", &DocOptions::enableAuthor},
    {"return", "return", TagAction::single, "", nullptr},
    {"version", "version", TagAction::single, "", &DocOptions::enableVersion},
    {"since", "since", TagAction::single, "", &DocOptions::enableSince},
    {"deprecated", "deprecated", TagAction::deprecated, "", nullptr},
};

const BlockTagSpec* findBlockTag(const std::string& name) {
    for (const BlockTagSpec& spec : blockTags)
        if (name == spec.name) return &spec;
    return nullptr;
}

std::string fileLinkOrName(const std::string& path, const std::string& location) {
    if (location == "?") {
        std::size_t cut = path.find_last_of("/\\");
        return escapeHtml(cut == std::string::npos ? path : path.substr(cut + 1));
    }
    return sourceFileLink(path, location);
}

std::string inlineTagOutput(const CppClassEntity& entity, const std::string& name,
                            const std::string& text, const TagContext& context) {
    if (name == "link") return codeLink(entity, text, context.classList, context.linkPrefix);
    if (name == "docroot") return context.linkPrefix + "..";
    const CppClass* cls = entity.getClass();
    if (!cls) return "";
    const auto& files = cls->getFileNames();
    if (name == "files") {
        if (files.empty()) return "";
        std::string out = "<UL>";
        for (const std::string& file : files)
            out += "<LI>" + fileLinkOrName(file, context.sourceLocation) + "</LI>";
        return out + "</UL>";
    }
    if (name == "file1")
        return files.empty() ? "" : fileLinkOrName(files[0], context.sourceLocation);
    if (name == "file2")
        return files.size() < 2 ? "" : fileLinkOrName(files[1], context.sourceLocation);
    return "";
}

}  // namespace

std::pair<std::string, std::string> splitFirstWord(const std::string& text) {
    std::string trimmed = trim(text);
    std::size_t i = 0;
    while (i < trimmed.size() && !isBlank(trimmed[i])) ++i;
    if (i == trimmed.size()) return {trimmed, ""};
    std::string rest = trim(trimmed.substr(i));
    if (endsWithBreak(rest)) rest = trim(rest.substr(0, rest.size() - 4));
    return {trimmed.substr(0, i), rest};
}

void appendListItem(std::string& section, const std::string& item, const std::string& separator) {
    if (!section.empty()) section += separator;
    section += item;
}

std::string expandInlineTags(const CppClassEntity& entity, const std::string& text,
                             const TagContext& context) {
    TextBuffer out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '{' && i + 1 < text.size() && text[i + 1] == '@') {
            std::size_t close = text.find('}', i + 2);
            std::size_t end = close == std::string::npos ? text.size() : close;
            auto [name, rest] = splitFirstWord(text.substr(i + 2, end - i - 2));
            out.append(inlineTagOutput(entity, name, rest, context));
            i = close == std::string::npos ? text.size() : close + 1;
        } else {
            out.append(text[i++]);
        }
    }
    return out.str();
}

void parseTagBlock(const CppClassEntity& entity, const std::string& block,
                   const TagContext& context, TagBlockState& state) {
    std::string expanded = expandInlineTags(entity, block, context);
    std::size_t first = 0;
    while (first < expanded.size() && isBlank(expanded[first])) ++first;
    if (first == expanded.size() || expanded[first] != '@') {
        (state.afterDeprecated ? state.deprecation : state.description) += expanded;
        return;
    }
    state.afterDeprecated = false;
    auto [tagName, tagText] = splitFirstWord(expanded.substr(first + 1));
    const BlockTagSpec* spec = findBlockTag(tagName);
    if (!spec) {
        state.sections[tagName];  // known as met, shows nothing
        return;
    }
    std::string& section = state.sections[spec->section];
    if (spec->enabledBy && !(entity.getOptions().*(spec->enabledBy))) return;
    switch (spec->action) {
    case TagAction::listWithCodeFirst:
    case TagAction::listWithLinkFirst: {
        auto [word, rest] = splitFirstWord(tagText);
        std::string item = spec->action == TagAction::listWithCodeFirst
                               ? "<code>" + word + "</code>"
                               : codeLink(entity, word, context.classList, context.linkPrefix);
        if (!rest.empty()) item += " - " + rest;
        appendListItem(section, item, spec->separator);
        break;
    }
    case TagAction::listOfLinks:
        appendListItem(section,
                       codeLink(entity, tagText, context.classList, context.linkPrefix),
                       spec->separator);
        break;
    case TagAction::list: appendListItem(section, tagText, spec->separator); break;
    case TagAction::single: section = tagText; break;
    case TagAction::deprecated: {
        // Links in a deprecation note are written for whichever page shows
        // it: the placeholder prefix is replaced there.
        TagContext placeholder = context;
        placeholder.linkPrefix = "**classdir**";
        std::string again = expandInlineTags(entity, block, placeholder);
        state.deprecation = splitFirstWord(again).second;
        state.afterDeprecated = true;
        break;
    }
    }
}
