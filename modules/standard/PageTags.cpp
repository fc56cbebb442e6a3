#include "modules/standard/PageTags.h"

#include <algorithm>

#include "model/CppClass.h"
#include "model/ModelText.h"
#include "modules/common/DocText.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/DocClassList.h"
#include "model/CppClassMember.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageFirstSentence.h"
#include "modules/common/SourceFacts.h"
#include "modules/common/PageBounds.h"
#include "modules/common/PageEscape.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// A tag's name ends before any other byte: "{@code(x)}" is the code tag.
bool isTagNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '.' || c == ':' || c == '_';
}

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool endsWithBreak(std::string_view text) {
    if (text.size() <= 4) return false;
    std::string_view tail = text.substr(text.size() - 4);
    return tail[0] == '<' && lowered(tail[1]) == 'b' && lowered(tail[2]) == 'r' && tail[3] == '>';
}

// A parameter's name as its author wrote it: a type parameter's brackets
// ("<K>") are text, a character reference ("x,&nbsp;y") is the character
// it stands for.
void appendParameterName(std::string& out, std::string_view name) {
    std::size_t from = 0;
    for (std::size_t at = name.find('&'); at != std::string_view::npos; at = name.find('&', at + 1)) {
        std::size_t end = 0;
        if (!characterReferenceAt(name, at, end)) continue;
        appendEscapedHtml(out, name.substr(from, at - from));
        out.append(name.substr(at, end + 1 - at));
        from = end + 1;
        at = end;
    }
    appendEscapedHtml(out, name.substr(from));
}

// What a block tag does with its text.
enum class TagAction { listWithCodeFirst, listWithLinkFirst, listOfLinks, list, single, deprecated };

struct BlockTagSpec {
    std::string_view name;  // as written after "@"
    TagSection section;     // unused for "deprecated"
    TagAction action;
    const char* separator;
    bool DocOptions::*enabledBy;  // null: always on
};

const BlockTagSpec blockTags[] = {
    {"param", TagSection::param, TagAction::listWithCodeFirst, "\r\n<DD>", nullptr},
    {"throw", TagSection::throws, TagAction::listWithLinkFirst, "\r\n<DD>", nullptr},
    {"throws", TagSection::throws, TagAction::listWithLinkFirst, "\r\n<DD>", nullptr},
    {"exception", TagSection::throws, TagAction::listWithLinkFirst, "\r\n<DD>", nullptr},
    {"see", TagSection::see, TagAction::listOfLinks, ", ", nullptr},
    {"author", TagSection::author, TagAction::list, ", ", &DocOptions::enableAuthor},
    {"return", TagSection::returns, TagAction::single, "", nullptr},
    {"version", TagSection::version, TagAction::single, "", &DocOptions::enableVersion},
    {"since", TagSection::since, TagAction::single, "", &DocOptions::enableSince},
    {"deprecated", TagSection::count, TagAction::deprecated, "", nullptr},
};

const BlockTagSpec* findBlockTag(std::string_view name) {
    for (const BlockTagSpec& spec : blockTags)
        if (name == spec.name) return &spec;
    return nullptr;
}

void appendFileLinkOrName(std::string& out, const std::string& path, const std::string& location,
                          const std::string& listingName) {
    if (location == "?") {
        std::size_t cut = findLastOfEither(path, '/', '\\');
        std::string_view name(path);
        appendEscapedHtml(out, cut == std::string::npos ? name : name.substr(cut + 1));
        return;
    }
    out += sourceFileLink(path, location, listingName);
}

bool isRootTag(std::string_view name) {
    static constexpr std::string_view root = "docroot";
    if (name.size() != root.size()) return false;
    for (std::size_t i = 0; i < root.size(); ++i)
        if (lowered(name[i]) != root[i]) return false;
    return true;
}

// {@value}: the value of the constant that the text names (the entity
// itself when it names none), as its declaration's literal initialiser
// gives it; else, and for a value too long to copy into every text that
// names it, the constant's name as a link to it.
void appendConstantValue(std::string& out, const CppClassEntity& entity, std::string_view text,
                         const TagContext& context) {
    ReferencedMember constant;
    if (!text.empty()) {
        constant = referencedMember(entity, text, context.classList);
    } else if (auto* self = dynamic_cast<const CppClassMember*>(&entity);
               self && !self->hasArgumentList()) {
        constant = {self->getClass(), self->getName()};
    }
    if (constant.declarer && context.classList) {
        const std::string* literal =
            context.classList->sourceConstants().literal(*constant.declarer, constant.name);
        if (literal && literal->size() <= maxCopiedValue) {
            appendEscapedHtml(out, *literal);
            return;
        }
    }
    if (!text.empty()) {
        appendCodeLink(out, entity, text, context.classList, context.linkPrefix);
    } else if (!constant.name.empty()) {
        appendCodeLink(out, entity, "#" + constant.name, context.classList, context.linkPrefix);
    }
}

