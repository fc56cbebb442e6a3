#include "modules/standard/PageInherited.h"

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "modules/standard/DocCppClass.h"
#include "modules/common/ModuleText.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageMembers.h"

#include <algorithm>
#include <string_view>

namespace {

const char* const tableStart =
    "<TABLE BORDER=\"1\" CELLPADDING=\"3\" CELLSPACING=\"0\" WIDTH=\"100%\">";

}  // namespace

namespace {

// The ancestor's inherited members of the kind, joined by ", ".
void appendInheritedList(std::string& out, const CppClass& ancestor, bool methods) {
    bool first = true;
    // Every link of a list usually points at the same page.
    const CppClass* pageOwner = nullptr;
    std::string page;
    for (const CppClassMember* member : ancestor.getMembers()) {
        if (member->hasArgumentList() != methods || member->getAccess() == "private" ||
            isConstructorOrDestructor(*member))
            continue;
        if (!first) out += ", ";
        first = false;
        if (member->isPublic()) {
            const CppClass* owner = member->getClass();
            if (owner != pageOwner || !owner) {
                pageOwner = owner;
                page = owner ? hrefEscape(owner->getPageFile("../")) : std::string();
            }
            appendMemberLink(out, *member, page, "", false);
        } else {
            out += "<CODE>";
            appendEscapedName(out, member->getName());
            out += "</CODE>";
        }
    }
}

}  // namespace

void writeInheritedMembers(std::string& out, const CppClass& cls, const ClassLevels& ancestors,
                           std::string_view title, bool methods, InheritedListMemo* memo) {
    const DocOptions& options = cls.getOptions();
    InheritedBlockText scratch;
    for (const auto& level : ancestors) {
        for (const CppClass* ancestor : level) {
            InheritedBlockText* block = &scratch;
            if (memo) {
                auto [at, added] = memo->try_emplace(ancestor);
                if (added) appendInheritedList(at->second.list, *ancestor, methods);
                block = &at->second;
            } else {
                scratch.list.clear();
                scratch.ancestorLink.clear();
                appendInheritedList(scratch.list, *ancestor, methods);
            }
            if (block->list.empty()) continue;
            // Only a listed ancestor needs its link.
            if (block->ancestorLink.empty()) block->ancestorLink = classLink(*ancestor, "../");
            out += "&nbsp;<A NAME=\"fields_inherited_from_";
            appendEscapedName(out, ancestor->getName());
            out += "\"><!-- --></A>\n";
            out += tableStart;
            out += "\n<TR BGCOLOR=\"";
            out += options.headerBackgroundLight;
            out += "\">\n<TD><B>";
            out += title;
            out += " inherited from ";
            out += ancestor->getKind();
            out += ' ';
            out += block->ancestorLink;
            out += "</B></TD>\n</TR>\n<TR BGCOLOR=\"";
            out += options.tableBackground;
            out += "\">\n<TD><CODE>";
            out += block->list;
            out += "</CODE></TD>\n</TR>\n</TABLE>\n&nbsp;\n";
        }
    }
}

void writeInnerDefinitions(std::string& out, const CppClass& cls,
                           const std::vector<CppClass*>& definitions,
                           const std::string& sourceDirectory) {
    if (definitions.empty()) return;
    const DocOptions& options = cls.getOptions();
    const DocClassList* list = classListOf(&cls);
    out += "<!-- =========== INNER CLASSES, TYPEDEFS, ENUMS =========== -->\n\n"
           "<A NAME=\"inner_defs_summary\"><!-- --></A>\n";
    out += tableStart;
    out += "\n<TR BGCOLOR=\"";
    out += options.headerBackgroundDark;
    out += "\">\n<TD COLSPAN=2><FONT SIZE=\"+2\">\n"
           "<B>Inner Classes, Typedefs, and Enums</B></FONT></TD>\n</TR>\n";
    std::vector<CppClass*> sorted = definitions;
    std::stable_sort(sorted.begin(), sorted.end(), [](const CppClass* a, const CppClass* b) {
        return toLowerCase(a->getName()) < toLowerCase(b->getName());
    });
    const std::string noTag, up = "../";
    for (const CppClass* inner : sorted) {
        out += "<TR BGCOLOR=\"";
        out += options.tableBackground;
        out += "\">\n<TD ALIGN=\"right\" VALIGN=\"top\" WIDTH=\"1%\"><FONT SIZE=\"-1\">\n<CODE>";
        out += inner->getKind();
        out += "</CODE></FONT></TD>\n<TD><B><CODE>";
        out += classLink(*inner, up);
        out += "</CODE></B>\n\n<BR>\n"
               "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
        out += summarySentence(*inner, list, sourceDirectory, noTag, up);
        out += "</TD>\n</TR>\n";
    }
    out += "</TABLE>\n&nbsp;\n\n";
}
