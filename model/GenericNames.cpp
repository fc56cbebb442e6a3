#include "model/GenericNames.h"

#include <algorithm>

namespace {

bool opens(char c) { return c == '<' || c == '{' || c == '(' || c == '['; }
bool closes(char c) { return c == '>' || c == '}' || c == ')' || c == ']'; }

// Calls part(begin, end) for each part of the name: the texts between the
// "."s that stand outside brackets.
template <typename Part>
void forEachPart(std::string_view name, Part part) {
    std::size_t begin = 0;
    int depth = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (opens(c)) ++depth;
        else if (closes(c) && depth > 0) --depth;
        else if (c == '.' && depth == 0) {
            part(begin, i);
            begin = i + 1;
        }
    }
    part(begin, name.size());
}

}  // namespace

std::size_t typeParameterListStart(std::string_view text) {
    if (text.empty() || (text.back() != '>' && text.back() != '}')) return text.size();
    int depth = 0;
    for (std::size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        if (closes(c)) ++depth;
        else if (opens(c) && --depth == 0)
            return (c == '<' || c == '{') && i > 0 ? i : text.size();
    }
    return text.size();
}

std::size_t typeParameterCount(std::string_view text) {
    const std::size_t start = typeParameterListStart(text);
    if (start == text.size()) return 0;
    std::size_t count = 1;
    int depth = 0;
    for (std::size_t i = start + 1; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (opens(c)) ++depth;
        else if (closes(c) && depth > 0) --depth;
        else if (c == ',' && depth == 0) ++count;
    }
    return count;
}

std::string_view withoutTypeParameters(std::string_view text) {
    return text.substr(0, typeParameterListStart(text));
}

std::string genericKey(std::string_view name) {
    if (name.find_first_of("<{") == std::string_view::npos) return std::string(name);
    std::string key;
    key.reserve(name.size());
    forEachPart(name, [&](std::size_t begin, std::size_t end) {
        if (begin > 0) key += '.';
        const std::string_view part = name.substr(begin, end - begin);
        key += withoutTypeParameters(part);
        if (const std::size_t count = typeParameterCount(part)) {
            key += '`';
            key += std::to_string(count);
        }
    });
    return key;
}

std::string withoutAnyTypeParameters(std::string_view name) {
    if (name.find_first_of("<{") == std::string_view::npos) return std::string(name);
    std::string plain;
    plain.reserve(name.size());
    forEachPart(name, [&](std::size_t begin, std::size_t end) {
        if (begin > 0) plain += '.';
        plain += withoutTypeParameters(name.substr(begin, end - begin));
    });
    return plain;
}

#include "model/ClassList.h"
#include "model/CppClass.h"

namespace {

std::vector<std::string_view> partsOf(std::string_view name) {
    std::vector<std::string_view> parts;
    forEachPart(name, [&](std::size_t begin, std::size_t end) {
        parts.push_back(name.substr(begin, end - begin));
    });
    return parts;
}

// The text before the name's last part, "" for a name of one part.
std::string_view enclosingParts(std::string_view name) {
    std::size_t last = 0;
    forEachPart(name, [&](std::size_t begin, std::size_t) { last = begin; });
    return last == 0 ? std::string_view() : name.substr(0, last - 1);
}

}  // namespace

GenericTwins::GenericTwins(const ClassList& classes) {
    bool generic = false;
    for (const auto& [key, cls] : classes.getClasses())
        if (cls->getLanguage() == CppClass::kCSharp && key.second.find('<') != std::string::npos) {
            generic = true;
            break;
        }
    if (!generic) return;
    for (const auto& [key, cls] : classes.getClasses()) {
        if (cls->getLanguage() != CppClass::kCSharp) continue;
        const std::string& name = key.second;
        std::string enclosing;
        for (std::string_view part : partsOf(name)) {
            std::vector<std::size_t>& seen =
                counts[{key.first, enclosing, std::string(withoutTypeParameters(part))}];
            const std::size_t count = typeParameterCount(part);
            if (std::find(seen.begin(), seen.end(), count) == seen.end()) seen.push_back(count);
            if (!enclosing.empty()) enclosing += '.';
            enclosing += genericKey(part);
        }
        if (name.find('<') == std::string::npos) continue;
        std::string generic = genericKey(name);
        byKey[{key.first, generic}] = cls;
        byKeyName[std::move(generic)] = cls;
    }
}

std::string GenericTwins::sentName(const std::string& package, std::string_view name) const {
    if (name.find('<') == std::string_view::npos) return std::string(name);
    std::string sent, enclosing;
    for (std::string_view part : partsOf(name)) {
        if (!sent.empty()) sent += '.';
        // The enclosing parts as the constructor counted them: without a
        // "." after the last one.
        const std::string_view plain = withoutTypeParameters(part);
        auto found = counts.find({package, enclosing, std::string(plain)});
        sent += found != counts.end() && found->second.size() > 1 ? part : plain;
        if (!enclosing.empty()) enclosing += '.';
        enclosing += genericKey(part);
    }
    return sent;
}

std::string GenericTwins::className(const CppClass& cls) const {
    return sentName(cls.getPackage(), cls.getName());
}

std::string GenericTwins::containerText(const CppClass& cls) const {
    return sentName(cls.getPackage(), cls.getText());
}

const CppClass* GenericTwins::findGeneric(const CppClass& cls, std::string_view base) const {
    if (byKey.empty()) return nullptr;
    const std::string key = genericKey(base);
    const std::string package = cls.getPackage();
    auto at = [&](const std::string& scope, const std::string& name) -> const CppClass* {
        auto found = byKey.find({scope, name});
        return found == byKey.end() ? nullptr : found->second;
    };
    // As a module resolves a base: beside the class in its enclosing
    // class, then the name split into namespace and class, then in the
    // class's own namespace, then by name alone.
    if (!cls.getText().empty()) {
        const std::string_view outer = enclosingParts(cls.getName());
        if (!outer.empty())
            if (const CppClass* sibling = at(package, genericKey(outer) + "." + key)) return sibling;
    }
    for (std::size_t dot = key.rfind('.'); dot != std::string::npos;
         dot = dot == 0 ? std::string::npos : key.rfind('.', dot - 1))
        if (const CppClass* found = at(key.substr(0, dot), key.substr(dot + 1))) return found;
    if (const CppClass* found = at(package, key)) return found;
    auto byName = byKeyName.find(key);
    return byName == byKeyName.end() ? nullptr : byName->second;
}

std::string GenericTwins::baseName(const CppClass& cls, const std::string& base) const {
    if (base.find('<') == std::string::npos) return base;
    const CppClass* target = findGeneric(cls, base);
    const std::string sent = target ? className(*target) : std::string();
    if (sent.find('<') == std::string::npos) return withoutAnyTypeParameters(base);
    // The parts written name the target's last parts; a namespace written
    // before them stays as written.
    const std::vector<std::string_view> written = partsOf(base);
    const std::vector<std::string_view> own = partsOf(sent);
    std::string name;
    const std::size_t shared = std::min(written.size(), own.size());
    for (std::size_t i = 0; i + shared < written.size(); ++i) {
        name += withoutTypeParameters(written[i]);
        name += '.';
    }
    for (std::size_t i = own.size() - shared; i < own.size(); ++i) {
        if (i > own.size() - shared) name += '.';
        name += own[i];
    }
    return name;
}
