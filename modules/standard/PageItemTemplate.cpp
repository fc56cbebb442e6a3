#include "modules/standard/PageItemTemplate.h"

#include "VelkLib/VelkError.h"
#include "model/CppClass.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/common/PageEscape.h"
#include "modules/common/TemplateExpansion.h"

std::optional<std::string> templateVariable(const CppClass& cls, char letter,
                                            const ItemTemplateContext& context) {
    switch (letter) {
    case 'C': {
        std::string name = escapeHtml(cls.getName());
        if (cls.isInterface()) return "<i>" + name + "</i>";
        if (cls.isNamespace()) return "<b>" + name + "</b>";
        return name;
    }
    case 'D':
        return writeDocBlock(cls, classListOf(&cls), "", context.sourceDirectory, nullptr,
                             context.relativePrefix);
    case 'F': return escapeHtml(firstSourceFile(cls));
    case 'G': return escapeHtml(secondSourceFile(cls));
    case 'H': return hrefEscape(cls.getPageFile(""));
    case 'J': return escapeHtml(cls.getPackage());
    case 'P': return escapeHtml(cls.getBaseList(", "));
    case 'R': return hrefEscape(context.relativePrefix);
    default: return std::nullopt;
    }
}

void expandItemTemplate(std::ostream& out, const CppClass& cls, const std::string& templateText,
                        const ItemTemplateContext& context) {
    expandTemplate(out, templateText,
                   [&](char letter) { return templateVariable(cls, letter, context); });
}
