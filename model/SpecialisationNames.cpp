#include "model/SpecialisationNames.h"

#include "model/ClassList.h"
#include "model/CppClass.h"

namespace {

bool isWordByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
           byte == '_' || byte >= 0x80;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// The position of the ">" that closes the list opened by the "<" at
// `open`, brackets and parentheses inside it paired; npos when the name
// ends first or a bracket closes that the list did not open.
std::size_t listClose(std::string_view name, std::size_t open) {
    std::string stack;
    for (std::size_t i = open; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '<' && !stack.empty() && stack.back() != '<') continue;  // a comparison in parentheses
        if (c == '<' || c == '(' || c == '[') {
            stack += c;
        } else if (c == '>' || c == ')' || c == ']') {
            const char opener = c == '>' ? '<' : c == ')' ? '(' : '[';
            if (c == '>' && stack.back() != '<') continue;  // a comparison in parentheses
            if (stack.back() != opener) return std::string_view::npos;
            stack.pop_back();
            if (stack.empty()) return i;
        }
    }
    return std::string_view::npos;
}

// Calls list(open, close) for each template argument list at the top of the
// name and text(begin, end) for the text between them, in order.
template <typename Text, typename List>
void forEachList(std::string_view name, Text text, List list) {
    std::size_t from = 0;
    for (std::size_t at = name.find('<'); at != std::string_view::npos; at = name.find('<', at + 1)) {
        const std::size_t close = listClose(name, at);
        if (close == std::string_view::npos) continue;
        text(from, at);
        list(at, close);
        from = close + 1;
        at = close;
    }
    text(from, name.size());
}

}  // namespace

std::size_t templateArgumentListEnd(std::string_view text, std::size_t open) {
    if (open >= text.size() || text[open] != '<') return std::string_view::npos;
    return listClose(text, open);
}

std::string normalizedTemplateName(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 4);
    bool blank = false;
    for (const char c : name) {
        if (isBlank(c)) {
            blank = true;
            continue;
        }
        if (blank && !out.empty() && isWordByte(c)) {
            const char before = out.back();
            if (isWordByte(before) || before == '>' || before == ')' || before == ']') out += ' ';
        }
        blank = false;
        out += c;
        if (c == ',') {
            out += ' ';
            blank = false;
        }
    }
    // A "," that ends the name keeps no blank after it.
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string withoutTemplateArguments(std::string_view name) {
    if (name.find('<') == std::string_view::npos) return std::string(name);
    std::string plain;
    plain.reserve(name.size());
    forEachList(
        name, [&](std::size_t begin, std::size_t end) { plain += name.substr(begin, end - begin); },
        [](std::size_t, std::size_t) {});
    return plain;
}

std::string constructorName(std::string_view className) {
    std::string storage;
    return std::string(constructorName(className, storage));
}

std::string_view constructorName(std::string_view className, std::string& storage) {
    // The reader asks for every statement in a class: most names have no
    // template arguments, and their last part is a view of the name.
    std::string_view plain = className;
    if (className.find('<') != std::string_view::npos) {
        storage = withoutTemplateArguments(className);
        plain = storage;
    }
    const std::size_t colon = plain.rfind(':');
    return colon == std::string_view::npos ? plain : plain.substr(colon + 1);
}

std::string specialisationPageName(std::string_view name) {
    if (name.find('<') == std::string_view::npos) return std::string(name);
    static const char hex[] = "0123456789ABCDEF";
    std::string page;
    page.reserve(name.size() + 8);
    forEachList(
        name, [&](std::size_t begin, std::size_t end) { page += name.substr(begin, end - begin); },
        [&](std::size_t open, std::size_t close) {
            page += '-';
            for (std::size_t i = open + 1; i < close; ++i) {
                const char c = name[i];
                if (isWordByte(c) || c == ':' || c == '.') {
                    page += c;
                } else if (c == ',') {
                    page += '-';
                    while (i + 1 < close && isBlank(name[i + 1])) ++i;
                } else if (c == ' ') {
                    page += '+';
                } else {
                    const auto byte = static_cast<unsigned char>(c);
                    page += '~';
                    page += hex[byte >> 4];
                    page += hex[byte & 15];
                }
            }
        });
    return page;
}

std::size_t lastScopeSeparator(std::string_view name) {
    std::size_t found = std::string_view::npos;
    int depth = 0;
    for (std::size_t i = 0; i + 1 < name.size(); ++i) {
        const char c = name[i];
        if (c == '<' || c == '(' || c == '[') ++depth;
        else if ((c == '>' || c == ')' || c == ']') && depth > 0) --depth;
        else if (c == ':' && name[i + 1] == ':' && depth == 0) found = i++;
    }
    return found;
}

std::string sentSpecialisationBase(const ClassList& list, const CppClass& cls, const std::string& base) {
    if (base.find('<') == std::string::npos) return base;
    const std::string package = cls.getPackage();
    std::string_view written = base;
    if (written.rfind("::", 0) == 0) written.remove_prefix(2);  // the global scope
    std::string_view scope = cls.getName();
    for (std::size_t cut = lastScopeSeparator(scope); cut != std::string_view::npos;
         cut = lastScopeSeparator(scope)) {
        scope = scope.substr(0, cut);
        std::string nested(scope);
        nested += "::";
        nested += written;
        if (list.findClass(package, nested, false)) return base;
    }
    if (list.findClass(package, written, true)) return base;
    return withoutTemplateArguments(base);
}
