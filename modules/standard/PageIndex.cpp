#include "modules/standard/PageIndex.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/ModuleFrame.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageNameOrder.h"
#include "modules/standard/PageNavigationBar.h"
#include "modules/standard/PageSite.h"
#include "modules/standard/PageTemplate.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

// The letters of the index in the order of the letter bar and the pages.
const std::array<char, 27> indexLetters = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I',
                                           'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R',
                                           'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', '_'};

std::size_t letterSlot(char letter) { return letter == '_' ? 26 : static_cast<std::size_t>(letter - 'A'); }

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The kind word of a member: the first row whose test holds.
struct KindRule {
    bool (*test)(const CppClassMember&);
    const char* function;
    const char* other;
};

const KindRule kindRules[] = {
    {[](const CppClassMember& m) { return m.getDeclaration().rfind("static", 0) == 0; },
     "static function", "static variable"},
    {[](const CppClassMember& m) { return isConstructorOrDestructor(m); }, "constructor", "field"},
    {[](const CppClassMember& m) { return !m.getClass() || m.getClass()->getKind() != "enum"; },
     "member function", "member variable"},
    {[](const CppClassMember& m) { return isMacro(m); }, "preprocessor macro",
     "preprocessor symbol"},
    {[](const CppClassMember&) { return true; }, "field", "field"},
};

// memberKindWord without a string made for it.
const char* memberKindText(const CppClassMember& member) {
    for (const KindRule& rule : kindRules)
        if (rule.test(member)) return member.hasArgumentList() ? rule.function : rule.other;
    return "field";
}

// A class (member null) or a member of the index.
struct IndexEntry {
    const CppClassEntity* entity;
    const CppClassMember* member;
};

struct IndexWriter {
    StandardModule& module;
    const DocClassList& list;
    bool separate;
    std::string up;            // from an index page to the main directory
    std::string detailPrefix;  // from an index page to the detail directory

    // What every member entry of a class repeats: the href-escaped page of
    // the class and the " in KIND LINK" that follows the kind word. Made on
    // a class's first member entry and kept while this writer writes.
    struct OwnerTexts {
        std::string page;
        std::string in;
    };
    mutable std::unordered_map<const CppClass*, OwnerTexts> owners;

    const OwnerTexts& ownerTexts(const CppClass& owner) const {
        auto [at, made] = owners.try_emplace(&owner);
        if (made) {
            at->second.page = hrefEscape(owner.getPageFile(detailPrefix));
            std::string& in = at->second.in;
            in += " in ";
            in += owner.getKind();
            in += ' ';
            in += classLink(owner, detailPrefix);
        }
        return at->second;
    }

    NavigationBar bar(char letter) const {
        std::string self = fileNameOf(indexPageName(module, letter, false, false));
        std::string tree = overviewTreePageName(module, false);
        return siteNavigationBar(module, 1, up, self, tree.empty() ? "" : up + tree);
    }

    // Opens the page of the letter and writes everything above its entries.
    std::unique_ptr<VelkOutFile> startPage(char letter) const {
        auto file = std::make_unique<VelkOutFile>(indexPageName(module, letter, false, true),
                                                  false, false);
        std::ostream& out = file->getStream();
        writeHeaderFragment(module, out, false);
        bar(letter).writeNavigationBar(out, navIndex, false, false, false);
        out << "<BR>\n";
        for (char each : indexLetters)
            out << writeLink(fileNameOf(indexPageName(module, each, true, false)),
                             charToString(each), "")
                << " ";
        out << "<HR>\n";
        return file;
    }

    void endPage(VelkOutFile& file, char letter) const {
        std::ostream& out = file.getStream();
        bar(letter).writeNavigationBar(out, navIndex, true, true, true);
        writeFooterFragment(module, out, false);
        file.close();
    }