// Inline tags within inline tags ("{@linkplain X the {@code X}}") are
// expanded as deep as authors nest them, and no deeper.
constexpr int maxInlineDepth = 16;

void appendExpanded(std::string& out, const CppClassEntity& entity, std::string_view text,
                    const TagContext& context, int depth);

// The text of an inline tag with the inline tags it holds expanded.
std::string_view expandedWithin(std::string_view text, const CppClassEntity& entity,
                                const TagContext& context, int depth, std::string& buffer) {
    if (depth >= maxInlineDepth || !mayHoldInlineTags(text)) return text;
    appendExpanded(buffer, entity, text, context, depth + 1);
    return buffer;
}

void appendInlineTagOutput(std::string& out, const CppClassEntity& entity, std::string_view name,
                           std::string_view text, const TagContext& context, int depth) {
    std::string buffer;
    if (name == "link" || name == "linkplain") {
        // The label may hold inline tags; the reference before it holds none.
        appendCodeLink(out, entity, expandedWithin(text, entity, context, depth, buffer),
                       context.classList, context.linkPrefix, name == "link");
        return;
    }
    if (name == "value") {
        appendConstantValue(out, entity, text, context);
        return;
    }
    // Java sources write "docRoot".
    if (isRootTag(name)) {
        // It stands in an author's href: the detail directory in the
        // prefix must not end the attribute or read as a scheme.
        appendHrefEscaped(out, context.linkPrefix +
                                   (context.classList ? context.classList->getDetailToMain()
                                                      : std::string("..")));
        return;
    }
    if (name == "code") {
        out += "<code>";
        appendLiteralText(out, text);
        out += "</code>";
        return;
    }
    if (name == "literal") {
        appendLiteralText(out, text);
        return;
    }
    const bool fileTag = name == "files" || name == "file1" || name == "file2";
    // A tag of no known name keeps its author's text.
    if (!fileTag) {
        out += expandedWithin(text, entity, context, depth, buffer);
        return;
    }
    const CppClass* cls = entity.getClass();
    if (!cls) return;
    const auto& files = cls->getFileNames();
    auto listingName = [&](const std::string& file) {
        return context.classList ? context.classList->listingPageOf(*cls, file) : std::string();
    };
    if (name == "files") {
        if (files.empty()) return;
        out += "<UL>";
        for (const std::string& file : files) {
            out += "<LI>";
            appendFileLinkOrName(out, file, context.sourceLocation, listingName(file));
            out += "</LI>";
        }
        out += "</UL>";
    } else if (name == "file1") {
        if (!files.empty()) appendFileLinkOrName(out, files[0], context.sourceLocation, listingName(files[0]));
    } else if (name == "file2") {
        if (files.size() >= 2) appendFileLinkOrName(out, files[1], context.sourceLocation, listingName(files[1]));
    }
}

void appendSectionSeparator(std::string& section, const char* separator) {
    if (!section.empty()) section += separator;
}

bool isLineBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Where the first word of a tag line ends: its name, with the line start
// and the "@" passed over (line[at] is "@" or not a tag line's start).
std::size_t tagNameEnd(std::string_view line, std::size_t& at) {
    at = 0;
    while (at < line.size() && isLineBlank(line[at])) ++at;
    std::size_t end = std::min(at + 1, line.size());
    while (end < line.size() && isTagNameByte(line[end])) ++end;
    return end;
}

constexpr std::string_view readerBreak = "<BR>";

// A line of a code block as its author wrote it: without the break the
// reader put after it, escaped, and with no "{" that could open an inline
// tag.
void appendCodeLine(std::string& out, std::string_view line) {
    if (line.size() >= readerBreak.size() && line.substr(line.size() - readerBreak.size()) == readerBreak)
        line.remove_suffix(readerBreak.size());
    std::size_t from = 0;
    for (std::size_t brace = line.find('{'); brace != std::string_view::npos;
         brace = line.find('{', from)) {
        appendEscapedHtml(out, line.substr(from, brace - from));
        out += "&#123;";
        from = brace + 1;
    }
    appendEscapedHtml(out, line.substr(from));
}

