#include "modules/standard/PageDocBlock.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/PageFirstSentence.h"
#include "modules/standard/PageNameOrder.h"
#include "modules/standard/PageTags.h"

#include <string_view>

namespace {

// The labels of the sections, indexed by TagSection.
const std::string_view sectionLabels[] = {"Parameters", "Returns", "Throws",  "Version",
                                          "Author",     "Since",   "See Also"};
static_assert(sizeof sectionLabels / sizeof sectionLabels[0] ==
              static_cast<std::size_t>(TagSection::count));

bool isLineBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

bool isBlank(char c) { return c == '\n' || isLineBlank(c); }

bool isTagLine(std::string_view line) {
    for (char c : line) {
        if (isLineBlank(c)) continue;
        return c == '@';
    }
    return false;
}

// Inline tags still open after text[from, to), counted on from `open`, and
// the braces opened inside the innermost of them.
struct InlineDepth {
    std::size_t open = 0;
    std::size_t braces = 0;
};

void trackInlineTags(std::string_view text, InlineDepth& depth) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{') {
            if (i + 1 < text.size() && text[i + 1] == '@') {
                ++depth.open;
                depth.braces = 0;
                ++i;
            } else if (depth.open > 0) {
                ++depth.braces;
            }
        } else if (text[i] == '}' && depth.open > 0) {
            if (depth.braces > 0) --depth.braces;
            else --depth.open;
        }
    }
}

// Calls visit(block) for each block of the comment, in order, until it
// returns false: the lines before the first tag line (possibly none: an
// empty block), then each tag line with the plain lines up to the next one.
// A line inside an inline tag that a later line closes ("{@code" over
// lines, one of them "@Override") starts no block. Every line of a block
// ends in "\n", one being added to a last line that has none.
// A code block ("@code" ... "@endcode") is read as a whole: its lines,
// and its start and end lines, start no block and open no inline tag.
template <class Visit>
void forEachBlock(std::string_view comment, Visit&& visit) {
    std::size_t blockStart = 0;
    std::size_t lineStart = 0;
    InlineDepth depth;
    bool inCode = false;
    // From here on no line ends a code block (found by an earlier look).
    std::size_t noCodeEndFrom = std::string_view::npos;
    auto codeEndFollows = [&](std::size_t from) {
        if (from >= noCodeEndFrom) return false;
        for (std::size_t at = from; at < comment.size();) {
            std::size_t end = comment.find('\n', at);
            if (end == std::string_view::npos) end = comment.size();
            if (codeLineKind(comment.substr(at, end - at)) == CodeLine::end) return true;
            at = end + 1;
        }
        noCodeEndFrom = from;
        return false;
    };
    while (lineStart < comment.size()) {
        std::size_t end = comment.find('\n', lineStart);
        if (end == std::string_view::npos) end = comment.size();
        std::string_view line = comment.substr(lineStart, end - lineStart);
        const CodeLine code = inCode || depth.open == 0 ? codeLineKind(line) : CodeLine::none;
        if (inCode || (code == CodeLine::start && codeEndFollows(end + 1))) {
            inCode = !(inCode && code == CodeLine::end);
            lineStart = end + 1;
            continue;
        }
        if (isTagLine(line)) {
            bool inside = false;
            if (depth.open > 0) {
                InlineDepth ahead = depth;
                trackInlineTags(comment.substr(lineStart), ahead);
                inside = ahead.open < depth.open;
            }
            if (!inside) {
                depth = {};
                if (!visit(comment.substr(blockStart, lineStart - blockStart))) return;
                blockStart = lineStart;
            }
        }
        if (line.find('{') != std::string_view::npos || depth.open > 0) trackInlineTags(line, depth);
        lineStart = end + 1;
    }
    std::string_view last = comment.substr(blockStart);
    if (last.empty() || last.back() == '\n') {
        visit(last);
    } else {
        std::string ended(last);
        ended += '\n';
        visit(std::string_view(ended));
    }
}

TagBlockState parseComment(const CppClassEntity& entity, const TagContext& context) {
    TagBlockState state;
    forEachBlock(entity.getComment(), [&](std::string_view block) {
        parseTagBlock(entity, block, context, state);
        return true;
    });
    state.description = shownDescription(state);
    state.brief.clear();
    return state;
}