    // Appends the entry of a class (member null) or of a member.
    void writeEntry(std::string& text, const IndexEntry& entry) const {
        const CppClassEntity& entity = *entry.entity;
        const CppClassMember* member = entry.member;
        const CppClass* owner = entity.getClass();
        if (member) {
            text += "<DT>";
            // The entity is the member itself, so owner is its class.
            const OwnerTexts* texts = owner ? &ownerTexts(*owner) : nullptr;
            appendMemberLink(text, *member, texts ? std::string_view(texts->page) : "", "B", true);
            text += " - ";
            text += memberKindText(*member);
            if (texts) text += texts->in;
            text += '\n';
        } else if (owner) {
            text += "<DT>";
            text += classLink(*owner, detailPrefix, "B");
            text += " - ";
            text += owner->getKind();
            text += " in ";
            text += projectSummaryLink(*owner, detailPrefix);
            text += '\n';
        }
        if (!entity.getComment().empty()) {
            text += "<DD>";
            text += summarySentence(entity, &list, module.sourceDirectoryText, "", detailPrefix);
            text += '\n';
        }
    }

    void writeSection(std::ostream& out, char letter, const std::vector<IndexEntry>& entries) const {
        module.statusReceiver.message(nullptr, charToString(letter).c_str());
        // Entries gather in one text that goes to the stream in large
        // pieces.
        constexpr std::size_t flushAt = 1 << 16;
        std::string text = "<DL>\n";
        text.reserve(flushAt + 4096);
        for (const IndexEntry& entry : entries) {
            writeEntry(text, entry);
            if (text.size() >= flushAt) {
                out.write(text.data(), static_cast<std::streamsize>(text.size()));
                text.clear();
            }
        }
        text += "</DL>\n";
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
};

}  // namespace

char indexLetter(const std::string& name) {
    char initial = name.empty() ? '\0' : name[0];
    if (initial == '~') initial = name.size() > 1 ? name[1] : '\0';
    if (!isLetter(initial)) return '_';
    return initial >= 'a' ? static_cast<char>(initial - 'a' + 'A') : initial;
}

std::string memberKindWord(const CppClassMember& member) { return memberKindText(member); }

void writeMasterIndexPage(StandardModule& module) {
    renderPageTemplate(module, module.documentTitle, true, true, "classFrame", "");
    VelkDirectory(directoryOf(indexPageName(module, 'A', false, true), false), true);

    const DocClassList& list = *module.classList;
    // Only shown entries are sorted: the order keeps ties in gathering
    // order, so leaving the others out first changes nothing.
    std::vector<const CppClassEntity*> entities;
    std::vector<const CppClassMember*> members;  // null for a class
    for (const auto& [key, cls] : list.getClasses()) {
        if (cls->getName().rfind("(", 0) != 0 && cls->isPublic()) {
            entities.push_back(cls);
            members.push_back(nullptr);
        }
        for (const CppClassMember* member : cls->getMembers()) {
            if (!member->isPublic()) continue;
            entities.push_back(member);
            members.push_back(member);
        }
    }
    std::array<std::vector<IndexEntry>, 27> byLetter;
    for (std::size_t at : displayNameOrder(entities))
        byLetter[letterSlot(indexLetter(entities[at]->getName()))].push_back({entities[at], members[at]});

    IndexWriter writer{module, list, module.separateIndexPages, "", "", {}};
    writer.up = writer.separate ? "../" : "";
    writer.detailPrefix = writer.up + detailLinkPrefix(module);

    if (writer.separate) {
        // A page for every letter, so that every link of the letter bar
        // leads somewhere.
        for (char letter : indexLetters) {
            auto file = writer.startPage(letter);
            std::ostream& out = file->getStream();
            writeCenteredHeading(out, "H2", charToString(letter));
            writer.writeSection(out, letter, byLetter[letterSlot(letter)]);
            writer.endPage(*file, letter);
        }
        return;
    }
    // One page: every letter has its anchor, also without entries.
    auto file = writer.startPage('A');
    std::ostream& out = file->getStream();
    bool first = true;
    for (char letter : indexLetters) {
        out << "<A NAME=\"_" << letter << "_\"><!-- --></A>\n";
        const auto& section = byLetter[letterSlot(letter)];
        if (section.empty()) continue;
        if (first)
            writeCenteredHeading(out, "H2", charToString(letter));
        else
            out << "<HR>\n<H2>" << letter << "</H2>\n";
        first = false;
        writer.writeSection(out, letter, section);
    }
    writer.endPage(*file, 'A');
}
