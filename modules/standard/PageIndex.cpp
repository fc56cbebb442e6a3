#include "modules/standard/PageIndex.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkThreadPool.h"
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
#include <optional>
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
    VelkThreadPool* pool = nullptr;  // long sections are written on it

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
                                                  module.stagedPages);
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
        list.checkCancel();
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

    // Calls write(letter, texts of its section) for every letter of
    // indexLetters in order. The texts are made a batch of letters ahead:
    // on the pool when there is one, in slices across the batch's sections
    // (each slice by a writer of its own, whose remembered owners' texts are
    // its own), so that short sections are spread as well as long ones,
    // while no more than a batch of the page is held at a time.
    template <class Write>
    void eachSection(const std::array<std::vector<IndexEntry>, 27>& byLetter, Write write) const {
        constexpr std::size_t sliceEntries = 1024;
        constexpr std::size_t batchEntries = 16 * sliceEntries;
        const std::string_view letters(indexLetters.data(), indexLetters.size());
        for (std::size_t first = 0; first < letters.size();) {
            std::size_t last = first, entries = 0;
            while (last < letters.size() && (last == first || entries < batchEntries))
                entries += byLetter[letterSlot(letters[last++])].size();
            struct Slice {
                std::size_t letter, piece, begin, end;
            };
            std::vector<Slice> slices;
            std::vector<std::vector<std::string>> texts(last - first);
            for (std::size_t l = first; l < last; ++l) {
                const std::size_t count = byLetter[letterSlot(letters[l])].size();
                const std::size_t pieces = std::max<std::size_t>(1, (count + sliceEntries - 1) / sliceEntries);
                texts[l - first].resize(pieces);
                for (std::size_t piece = 0; piece < pieces; ++piece)
                    slices.push_back({l, piece, count * piece / pieces, count * (piece + 1) / pieces});
            }
            auto writeSlices = [&](std::size_t begin, std::size_t end, const IndexWriter& writer) {
                for (std::size_t i = begin; i < end; ++i) {
                    const Slice& slice = slices[i];
                    const std::vector<IndexEntry>& section = byLetter[letterSlot(letters[slice.letter])];
                    std::string& text = texts[slice.letter - first][slice.piece];
                    for (std::size_t at = slice.begin; at < slice.end; ++at) writer.writeEntry(text, section[at]);
                }
            };
            if (pool && entries > sliceEntries) {
                forEachSlice(*pool, slices.size(), slices.size(),
                             [&](std::size_t, std::size_t begin, std::size_t end) {
                                 IndexWriter writer{module, list, separate, up, detailPrefix, {}, nullptr};
                                 writeSlices(begin, end, writer);
                             });
            } else {
                writeSlices(0, slices.size(), *this);
            }
            for (std::size_t l = first; l < last; ++l) write(letters[l], texts[l - first]);
            first = last;
        }
    }

    void writeSection(std::ostream& out, char letter, const std::vector<std::string>& texts) const {
        module.statusReceiver.message(nullptr, charToString(letter).c_str());
        out << "<DL>\n";
        for (const std::string& text : texts)
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out << "</DL>\n";
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
    makeSiteDirectory(directoryOf(indexPageName(module, 'A', false, true), false), module.stagedPages);

    // An entry leads to its member's own anchor, which overloads with one
    // signature (a C# generic method beside a plain one, a const
    // overload) have only once the entries are prepared.
    module.classList->prepareMemberEntries();
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
    VelkThreadPool* pool = entities.size() >= 4096 ? list.pagePool() : nullptr;
    std::array<std::vector<IndexEntry>, 27> byLetter;
    for (std::size_t at : displayNameOrder(entities, pool))
        byLetter[letterSlot(indexLetter(entities[at]->getName()))].push_back({entities[at], members[at]});

    IndexWriter writer{module, list, module.separateIndexPages, "", "", {}, nullptr};
    writer.up = writer.separate ? "../" : "";
    writer.detailPrefix = writer.up + detailLinkPrefix(module);
    // The entries only read the list: with workers its caches are filled
    // first, and thawed on every way out.
    std::optional<DocClassList::FrozenCaches> frozen;
    if (pool) {
        frozen.emplace(list);
        writer.pool = pool;
    }

    if (writer.separate) {
        // A page for every letter, so that every link of the letter bar
        // leads somewhere.
        writer.eachSection(byLetter, [&](char letter, const std::vector<std::string>& texts) {
            auto file = writer.startPage(letter);
            std::ostream& out = file->getStream();
            writeCenteredHeading(out, "H2", charToString(letter));
            writer.writeSection(out, letter, texts);
            writer.endPage(*file, letter);
        });
        return;
    }
    // One page: every letter has its anchor, also without entries.
    auto file = writer.startPage('A');
    std::ostream& out = file->getStream();
    bool first = true;
    writer.eachSection(byLetter, [&](char letter, const std::vector<std::string>& texts) {
        out << "<A NAME=\"_" << letter << "_\"><!-- --></A>\n";
        if (byLetter[letterSlot(letter)].empty()) return;
        if (first)
            writeCenteredHeading(out, "H2", charToString(letter));
        else
            out << "<HR>\n<H2>" << letter << "</H2>\n";
        first = false;
        writer.writeSection(out, letter, texts);
    });
    writer.endPage(*file, 'A');
}