void appendSections(std::string& out, const TagBlockState& state) {
    bool any = false;
    for (std::size_t i = 0; i < state.sections.size(); ++i) {
        const std::string& text = state.sections[i];
        if (text.empty()) continue;
        if (!any) out += "<DL>\r\n";
        any = true;
        out += "<DT><B>";
        out += sectionLabels[i];
        out += ": </B><DD>";
        out += text;
        appendMissingEndTags(out, text);
        out += "</DD>\r\n";
    }
    if (any) out += "</DL>\r\n";
}

// The deprecation note as shown: "<B>Deprecated.</B>&nbsp;<I>" note
// "</I>\r\n<P>\r\n".
void appendDeprecationNote(std::string& out, std::string_view note) {
    out += "<B>Deprecated.</B>&nbsp;<I>";
    std::string rest(note);
    appendMissingEndTags(rest, rest);
    out += rest;
    out += "</I>\r\n<P>\r\n";
}

bool isParagraphTag(const std::string& tag) {
    return tag.size() == 1 && (tag[0] == 'p' || tag[0] == 'P');
}

void appendOpeningTag(std::string& out, const std::string& tag) {
    if (tag.empty()) return;
    if (isParagraphTag(tag)) {
        out += "<p>";
        return;
    }
    out += '<';
    out += tag;
    out += '>';
}

void appendClosingTag(std::string& out, const std::string& tag) {
    if (tag.empty()) return;
    if (isParagraphTag(tag)) {
        out += "<p>";
        return;
    }
    out += "</";
    out += tag;
    out += '>';
}

// The head of the writeDocBlock text with no wrap tag and no notes: the
// deprecation note when shown, the description and "\r\n", without the
// tag sections. Only the first block (the text before the first tag), the
// "@brief" blocks and the deprecation blocks are read. False when the
// comment is too unusual to tell those blocks without expanding every one
// (an inline tag in a tag name, or a first block that expands to a block
// tag): the caller then builds the whole block.
bool summaryHead(const CppClassEntity& entity, const TagContext& context, std::string& head) {
    const bool showDeprecation = entity.getOptions().enableDeprecated;
    std::string deprecated;  // the last "@deprecated" block
    bool hasDeprecated = false;
    bool first = true;
    bool usual = true;
    TagBlockState described;
    forEachBlock(entity.getComment(), [&](std::string_view block) {
        if (first) {
            first = false;
            // The first block holds no tag line, so only an inline tag can
            // make it start with "@".
            std::string withCode;
            if (block.find("@code") != std::string_view::npos && appendCodeBlocks(withCode, block))
                block = withCode;
            if (!mayHoldInlineTags(block)) {
                described.description.assign(block);
            } else {
                appendExpandedInlineTags(described.description, entity, block, context);
                const std::string& text = described.description;
                std::size_t start = 0;
                while (start < text.size() && isBlank(text[start])) ++start;
                usual = start == text.size() || text[start] != '@';
            }
            return usual;
        }
        std::size_t at = block.find('@');
        std::size_t nameStart = at + 1;
        while (nameStart < block.size() && isBlank(block[nameStart])) ++nameStart;
        std::size_t nameEnd = nameStart;
        while (nameEnd < block.size() && !isBlank(block[nameEnd])) ++nameEnd;
        std::string_view name = block.substr(nameStart, nameEnd - nameStart);
        if (name.find("{@") != std::string_view::npos) {
            usual = false;
            return false;
        }
        if (name == "deprecated") {
            deprecated.assign(block);
            hasDeprecated = true;
        } else if (name.starts_with("brief")) {
            TagBlockState brief;
            parseTagBlock(entity, block, context, brief);
            if (!brief.brief.empty()) {
                if (!described.brief.empty()) described.brief += '\n';
                described.brief += brief.brief;
            }
        }
        return true;
    });
    if (!usual) return false;
    head = shownDescription(described);
    appendMissingEndTags(head, head);
    head += "\r\n";
    if (hasDeprecated && showDeprecation) {
        std::string expanded;
        expanded.reserve(deprecated.size() + 64);
        appendExpandedInlineTags(expanded, entity, deprecated, context);
        std::string shown;
        appendDeprecationNote(shown, splitFirstWordView(expanded).second);
        head.insert(0, shown);
    }
    return true;
}

}  // namespace

