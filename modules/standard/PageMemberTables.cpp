#include "modules/standard/PageMemberTables.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageMembers.h"

#include <algorithm>

namespace {

const char* const tableStart =
    "<TABLE BORDER=\"1\" CELLPADDING=\"3\" CELLSPACING=\"0\" WIDTH=\"100%\">";

// a < b with 'A'..'Z' read as 'a'..'z' and bytes compared unsigned, as the
// folded copies would compare, without making them.
bool foldedLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

}  // namespace

std::vector<CppClassMember*> sortedMembers(const std::vector<CppClassMember*>& members) {
    std::vector<CppClassMember*> sorted(members);
    std::stable_sort(sorted.begin(), sorted.end(), [](const CppClassMember* a, const CppClassMember* b) {
        if (a->hasArgumentList() != b->hasArgumentList()) return a->hasArgumentList();
        return foldedLess(a->getName(), b->getName());
    });
    return sorted;
}

void appendHighlightedName(std::string& out, std::string_view text, const CppClassMember& member,
                           std::string_view name, std::string_view replacement) {
    const std::size_t at = declaredNameAt(member, text, name, false);
    if (at == std::string_view::npos) {
        out += text;
        return;
    }
    out.append(text.data(), at);
    out += replacement;
    out += text.substr(at + name.size());
}

std::string highlightName(const std::string& text, const CppClassMember& member,
                          const std::string& replacement) {
    std::string name;
    appendEscapedName(name, member.getName());
    std::string out;
    out.reserve(text.size() + replacement.size());
    appendHighlightedName(out, text, member, name, replacement);
    return out;
}

std::string toUpperCase(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string removeSemicolons(const std::string& text) {
    std::string out;
    removeSemicolons(text, out);
    return out;
}

void removeSemicolons(const std::string& text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    std::size_t from = 0;  // start of the run not yet copied
    int braces = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t end = 0;
        if (text[i] == '{') {
            ++braces;
        } else if (text[i] == '}' && braces > 0) {
            --braces;
        } else if (text[i] == ';' && braces == 0) {
            out.append(text, from, i - from);
            from = i + 1;
        } else if (text[i] == '&' && characterReferenceAt(text, i, end)) {
            i = end;  // the entity's own ';' stays
        }
    }
    out.append(text, from, std::string::npos);
}

namespace {

// The anchor and the heading row that open a summary table or a detail
// section; the table is left open for its rows.
void appendSectionHead(std::string& out, std::string_view anchor, const std::string& background,
                       char columns, std::string_view title) {
    out += "<A NAME=\"";
    out += anchor;
    out += "\"><!-- --></A>\n";
    out += tableStart;
    out += "\n<TR BGCOLOR=\"";
    out += background;
    out += "\">\n<TD COLSPAN=";
    out += columns;
    out += "><FONT SIZE=\"+2\">\n<B>";
    out += title;
    out += "</B></FONT></TD>\n</TR>\n";
}

}  // namespace

void writeMemberSummaryTable(std::string& out, const CppClass& cls, std::string_view title,
                             std::string_view anchor,
                             const std::vector<CppClassMember*>& members,
                             const std::string& sourceDirectory, bool constructorTable) {
    if (members.empty()) return;
    const DocOptions& options = cls.getOptions();
    const DocClassList* list = classListOf(&cls);
    out += "<!-- =========== ";
    for (char c : title) out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    out += " =========== -->\n\n";
    appendSectionHead(out, anchor, options.headerBackgroundDark, '2', title);

    bool leftColumn = cls.getKind() != "enum";
    if (leftColumn && constructorTable)
        leftColumn = std::any_of(members.begin(), members.end(), [](const CppClassMember* m) {
            return !m->getAccess().empty() && m->getAccess() != "public";
        });

    const std::string noTag, up = "../";
    std::string typePart, namePart, name, link, cleaned;
    for (const CppClassMember* member : members) {
        // One summary can take long ({@value} of many constants).
        if (list) list->checkCancel();
        const std::string* row = &member->getDeclaration();
        out += "<TR BGCOLOR=\"";
        out += options.tableBackground;
        out += "\">\n";
        if (leftColumn) {
            out += "<TD ALIGN=\"right\" VALIGN=\"top\" WIDTH=\"1%\"";
            if (!options.wrapLongLines) out += " NOWRAP";
            out += "><FONT SIZE=\"-1\">\n<CODE>";
            if (member->getAccess() != "public") out += member->getAccess();
            out += "&nbsp;";
            if (!isConstructorOrDestructor(*member)) {
                splitSignature(*member, typePart, namePart);
                out += typePart;
                row = &namePart;
            }
            out += "</CODE></FONT></TD>\n";
        }
        removeSemicolons(*row, cleaned);
        stripThrowSpecification(cleaned);
        name.clear();
        appendEscapedName(name, member->getName());
        link.assign("<B>");
        appendMemberLink(link, *member, "", "", false);
        link += "</B>";
        out += "<TD><CODE>";
        appendHighlightedName(out, cleaned, *member, name, link);
        out += "</CODE>\n\n<BR>\n"
               "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
        out += summarySentence(*member, list, sourceDirectory, noTag, up);
        out += "</TD>\n</TR>\n";
    }
    out += "</TABLE>\n&nbsp;\n\n";
}

void writeMemberDetailSection(std::string& out, const CppClass& cls, std::string_view title,
                              std::string_view anchor,
                              const std::vector<CppClassMember*>& members,
                              DeprecatedItemMap* deprecated, const std::string& sourceDirectory,
                              std::unordered_set<std::string>* pageAnchors) {
    if (members.empty()) return;
    const DocOptions& options = cls.getOptions();
    const DocClassList* list = classListOf(&cls);
    out += "<BR>\n<!-- ============ ";
    out += title;
    out += " ========== -->\n\n";
    appendSectionHead(out, anchor, options.headerBackgroundDark, '1', title);
    out += "</TABLE>\n\n";
    const std::string tag = "DD", up = "../";
    std::string name, bold, own, named;
    for (const CppClassMember* member : members) {
        if (list) list->checkCancel();
        name.clear();
        appendEscapedName(name, member->getName());
        own.clear();
        appendMemberAnchor(own, *member);
        named.clear();
        appendAnchorText(named, member->getName(), false);
        out += "<A NAME=\"";
        out += own;
        out += "\"><!-- --></A>\n";
        if (!pageAnchors || named == own || pageAnchors->insert(named).second) {
            out += "<A NAME=\"";
            out += named;
            out += "\"><!-- --></A>\n";
        }
        out += "<H3>";
        out += name;
        out += "</H3>\n<PRE>\n";
        out += member->getAccess();
        out += ' ';
        bold.assign("<B>");
        bold += name;
        bold += "</B>";
        appendHighlightedName(out, member->getDeclaration(), *member, name, bold);
        out += "\n</PRE>\n<DL>\n";
        out += writeDocBlock(*member, list, tag, sourceDirectory, deprecated, up);
        out += "\n</DL>\n<HR>\n\n";
    }
}
