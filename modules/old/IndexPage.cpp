#include "modules/old/IndexPage.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkFile.h"
#include "VelkLib/VelkPath.h"
#include "model/CppClass.h"
#include "modules/common/DetailDirectoryLink.h"
#include "modules/common/StagedSite.h"
#include "modules/common/ModuleText.h"
#include "modules/common/PageDateTime.h"
#include "modules/common/PageEscape.h"
#include "modules/common/TemplateExpansion.h"
#include "modules/old/ClassPage.h"
#include "modules/old/ConstantValues.h"
#include "modules/old/DocClassList.h"

#include <map>
#include <set>
#include <unordered_map>

namespace vantry_old {

namespace {

void appendLetterRow(std::string& out, char first, char last) {
    out += "\t<TR>\n";
    for (char letter = first; letter <= last; ++letter) {
        out += "\t\t<TD ALIGN=\"CENTER\" VALIGN=\"MIDDLE\">\n";
        out += std::string("\t\t\t<P ALIGN=\"CENTER\"><A HREF=\"#") + letter +
               "\"><FONT SIZE=\"4\">" + letter + "</FONT></A>\n";
        out += "\t\t</TD>\n";
    }
    out += "\t</TR>\n";
}

// The anchor letter of a name: its first character, a lower-case letter in
// its upper-case form; nothing for an empty name.
std::optional<char> anchorLetter(const std::string& name) {
    if (name.empty()) return std::nullopt;
    char c = name[0];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Writes the entries of one index page and the class pages behind them.
class EntryWriter {
public:
    EntryWriter(DocClassList& list, std::ostream& out, const std::string& entryTemplate,
                const DateTime& now)
        : list(list), out(out), entryTemplate(entryTemplate), now(now),
          sorted(list.sortedClasses("")),
          detailLink(detailDirectoryLink(list.settings.detailDirectory, list.settings.outputFile)),
          indexName(fileNameOf(list.settings.outputFile)) {
        for (std::size_t i = 0; i < sorted.size(); ++i) position[sorted[i]] = i;
    }

    // The letter table links to every letter, so every letter gets its
    // anchor: one without classes stands where its classes would be.
    void alphabetical() {
        std::optional<char> previous;
        char nextLetter = 'A';
        auto anchorsUpTo = [&](char last) {
            for (; nextLetter <= last; ++nextLetter) writeAnchor(nextLetter);
        };
        for (CppClass* cls : sorted) {
            std::optional<char> letter = anchorLetter(cls->getName());
            if (letter && *letter >= 'A' && *letter <= 'Z') {
                anchorsUpTo(*letter);
            } else if (letter && letter != previous) {
                writeAnchor(*letter);
            }
            if (letter) previous = letter;
            entry(*cls);
        }
        anchorsUpTo('Z');
    }

    // Classes under their bases, then interfaces under theirs. A class of
    // a base cycle, which no walk from a root reaches, is shown as a root
    // of its own so that no class is left out.
    void tree() {
        indexBaseNames();
        bool anyInterface = false;
        for (CppClass* cls : sorted) anyInterface = anyInterface || cls->isInterface();
        for (bool interfaces : {false, true}) {
            if (interfaces && !anyInterface) break;
            for (CppClass* cls : sorted)
                if (cls->isInterface() == interfaces && isRoot(*cls)) show(*cls);
            for (CppClass* cls : sorted)
                if (cls->isInterface() == interfaces && !shown.contains(cls)) show(*cls);
        }
    }

private:
    void writeAnchor(char letter) {
        out << "<A NAME=\"" << escapeHtml(std::string(1, letter)) << "\"></A>\n";
    }

    void entry(CppClass& cls) {
        list.cancel.check();
        expandTemplate(out, entryTemplate,
                       [&](char letter) { return entryVariable(list, cls, letter); });
        if (!list.settings.writeDetailPages || !written.insert(&cls).second) return;
        makeSiteDirectory(list.settings.detailDirectory, list.settings.stagedPages);
        // The way back starts at the page's own depth.
        const std::string backLink =
            upToMainDirectory(detailLink, directoryLevels(cls.getPageFile(""))) + indexName;
        writeClassPage(list, cls, list.ancestors(cls), backLink, now);
    }

    // A root names no base that resolves to a known class of its own kind
    // (a class or an interface) other than itself.
    bool isRoot(const CppClass& cls) const {
        for (CppClass* base : list.baseClasses(cls))
            if (base && base != &cls && base->isInterface() == cls.isInterface()) return false;
        return true;
    }

    void show(CppClass& cls) {
        shown.insert(&cls);
        entry(cls);
        out << "<BLOCKQUOTE>\n";
        path.insert(&cls);
        for (CppClass* child : children(cls)) show(*child);
        path.erase(&cls);
        out << "</BLOCKQUOTE>\n";
    }

    // Every base name of every class, so that the classes naming a parent
    // are found without asking each class.
    void indexBaseNames() {
        for (CppClass* cls : sorted)
            for (const auto& entry : cls->getBases()) byBaseName[entry.first].push_back(cls);
    }

    // The classes of parent's kind that name parent among their bases, in
    // index order, leaving out those on the current path.
    std::vector<CppClass*> children(const CppClass& parent) const {
        const std::string& name = parent.getName();
        std::set<std::size_t> found;  // positions in the sorted list
        auto collect = [&](const std::string& key) {
            auto at = byBaseName.find(key);
            if (at == byBaseName.end()) return;
            for (CppClass* cls : at->second)
                if (cls->isInterface() == parent.isInterface() && !path.contains(cls) &&
                    cls->hasBase(name, parent.getPackage(), true))
                    found.insert(position.at(cls));
        };
        // hasBase accepts the name, the package-qualified name, and the
        // name's last part after the naming class's scope separator.
        collect(name);
        collect(parent.getPackage() + "." + name);
        for (const char* separator : {"::", "."}) {
            std::size_t cut = name.rfind(separator);
            if (cut != std::string::npos) collect(name.substr(cut + std::string(separator).size()));
        }
        std::vector<CppClass*> result;
        for (std::size_t at : found) result.push_back(sorted[at]);
        return result;
    }

    DocClassList& list;
    std::ostream& out;
    const std::string& entryTemplate;
    const DateTime& now;
    const std::vector<CppClass*> sorted;
    const std::string detailLink;  // the detail directory from the index page
    const std::string indexName;
    std::unordered_map<const CppClass*, std::size_t> position;
    std::map<std::string, std::vector<CppClass*>> byBaseName;
    std::set<const CppClass*> written;  // pages written in this run
    std::set<const CppClass*> shown;    // classes entered in the tree
    std::set<const CppClass*> path;     // the tree walk's current ancestors
};

}  // namespace

void renderPageBuffers(DocClassList& list, const std::string& title, const std::string& company,
                       const std::string& versionText, const DateTime& now) {
    std::string& head = list.headBuffer;
    head = "<HTML>\n\n<HEAD>\n";
    head += "\t<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html;CHARSET=iso-8859-1\">\n";
    head += "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">\n\n";
    head += "<!-- Generated by Vantry v" + versionText + " on " +
            now.format("%B %d, %Y at %H:%M") + "-->\n";
    head += "\t<META NAME=\"GENERATOR\" Content=\"Vantry\">\n";
    head += "\t<TITLE>" + escapeHtml(title) + "</TITLE>\n";
    head += "</HEAD>\n\n<BODY>\n";
    head += "<P><!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\"><!--DocHeaderStart-->\n";
    head += "<TABLE BORDER=\"0\" CELLSPACING=\"0\" WIDTH=\"624\">\n\t<TR>\n";
    head += "\t\t<TD VALIGN=\"MIDDLE\"><FONT SIZE=\"2\" COLOR=\"#800080\" FACE=\"Arial, "
            "Helvetica\">" + escapeHtml(company) + "</FONT><BR>\n";
    head += "\t\t\t<FONT SIZE=\"5\" COLOR=\"#800080\" FACE=\"Arial, Helvetica\"><B>" +
            escapeHtml(title) + "</B></FONT></TD>\n";
    head += "\t</TR>\n</TABLE>\n</P>\n\n";
    if (!list.settings.treeListing) {
        head += "<CENTER>\n<P>\n<TABLE BORDER=\"5\">\n\t<TR>\n";
        head += "\t\t<TH COLSPAN=\"13\"><FONT SIZE=\"1\">Class Name Index</FONT></TH>\n\t</TR>\n";
        appendLetterRow(head, 'A', 'M');
        appendLetterRow(head, 'N', 'Z');
        head += "</TABLE>\n</P>\n</CENTER>\n";
    }
    head += "<P>\n";

    // The entries link from the index page's directory, however deep below
    // it the detail directory lies.
    const std::string detail =
        detailDirectoryLink(list.settings.detailDirectory, list.settings.outputFile);
    list.entryTemplateBuffer = "<P><A HREF=\"" + (detail.empty() ? "" : hrefEscape(detail) + "/") +
                               "$H\"><FONT SIZE=\"2\" FACE=\"Arial, Helvetica\">$C</FONT></A></P>\n";
    list.footBuffer = "\n\n</BODY>\n\n</HTML>\n";
}

std::optional<std::string> entryVariable(const DocClassList& list, const CppClass& cls,
                                         char letter) {
    switch (letter) {
    case 'C': return escapeHtml(cls.getName());
    case 'D': {
        // The entries link from the index page's directory.
        const std::string detail =
            detailDirectoryLink(list.settings.detailDirectory, list.settings.outputFile);
        return shownComment(list, cls, detail.empty() ? detail : detail + "/");
    }
    case 'F': return escapeHtml(firstSourceFile(cls));
    case 'G': return escapeHtml(secondSourceFile(cls));
    case 'H': return hrefEscape(cls.getPageFile(""));
    case 'J': return escapeHtml(cls.getPackage());
    case 'P': return escapeHtml(cls.getBaseList(", "));
    case 'R': return escapeHtml(list.settings.sourceDirectoryText);
    default: return std::nullopt;
    }
}

std::string pieceText(const std::string& setting, const std::string& builtIn) {
    if (setting.empty()) return builtIn;
    if (setting == "?") return "";
    return copyTextFileIntoPage(setting);
}

void writeIndexPage(DocClassList& list, const DateTime& now) {
    const OldModuleSettings& settings = list.settings;
    VelkOutFile file(settings.outputFile, settings.stagedPages);
    std::ostream& out = file.getStream();
    out << pieceText(settings.headerText, list.headBuffer);
    out << "Last Updated: " << now.format("%B %d, %Y") << "<BR><HR ALIGN=\"CENTER\"></P>\n";
    list.prepare();
    // "?" leaves the entries out, not the class pages written with them:
    // the entries then go nowhere.
    const bool noEntries = settings.itemTemplate == "?";
    std::ostream nowhere(nullptr);
    if (!noEntries || settings.writeDetailPages) {
        const std::string entryTemplate = pieceText(settings.itemTemplate, list.entryTemplateBuffer);
        EntryWriter entries(list, noEntries ? nowhere : out, entryTemplate, now);
        if (settings.treeListing) entries.tree();
        else entries.alphabetical();
    }
    out << pieceText(settings.footerText, list.footBuffer);
    file.close();
}

void writeSite(DocClassList& list, const DateTime& now) {
    OldModuleSettings& settings = list.settings;
    StagedSite site(settings.stagedPages, settings.progress, settings.callbackContext,
                    settings.outputFile);
    writeIndexPage(list, now);
    list.cancel.check();
    site.finish(list.cancel);
}

}  // namespace vantry_old
