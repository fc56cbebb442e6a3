#include "modules/standard/PageMemberTables.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/ModuleText.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/standard/PageEscape.h"
#include "modules/standard/PageMembers.h"

#include <algorithm>

namespace {

const char* const tableStart =
    "<TABLE BORDER=\"1\" CELLPADDING=\"3\" CELLSPACING=\"0\" WIDTH=\"100%\">";

bool entityAt(const std::string& text, std::size_t at, std::size_t& end) {
    if (text[at] != '&') return false;
    std::size_t i = at + 1;
    while (i < text.size() && i - at <= 7 &&
           ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z') ||
            (text[i] >= '0' && text[i] <= '9') || text[i] == '#'))
        ++i;
    if (i < text.size() && text[i] == ';' && i > at + 1) {
        end = i;
        return true;
    }
    return false;
}

}  // namespace

int compareMembers(const CppClassMember* a, const CppClassMember* b) {
    if (a->hasArgumentList() != b->hasArgumentList()) return a->hasArgumentList() ? -1 : 1;
    return toLowerCase(a->getName()).compare(toLowerCase(b->getName()));
}

std::vector<CppClassMember*> sortedMembers(const std::vector<CppClassMember*>& members) {
    std::vector<CppClassMember*> sorted = members;
    std::stable_sort(sorted.begin(), sorted.end(), [](const CppClassMember* a, const CppClassMember* b) {
        return compareMembers(a, b) < 0;
    });
    return sorted;
}

std::string highlightName(const std::string& text, const std::string& name,
                          const std::string& replacement) {
    std::vector<std::size_t> positions = wholeWordPositions(text, name, false);
    if (positions.empty()) return text;
    std::string out;
    out.reserve(text.size() + positions.size() * replacement.size());
    std::size_t from = 0;
    for (std::size_t at : positions) {
        out.append(text, from, at - from);
        out += replacement;
        from = at + name.size();
    }
    out.append(text, from, std::string::npos);
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
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t end = 0;
        if (entityAt(text, i, end)) {
            out.append(text, i, end - i + 1);
            i = end;
        } else if (text[i] != ';') {
            out += text[i];
        }
    }
    return out;
}

void writeMemberSummaryTable(std::ostream& out, const CppClass& cls, const std::string& title,
                             const std::string& anchor,
                             const std::vector<CppClassMember*>& members,
                             const std::string& sourceDirectory, bool constructorTable) {
    if (members.empty()) return;
    const DocOptions& options = cls.getOptions();
    const DocClassList* list = classListOf(&cls);
    out << "<!-- =========== " << toUpperCase(title) << " =========== -->\n\n"
        << "<A NAME=\"" << anchor << "\"><!-- --></A>\n"
        << tableStart << "\n<TR BGCOLOR=\"" << options.headerBackgroundDark << "\">\n"
        << "<TD COLSPAN=2><FONT SIZE=\"+2\">\n<B>" << title << "</B></FONT></TD>\n</TR>\n";

    bool leftColumn = cls.getKind() != "enum";
    if (leftColumn && constructorTable)
        leftColumn = std::any_of(members.begin(), members.end(), [](const CppClassMember* m) {
            return !m->getAccess().empty() && m->getAccess() != "public";
        });

    for (const CppClassMember* member : sortedMembers(members)) {
        std::string row = member->getDeclaration();
        out << "<TR BGCOLOR=\"" << options.tableBackground << "\">\n";
        if (leftColumn) {
            out << "<TD ALIGN=\"right\" VALIGN=\"top\" WIDTH=\"1%\""
                << (options.wrapLongLines ? "" : " NOWRAP") << "><FONT SIZE=\"-1\">\n<CODE>";
            if (member->getAccess() != "public") out << member->getAccess();
            out << "&nbsp;";
            if (!isConstructorOrDestructor(*member)) {
                std::string typePart, namePart;
                splitSignature(*member, typePart, namePart);
                out << typePart;
                row = namePart;
            }
            out << "</CODE></FONT></TD>\n";
        }
        row = removeSemicolons(row);
        stripThrowSpecification(row);
        row = highlightName(row, escapeHtml(member->getName()),
                            "<B>" + memberLink(*member, false, "", "", false) + "</B>");
        out << "<TD><CODE>" << row << "</CODE>\n\n<BR>\n"
            << "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
            << summarySentence(*member, list, sourceDirectory, "", "../") << "</TD>\n</TR>\n";
    }
    out << "</TABLE>\n&nbsp;\n\n";
}

void writeMemberDetailSection(std::ostream& out, const CppClass& cls, const std::string& title,
                              const std::string& anchor,
                              const std::vector<CppClassMember*>& members,
                              DeprecatedItemMap* deprecated, const std::string& sourceDirectory) {
    if (members.empty()) return;
    const DocOptions& options = cls.getOptions();
    const DocClassList* list = classListOf(&cls);
    out << "<BR>\n<!-- ============ " << title << " ========== -->\n\n"
        << "<A NAME=\"" << anchor << "\"><!-- --></A>\n"
        << tableStart << "\n<TR BGCOLOR=\"" << options.headerBackgroundDark << "\">\n"
        << "<TD COLSPAN=1><FONT SIZE=\"+2\">\n<B>" << title << "</B></FONT></TD>\n</TR>\n"
        << "</TABLE>\n\n";
    for (const CppClassMember* member : sortedMembers(members)) {
        std::string name = escapeHtml(member->getName());
        out << "<A NAME=\"" << memberSignature(*member, true) << "\"><!-- --></A>\n"
            << "<A NAME=\"" << name << "\"><!-- --></A>\n"
            << "<H3>" << name << "</H3>\n"
            << "<PRE>\n"
            << member->getAccess() << " "
            << highlightName(member->getDeclaration(), name, "<B>" + name + "</B>") << "\n"
            << "</PRE>\n<DL>\n"
            << writeDocBlock(*member, list, "DD", sourceDirectory, deprecated, "../") << "\n"
            << "</DL>\n<HR>\n\n";
    }
}
