#include "modules/old/ConstantValues.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/ModelText.h"
#include "modules/common/DocText.h"
#include "modules/common/ModuleText.h"
#include "modules/common/PageBounds.h"
#include "modules/common/PageEscape.h"
#include "modules/old/DocClassList.h"

namespace vantry_old {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// The class a reference's class part ("Limits", "net.Limits") names, as
// seen from the entity's class.
const CppClass* namedClass(const DocClassList& list, const CppClass& from, std::string_view written) {
    const std::string name(written);
    if (const CppClass* found = list.resolveTypeName(from, name)) return found;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return nullptr;
    return list.findClass(name.substr(0, dot), name.substr(dot + 1), false);
}

}  // namespace

void appendConstantValue(std::string& out, const DocClassList& list, const CppClassEntity& entity,
                         std::string_view text, const std::string& linkPrefix) {
    const CppClass* owner = entity.getClass();
    // The reference is the first word; a label may follow it.
    std::size_t wordEnd = 0;
    while (wordEnd < text.size() && !isBlank(text[wordEnd])) ++wordEnd;
    const std::string_view reference = text.substr(0, wordEnd);
    const std::string_view label = trimmedView(text.substr(wordEnd));
    std::string name;
    const CppClass* declarer = nullptr;
    if (reference.empty()) {
        auto* self = dynamic_cast<const CppClassMember*>(&entity);
        if (!self || self->hasArgumentList() || !owner) return;
        name = self->getName();
        declarer = owner;
    } else {
        const std::size_t hash = reference.rfind('#');
        name.assign(hash == std::string_view::npos ? std::string_view() : reference.substr(hash + 1));
        const std::string_view classPart =
            hash == std::string_view::npos ? reference : reference.substr(0, hash);
        const CppClass* named = !owner ? nullptr
                                : classPart.empty() ? owner
                                                    : namedClass(list, *owner, classPart);
        if (named && !name.empty()) declarer = list.fieldDeclarer(*named, name);
    }
    if (declarer) {
        const std::string* literal = list.constants.literal(*declarer, name);
        if (literal && literal->size() <= maxCopiedValue) {
            appendEscapedHtml(out, *literal);
            return;
        }
    }
    std::string shown;
    if (!label.empty()) {
        shown.assign(label);
    } else if (declarer || reference.empty()) {
        appendEscapedHtml(shown, name);
    } else {
        // As the reference reads: "Limits.MAX" for "Limits#MAX".
        std::string written(reference);
        const std::size_t hash = written.rfind('#');
        if (hash == 0) written.erase(0, 1);
        else if (hash != std::string::npos)
            written.replace(hash, 1, owner ? owner->getScopeSeparator() : ".");
        appendEscapedHtml(shown, written);
    }
    if (!declarer) {
        out += "<code>" + shown + "</code>";
        return;
    }
    out += makeLink(shown, linkPrefix + declarer->getPageFile(""), "code", escapeHtml(name));
}

std::string shownComment(const DocClassList& list, const CppClassEntity& entity,
                         const std::string& linkPrefix) {
    return documentationText(entity.getComment(), [&](std::string& out, std::string_view text) {
        appendConstantValue(out, list, entity, text, linkPrefix);
    });
}

}  // namespace vantry_old