DocBlockParts parseDocComment(const CppClassEntity& entity, const DocClassList* classList,
                              const std::string& linkPrefix, const std::string& sourceLocation) {
    TagBlockState state = parseComment(entity, TagContext{classList, linkPrefix, sourceLocation});
    DocBlockParts parts;
    parts.description = std::move(state.description);
    appendMissingEndTags(parts.description, parts.description);
    parts.description += state.notes;
    parts.deprecation = std::move(state.deprecation);
    appendSections(parts.sections, state);
    return parts;
}

namespace {

// appendDocBlock; with withNotes clear, the tags of no section are left
// out (a summary is the first sentence of what comes before them).
void appendBlock(std::string& out, const CppClassEntity& entity, const DocClassList* classList,
                 const std::string& wrapTag, const std::string& sourceLocation,
                 DeprecatedItemMap* deprecated, const std::string& linkPrefix, bool withNotes) {
    TagBlockState state = parseComment(entity, TagContext{classList, linkPrefix, sourceLocation});
    appendOpeningTag(out, wrapTag);
    if (state.deprecated && entity.getOptions().enableDeprecated) {
        appendDeprecationNote(out, state.deprecation);
        if (deprecated)
            (*deprecated)[deprecationKey(entity)] = const_cast<CppClassEntity*>(&entity);
    }
    out += state.description;
    appendMissingEndTags(out, state.description);
    if (withNotes) out += state.notes;
    appendClosingTag(out, wrapTag);
    out += "\r\n";
    appendSections(out, state);
}

}  // namespace

void appendDocBlock(std::string& out, const CppClassEntity& entity, const DocClassList* classList,
                    const std::string& wrapTag, const std::string& sourceLocation,
                    DeprecatedItemMap* deprecated, const std::string& linkPrefix) {
    appendBlock(out, entity, classList, wrapTag, sourceLocation, deprecated, linkPrefix, true);
}

std::string writeDocBlock(const CppClassEntity& entity, const DocClassList* classList,
                          const std::string& wrapTag, const std::string& sourceLocation,
                          DeprecatedItemMap* deprecated, const std::string& linkPrefix) {
    std::string out;
    appendDocBlock(out, entity, classList, wrapTag, sourceLocation, deprecated, linkPrefix);
    return out;
}

std::string wrapInTag(const std::string& text, const std::string& tag) {
    if (tag.empty()) return text;
    std::string out;
    out.reserve(text.size() + 2 * tag.size() + 5);
    appendOpeningTag(out, tag);
    out += text;
    appendClosingTag(out, tag);
    return out;
}

void writeTagSection(std::string& out, const std::string& sectionText, const std::string& label) {
    if (sectionText.empty()) return;
    out += "<DT><B>";
    out += label;
    out += ": </B><DD>";
    out += sectionText;
    out += "</DD>\r\n";
}

std::string deprecationKey(const CppClassEntity& entity) {
    std::string key = displayNameSortKey(entity.getDisplayName());
    key += '\x01';
    key += entity.getDisplayName();
    if (const CppClass* cls = entity.getClass()) {
        key += '\x01';
        key += cls->getPackage();
        key += '\x01';
        key += cls->getName();
    }
    if (auto* member = dynamic_cast<const CppClassMember*>(&entity)) {
        key += '\x01';
        key += member->buildSignatureText(true);
    }
    return key;
}

std::string summarySentence(const CppClassEntity& entity, const DocClassList* classList,
                            const std::string& sourceLocation, const std::string& tag,
                            const std::string& linkPrefix) {
    TagContext context{classList, linkPrefix, sourceLocation};
    std::string head;
    std::string sentence;
    if (!summaryHead(entity, context, head) || !firstSentenceOfHead(head, "Deprecated", sentence)) {
        std::string block;
        appendBlock(block, entity, classList, "", sourceLocation, nullptr, linkPrefix, false);
        sentence = firstSentence(block, "Deprecated");
    }
    if (tag.empty()) return sentence;
    return wrapInTag(sentence, tag);
}
