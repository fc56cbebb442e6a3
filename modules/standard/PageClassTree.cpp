#include "modules/standard/PageClassTree.h"

#include "model/CppClass.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/PageCodeLinks.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/PageMembers.h"

#include <algorithm>
#include <string>

void writeClassTree(std::ostream& out, const CppClass& cls, const std::vector<CppClass*>& chain,
                    const DocClassList* list) {
    std::string text;
    appendClassTree(text, cls, chain, list);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool appendClassTree(std::string& out, const CppClass& cls, const std::vector<CppClass*>& chain,
                     const DocClassList* list) {
    if (chain.empty()) return false;
    out += "<PRE>\n";
    const std::size_t first = chain.size() > maxAncestorsShown ? chain.size() - maxAncestorsShown : 0;
    if (first > 0) out += "...\n   |\n   +--";
    for (std::size_t k = first; k < chain.size(); ++k) {
        const CppClass* ancestor = chain[k];
        // Indentation stops growing after maxTreeIndentLevels, so a deep
        // chain costs a page size linear in its length, not quadratic.
        const std::size_t level = k - first + (first > 0 ? 1 : 0);
        const std::size_t indent = 6 * std::min<std::size_t>(level, maxTreeIndentLevels);
        out += classLink(*ancestor, "../");
        const CppClass& next = k + 1 < chain.size() ? *chain[k + 1] : cls;
        for (const auto& [name, value] : next.getBases()) {
            const CppClass* base = list ? list->resolveBase(next, name, value) : value;
            if (!base || name == ancestor->getName() || base == ancestor || base->isInterface())
                continue;
            out += ", ";
            out += classLink(*base, "../");
        }
        out += '\n';
        out.append(indent, ' ');
        out += "   |\n";
        out.append(indent, ' ');
        out += "   +--";
    }
    out += "<B>";
    appendEscapedName(out, cls.getName());
    out += "</B>\n\n</PRE>\n";
    return first > 0;
}
