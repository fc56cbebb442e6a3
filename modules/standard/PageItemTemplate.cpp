#include "modules/standard/PageItemTemplate.h"

#include "VelkLib/VelkError.h"
#include "model/CppClass.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageDocBlock.h"
#include "modules/standard/PageEscape.h"

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string firstSourceFile(const CppClass& cls) {
    const auto& files = cls.getFileNames();
    return files.empty() ? "" : files[0];
}

std::string secondSourceFile(const CppClass& cls) {
    const auto& files = cls.getFileNames();
    return files.size() < 2 ? "" : files[1];
}

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
    case 'R': return context.relativePrefix;
    default: return std::nullopt;
    }
}

void expandItemTemplate(std::ostream& out, const CppClass& cls, const std::string& templateText,
                        const ItemTemplateContext& context) {
    const std::string& t = templateText;
    std::size_t i = 0;
    while (i < t.size()) {
        char c = t[i];
        bool marker = (c == '$' || c == '!') && i + 1 < t.size() && isLetter(t[i + 1]);
        if (!marker) {
            out << c;
            ++i;
            continue;
        }
        char letter = t[i + 1];
        std::optional<std::string> value = templateVariable(cls, letter, context);
        if (!value) {
            out << c << letter;
        } else if (c == '$') {
            out << *value;
        } else if (value->empty()) {
            const std::string closing = std::string("!") + letter;
            std::size_t end = t.find(closing, i + 2);
            if (end == std::string::npos)
                throw VelkError("Missing a closing '" + closing + "'", "", "[none]", 0);
            i = end + 2;
            continue;
        }
        i += 2;
    }
}
