#include "modules/standard/PageDocBlock.h"

#include "model/CppClass.h"
#include "VelkLib/VelkString.h"
#include "model/CppClassMember.h"
#include "modules/standard/ModuleText.h"
#include "modules/standard/PageFirstSentence.h"
#include "modules/standard/PageNameOrder.h"
#include "modules/standard/PageTags.h"

#include <vector>

namespace {

// The sections of a block, in the order shown whatever the comment's order.
const struct {
    const char* label;
    const char* key;
} sectionOrder[] = {
    {"Parameters", "param"}, {"Returns", "return"}, {"Throws", "throw"},
    {"Version", "version"},  {"Author", "author"},  {"Since", "since"},
    {"See Also", "see"},
};

bool isTagLine(const std::string& line) {
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') continue;
        return c == '@';
    }
    return false;
}

std::vector<std::string> commentLines(const std::string& comment) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < comment.size()) {
        std::size_t end = comment.find('\n', start);
        if (end == std::string::npos) end = comment.size();
        lines.push_back(comment.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

DocBlockParts parseDocComment(const CppClassEntity& entity, const DocClassList* classList,
                              const std::string& linkPrefix, const std::string& sourceLocation) {
    TagContext context{classList, linkPrefix, sourceLocation};
    TagBlockState state;
    std::vector<std::string> lines = commentLines(entity.getComment());
    std::size_t next = 0;
    std::string pending;
    bool hasPending = false;
    do {
        std::string block = hasPending ? pending + "\n" : "";
        hasPending = false;
        while (next < lines.size()) {
            const std::string& line = lines[next++];
            if (isTagLine(line)) {
                pending = line;
                hasPending = true;
                break;
            }
            block += line + "\n";
        }
        parseTagBlock(entity, block, context, state);
    } while (hasPending);

    DocBlockParts parts;
    parts.description = std::move(state.description);
    parts.deprecation = std::move(state.deprecation);
    std::string sections;
    for (const auto& section : sectionOrder) {
        auto found = state.sections.find(section.key);
        if (found != state.sections.end()) writeTagSection(sections, found->second, section.label);
    }
    if (!sections.empty()) parts.sections = "<DL>\r\n" + sections + "</DL>\r\n";
    return parts;
}

std::string writeDocBlock(const CppClassEntity& entity, const DocClassList* classList,
                          const std::string& wrapTag, const std::string& sourceLocation,
                          DeprecatedItemMap* deprecated, const std::string& linkPrefix) {
    DocBlockParts parts = parseDocComment(entity, classList, linkPrefix, sourceLocation);
    std::string description = parts.description;
    if (!parts.deprecation.empty() && entity.getOptions().enableDeprecated) {
        VelkString note = parts.deprecation;
        note.replaceAll("**classdir**", linkPrefix);
        description = "<B>Deprecated.</B>&nbsp;<I>" + note + "</I>\r\n<P>\r\n" + description;
        if (deprecated)
            (*deprecated)[deprecationKey(entity)] = const_cast<CppClassEntity*>(&entity);
    }
    return wrapInTag(description, wrapTag) + "\r\n" + parts.sections;
}

std::string wrapInTag(const std::string& text, const std::string& tag) {
    if (tag.empty()) return text;
    if (toLowerCase(tag) == "p") return "<p>" + text + "<p>";
    return "<" + tag + ">" + text + "</" + tag + ">";
}

void writeTagSection(std::string& out, const std::string& sectionText, const std::string& label) {
    if (sectionText.empty()) return;
    out += "<DT><B>" + label + ": </B><DD>" + sectionText + "</DD>\r\n";
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
    std::string block = writeDocBlock(entity, classList, "", sourceLocation, nullptr, linkPrefix);
    return wrapInTag(firstSentence(block, "Deprecated"), tag);
}
