#include "modules/common/TemplateExpansion.h"

#include "VelkLib/VelkError.h"
#include "model/CppClass.h"

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

std::string firstSourceFile(const CppClass& cls) {
    const auto& files = cls.getFileNames();
    return files.empty() ? "" : files[0].str();
}

std::string secondSourceFile(const CppClass& cls) {
    const auto& files = cls.getFileNames();
    return files.size() < 2 ? "" : files[1].str();
}

void expandTemplate(std::ostream& out, const std::string& templateText,
                    const TemplateVariables& variable) {
    // The entry is built whole and written at once: a list page writes one
    // per class.
    const std::string& t = templateText;
    std::string expanded;
    expanded.reserve(t.size() + 64);
    std::size_t i = 0;
    while (i < t.size()) {
        char c = t[i];
        bool marker = (c == '$' || c == '!') && i + 1 < t.size() && isLetter(t[i + 1]);
        if (!marker) {
            std::size_t next = t.find_first_of("$!", i + 1);
            if (next == std::string::npos) next = t.size();
            expanded.append(t, i, next - i);
            i = next;
            continue;
        }
        char letter = t[i + 1];
        std::optional<std::string> value = variable(letter);
        if (!value) {
            expanded += c;
            expanded += letter;
        } else if (c == '$') {
            expanded += *value;
        } else if (value->empty()) {
            const std::string closing = std::string("!") + letter;
            std::size_t end = t.find(closing, i + 2);
            if (end == std::string::npos) {
                out.write(expanded.data(), static_cast<std::streamsize>(expanded.size()));
                throw VelkError("Missing a closing '" + closing + "'", "", "[none]", 0);
            }
            i = end + 2;
            continue;
        }
        i += 2;
    }
    out.write(expanded.data(), static_cast<std::streamsize>(expanded.size()));
}