// The name of a tag of no section as its heading shows it: without the
// break that a tag alone on its line ends in ("@note<BR>").
std::string_view headingName(std::string_view name) {
    if (name.size() > readerBreak.size() && endsWithBreak(name))
        name.remove_suffix(readerBreak.size());
    return name;
}

}  // namespace

CodeLine codeLineKind(std::string_view line) {
    std::size_t at = 0;
    const std::size_t end = tagNameEnd(line, at);
    if (at >= line.size() || line[at] != '@') return CodeLine::none;
    const std::string_view name = line.substr(at + 1, end - at - 1);
    return name == "code" ? CodeLine::start : name == "endcode" ? CodeLine::end : CodeLine::none;
}

bool appendCodeBlocks(std::string& out, std::string_view text) {
    auto lineEndAt = [&](std::size_t from) {
        const std::size_t end = text.find('\n', from);
        return end == std::string_view::npos ? text.size() : end;
    };
    bool any = false;
    std::size_t copied = 0;  // text before it is in out
    for (std::size_t lineStart = 0; lineStart < text.size();) {
        const std::size_t lineEnd = lineEndAt(lineStart);
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (codeLineKind(line) != CodeLine::start) {
            lineStart = lineEnd + 1;
            continue;
        }
        std::size_t endStart = lineEnd + 1;
        while (endStart < text.size() &&
               codeLineKind(text.substr(endStart, lineEndAt(endStart) - endStart)) != CodeLine::end)
            endStart = lineEndAt(endStart) + 1;
        // Without its end the line is the tag's text; no later one has an
        // end either.
        if (endStart >= text.size()) break;
        any = true;
        out.append(text.substr(copied, lineStart - copied));
        out += "<pre>";
        // What follows "@code" and its language on the line is code too.
        std::size_t at = 0;
        std::string_view first = line.substr(tagNameEnd(line, at));
        if (!first.empty() && first[0] == '{') {
            const std::size_t close = first.find('}');
            first.remove_prefix(close == std::string_view::npos ? first.size() : close + 1);
        }
        first = trimmedView(first);
        bool firstLine = true;
        if (!first.empty() && first != readerBreak) {
            appendCodeLine(out, first);
            firstLine = false;
        }
        for (std::size_t codeStart = lineEnd + 1; codeStart < endStart;) {
            const std::size_t codeEnd = lineEndAt(codeStart);
            if (!firstLine) out += '\n';
            firstLine = false;
            appendCodeLine(out, text.substr(codeStart, codeEnd - codeStart));
            codeStart = codeEnd + 1;
        }
        out += "</pre>";
        const std::size_t endEnd = lineEndAt(endStart);
        const std::string_view endLine = text.substr(endStart, endEnd - endStart);
        const std::string_view after = endLine.substr(tagNameEnd(endLine, at));
        if (trimmedView(after) != readerBreak) out += after;
        copied = endEnd;
        lineStart = endEnd + 1;
    }
    if (!any) return false;
    out.append(text.substr(copied));
    return true;
}

std::string shownDescription(const TagBlockState& state) {
    if (state.brief.empty()) return state.description;
    std::string shown = state.brief;
    if (trimmedView(state.description).empty()) return shown;
    appendMissingEndTags(shown, shown);
    shown += "\n<p>";
    shown += state.description;
    return shown;
}

std::pair<std::string_view, std::string_view> splitFirstWordView(std::string_view text, bool tagName) {
    std::string_view trimmed = trimmedView(text);
    std::size_t i = 0;
    while (i < trimmed.size() && !isBlank(trimmed[i]) && !(tagName && !isTagNameByte(trimmed[i]))) ++i;
    if (i == trimmed.size()) return {trimmed, {}};
    std::string_view rest = trimmedView(trimmed.substr(i));
    if (endsWithBreak(rest)) rest = trimmedView(rest.substr(0, rest.size() - 4));
    return {trimmed.substr(0, i), rest};
}

std::pair<std::string, std::string> splitFirstWord(const std::string& text) {
    auto [word, rest] = splitFirstWordView(text);
    return {std::string(word), std::string(rest)};
}

void appendListItem(std::string& section, const std::string& item, const std::string& separator) {
    if (!section.empty()) section += separator;
    section += item;
}

std::string expandInlineTags(const CppClassEntity& entity, const std::string& text,
                             const TagContext& context) {
    std::string out;
    out.reserve(text.size());
    appendExpandedInlineTags(out, entity, text, context);
    return out;
}

