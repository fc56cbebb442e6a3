#include "modules/standard/PageInherited.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/ModuleText.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/standard/PageEscape.h"
#include "modules/standard/PageMembers.h"

#include <algorithm>

namespace {

const char* const tableStart =
    "<TABLE BORDER=\"1\" CELLPADDING=\"3\" CELLSPACING=\"0\" WIDTH=\"100%\">";

}  // namespace

void writeInheritedMembers(std::ostream& out, const CppClass& cls, const ClassLevels& ancestors,
                           const std::string& title, bool methods) {
    const DocOptions& options = cls.getOptions();
    for (const auto& level : ancestors) {
        for (const CppClass* ancestor : level) {
            bool listed = false;
            for (const CppClassMember* member : ancestor->getMembers()) {
                if (isConstructorOrDestructor(*member) || member->getAccess() == "private" ||
                    member->hasArgumentList() != methods)
                    continue;
                if (!listed) {
                    out << "&nbsp;<A NAME=\"fields_inherited_from_" << escapeHtml(ancestor->getName())
                        << "\"><!-- --></A>\n"
                        << tableStart << "\n<TR BGCOLOR=\"" << options.headerBackgroundLight
                        << "\">\n<TD><B>" << title << " inherited from " << ancestor->getKind()
                        << " " << classLink(*ancestor, "../") << "</B></TD>\n</TR>\n"
                        << "<TR BGCOLOR=\"" << options.tableBackground << "\">\n<TD><CODE>";
                    listed = true;
                } else {
                    out << ", ";
                }
                if (member->isPublic())
                    out << memberLink(*member, true, "../", "", false);
                else
                    out << "<CODE>" << escapeHtml(member->getName()) << "</CODE>";
            }
            if (listed) out << "</CODE></TD>\n</TR>\n</TABLE>\n&nbsp;\n";
        }
    }
}

void writeInnerDefinitions(std::ostream& out, const CppClass& cls,
                           const std::vector<CppClass*>& definitions,
                           const std::string& sourceDirectory) {
    if (definitions.empty()) return;
    const DocOptions& options = cls.getOptions();
    const DocClassList* list = classListOf(&cls);
    out << "<!-- =========== INNER CLASSES, TYPEDEFS, ENUMS =========== -->\n\n"
        << "<A NAME=\"inner_defs_summary\"><!-- --></A>\n"
        << tableStart << "\n<TR BGCOLOR=\"" << options.headerBackgroundDark << "\">\n"
        << "<TD COLSPAN=2><FONT SIZE=\"+2\">\n"
        << "<B>Inner Classes, Typedefs, and Enums</B></FONT></TD>\n</TR>\n";
    std::vector<CppClass*> sorted = definitions;
    std::stable_sort(sorted.begin(), sorted.end(), [](const CppClass* a, const CppClass* b) {
        return toLowerCase(a->getName()) < toLowerCase(b->getName());
    });
    for (const CppClass* inner : sorted) {
        out << "<TR BGCOLOR=\"" << options.tableBackground << "\">\n"
            << "<TD ALIGN=\"right\" VALIGN=\"top\" WIDTH=\"1%\"><FONT SIZE=\"-1\">\n"
            << "<CODE>" << inner->getKind() << "</CODE></FONT></TD>\n"
            << "<TD><B><CODE>" << classLink(*inner, "../") << "</CODE></B>\n\n<BR>\n"
            << "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
            << summarySentence(*inner, list, sourceDirectory, "", "../") << "</TD>\n</TR>\n";
    }
    out << "</TABLE>\n&nbsp;\n\n";
}
