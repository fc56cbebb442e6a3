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
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageNameOrder.h"
#include "modules/standard/PageNavigationBar.h"
#include "modules/standard/PageSite.h"
#include "modules/standard/PageTemplate.h"
#include "modules/standard/SiteNames.h"
#include "modules/standard/StandardModule.h"

#include <array>
#include <memory>
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

struct IndexWriter {
    StandardModule& module;
    const DocClassList& list;
    bool separate;
    std::string up;            // from an index page to the main directory
    std::string detailPrefix;  // from an index page to the detail directory

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

    void writeEntry(std::ostream& out, const CppClassEntity& entity) const {
        const auto* member = dynamic_cast<const CppClassMember*>(&entity);
        const CppClass* owner = entity.getClass();
        if (member) {
            out << "<DT>" << memberLink(*member, true, detailPrefix, "B", true) << " - "
                << memberKindWord(*member);
            if (owner) out << " in " << owner->getKind() << " " << classLink(*owner, detailPrefix);
            out << "\n";
        } else if (owner) {
            out << "<DT>" << classLink(*owner, detailPrefix, "B") << " - " << owner->getKind()
                << " in " << projectSummaryLink(*owner, detailPrefix) << "\n";
        }
        if (!entity.getComment().empty())
            out << "<DD>"
                << summarySentence(entity, &list, module.sourceDirectoryText, "", detailPrefix)
                << "\n";
    }

    void writeSection(std::ostream& out, char letter,
                      const std::vector<const CppClassEntity*>& entries) const {
        module.statusReceiver.message(nullptr, charToString(letter).c_str());
        out << "<DL>\n";
        for (const CppClassEntity* entry : entries) writeEntry(out, *entry);
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

std::string memberKindWord(const CppClassMember& member) {
    for (const KindRule& rule : kindRules)
        if (rule.test(member)) return member.hasArgumentList() ? rule.function : rule.other;
    return "field";
}

void writeMasterIndexPage(StandardModule& module) {
    renderPageTemplate(module, module.documentTitle, true, true, "classFrame", "");
    VelkDirectory(directoryOf(indexPageName(module, 'A', false, true), false), true);

    const DocClassList& list = *module.classList;
    std::vector<const CppClassEntity*> entries;
    for (const auto& [key, cls] : list.getClasses()) {
        if (cls->getName().rfind("(", 0) != 0) entries.push_back(cls);
        for (const CppClassMember* member : cls->getMembers()) entries.push_back(member);
    }
    std::array<std::vector<const CppClassEntity*>, 27> byLetter;
    for (const CppClassEntity* entry : sortByDisplayName(entries))
        if (entry->isPublic()) byLetter[letterSlot(indexLetter(entry->getName()))].push_back(entry);

    IndexWriter writer{module, list, module.separateIndexPages, "", ""};
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