bool mayHoldInlineTags(std::string_view text) { return text.find("{@") != std::string_view::npos; }

void appendExpandedInlineTags(std::string& out, const CppClassEntity& entity,
                              std::string_view text, const TagContext& context) {
    appendExpanded(out, entity, text, context, 0);
}

namespace {

void appendExpanded(std::string& out, const CppClassEntity& entity, std::string_view text,
                    const TagContext& context, int depth) {
    std::size_t i = 0;
    std::size_t from = 0;  // where the search for the next tag goes on
    while (i < text.size()) {
        std::size_t open = text.find('{', from);
        if (open == std::string_view::npos) break;
        if (open + 1 >= text.size() || text[open + 1] != '@') {
            from = open + 1;
            continue;
        }
        out.append(text.data() + i, open - i);
        std::size_t close = inlineTagEnd(text, open + 2);
        std::size_t end = close == std::string_view::npos ? text.size() : close;
        auto [name, rest] = splitFirstWordView(text.substr(open + 2, end - open - 2), true);
        appendInlineTagOutput(out, entity, name, rest, context, depth);
        i = from = close == std::string_view::npos ? text.size() : close + 1;
    }
    if (i < text.size()) out.append(text.data() + i, text.size() - i);
}

}  // namespace

void parseTagBlock(const CppClassEntity& entity, std::string_view block,
                   const TagContext& context, TagBlockState& state) {
    std::string withCode;
    if (block.find("@code") != std::string_view::npos && appendCodeBlocks(withCode, block))
        block = withCode;
    // Most blocks hold no inline tag and are used as they are.
    std::string expandedText;
    std::string_view expanded = block;
    if (mayHoldInlineTags(block)) {
        expandedText.reserve(block.size() + 64);
        appendExpandedInlineTags(expandedText, entity, block, context);
        expanded = expandedText;
    }
    std::size_t first = 0;
    while (first < expanded.size() && isBlank(expanded[first])) ++first;
    if (first == expanded.size() || expanded[first] != '@') {
        (state.afterDeprecated ? state.deprecation : state.description) += expanded;
        return;
    }
    state.afterDeprecated = false;
    auto [tagName, tagText] = splitFirstWordView(expanded.substr(first + 1));
    const BlockTagSpec* spec = findBlockTag(tagName);
    if (!spec) {
        const std::string_view name = headingName(tagName);
        if (name == "brief") {
            if (tagText.empty()) return;
            if (!state.brief.empty()) state.brief += '\n';
            state.brief += tagText;
            return;
        }
        // The words of a tag that no section shows are kept all the same.
        if (tagText.empty()) return;
        state.notes += "<P><B>";
        if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') {
            state.notes += static_cast<char>(name[0] - 'a' + 'A');
            appendEscapedHtml(state.notes, name.substr(1));
        } else {
            appendEscapedHtml(state.notes, name);
        }
        state.notes += ":</B> ";
        const std::size_t textStart = state.notes.size();
        state.notes += tagText;
        appendMissingEndTags(state.notes, std::string_view(state.notes).substr(textStart));
        state.notes += "\r\n";
        return;
    }
    if (spec->enabledBy && !(entity.getOptions().*(spec->enabledBy))) return;
    if (spec->action == TagAction::deprecated) {
        state.deprecation.assign(tagText);
        state.deprecated = true;
        state.afterDeprecated = true;
        return;
    }
    std::string& section = state.sections[static_cast<std::size_t>(spec->section)];
    switch (spec->action) {
    case TagAction::listWithCodeFirst:
    case TagAction::listWithLinkFirst: {
        auto [word, rest] = splitFirstWordView(tagText);
        appendSectionSeparator(section, spec->separator);
        if (spec->action == TagAction::listWithCodeFirst) {
            section += "<code>";
            appendParameterName(section, word);
            section += "</code>";
        } else {
            appendCodeLink(section, entity, word, context.classList, context.linkPrefix);
        }
        if (!rest.empty()) {
            section += " - ";
            section += rest;
        }
        break;
    }
    case TagAction::listOfLinks:
        appendSectionSeparator(section, spec->separator);
        appendCodeLink(section, entity, tagText, context.classList, context.linkPrefix);
        break;
    case TagAction::list:
        appendSectionSeparator(section, spec->separator);
        section += tagText;
        break;
    case TagAction::single: section.assign(tagText); break;
    case TagAction::deprecated: break;
    }
}
