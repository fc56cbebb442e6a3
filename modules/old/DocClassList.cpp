#include "modules/old/DocClassList.h"

#include "model/CppClass.h"
#include "model/MemberIdentity.h"
#include "model/CppClassMember.h"
#include "VelkLib/VelkPath.h"
#include "modules/common/ClassPagePath.h"
#include "modules/old/OldRecords.h"
#include "modules/common/ModuleText.h"
#include "modules/common/PageEscape.h"

#include <algorithm>
#include <set>

namespace vantry_old {

DocClassList::DocClassList() = default;

// The open class goes before the registered ones, as in clear.
DocClassList::~DocClassList() { currentClass.reset(); }

void DocClassList::clear() {
    scopes.reset();
    nearestAncestors.clear();
    currentClass.reset();
    ClassList::clear();
    prepared = false;
    listingNames = ListingNames();
    fieldNames.clear();
    constants.clear();
}

int compareNames(const std::string& a, const std::string& b) {
    auto fold = [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int difference = fold(a[i]) - fold(b[i]);
        if (difference != 0) return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int compareClassNames(const CppClass* a, const CppClass* b) {
    return compareNames(a->getName(), b->getName());
}

std::vector<CppClass*> DocClassList::sortedClasses(const std::string& filter) const {
    std::vector<CppClass*> list;
    list.reserve(size());
    for (const auto& [key, cls] : getClasses())
        if (filter.empty() || key.first == filter) list.push_back(cls);
    std::stable_sort(list.begin(), list.end(), [](const CppClass* a, const CppClass* b) {
        return compareClassNames(a, b) < 0;
    });
    return list;
}

CppClass* DocClassList::findForClass(const CppClass& cls, const std::string& name) const {
    if (CppClass* found = findClass(cls.getPackage(), name, false)) return found;
    // A class of another package is taken by its name alone only when it
    // is of the same language: a C++ name never means a Java class.
    CppClass* other = findClass(cls.getPackage(), name, true);
    return other && other->getLanguage() == cls.getLanguage() ? other : nullptr;
}

const NameScopes& DocClassList::nameScopes() const {
    if (scopes) return *scopes;
    scopes = std::make_unique<NameScopes>(*this, sourceRoots, nullptr);
    scopes->setAncestors(
        [this](const CppClass& cls, const std::function<bool(const CppClass&)>& visit) {
            auto known = nearestAncestors.find(&cls);
            if (known == nearestAncestors.end()) {
                std::vector<CppClass*> nearest = ancestors(cls);
                std::reverse(nearest.begin(), nearest.end());
                known = nearestAncestors.emplace(&cls, std::move(nearest)).first;
            }
            for (const CppClass* ancestor : known->second)
                if (visit(*ancestor)) return true;
            return false;
        });
    return *scopes;
}

CppClass* DocClassList::resolveBase(const CppClass& cls, const std::string& baseName) const {
    if (baseName.empty()) return nullptr;
    if (NameScopes::followsImports(&cls)) return nameScopes().resolve(cls, baseName, true);
    const std::string separator = cls.getScopeSeparator();
    const std::string& name = cls.getName();
    std::size_t cut = name.rfind(separator);
    if (cut != std::string::npos) {
        std::string qualified = name.substr(0, cut + separator.size()) + baseName;
        if (CppClass* found = findForClass(cls, qualified)) return found;
    }
    return findForClass(cls, baseName);
}

CppClass* DocClassList::resolveTypeName(const CppClass& owner, const std::string& word) const {
    if (word.empty() || isKeyword(owner, word)) return nullptr;
    if (NameScopes::followsImports(&owner)) return nameScopes().resolve(owner, word, false);
    // A class nested in the owner (or declared in the owner namespace)
    // first, then the owner's siblings and the name as written.
    if (CppClass* nested = findForClass(owner, owner.getName() + owner.getScopeSeparator() + word))
        return nested;
    return resolveBase(owner, word);
}

std::vector<CppClass*> DocClassList::baseClasses(const CppClass& cls) const {
    std::vector<CppClass*> bases;
    for (const auto& entry : cls.getBases()) bases.push_back(resolveBase(cls, entry.first));
    return bases;
}

void DocClassList::collectAncestors(const CppClass& cls, std::vector<CppClass*>& out,
                                    std::unordered_set<const CppClass*>& seen) const {
    for (CppClass* base : baseClasses(cls)) {
        if (!base || !seen.insert(base).second) continue;
        collectAncestors(*base, out, seen);
        out.push_back(base);
    }
}

std::vector<CppClass*> DocClassList::ancestors(const CppClass& cls) const {
    std::vector<CppClass*> out;
    std::unordered_set<const CppClass*> seen{&cls};
    collectAncestors(cls, out, seen);
    return out;
}

namespace {

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '_' || c == ':';
}

}  // namespace

std::string linkTypeText(const DocClassList& list, const CppClass& owner,
                         const std::string& declaration, const std::string& linkPrefix,
                         const std::vector<std::string>& typeParameters) {
    std::string result;
    result.reserve(declaration.size() + declaration.size() / 2);
    // Java and C# name a class with its package or namespace, or through
    // the class it is nested in ("com.acme.Reader", "Map.Entry"): each word
    // of such a name is read with the words before it.
    const bool dotted = owner.getLanguage() == 1 || owner.getLanguage() == 2;
    std::size_t chainStart = std::string::npos;
    std::size_t i = 0;
    while (i < declaration.size()) {
        std::size_t start = i;
        if (!isWordChar(declaration[i])) {
            while (i < declaration.size() && !isWordChar(declaration[i])) ++i;
            appendEscapedHtml(result, std::string_view(declaration).substr(start, i - start));
            if (i - start != 1 || declaration[start] != '.' || start == 0) chainStart = std::string::npos;
            continue;
        }
        if (chainStart == std::string::npos || !dotted) chainStart = start;
        while (i < declaration.size() && isWordChar(declaration[i])) ++i;
        const std::string word = declaration.substr(start, i - start);
        const bool typeParameter =
            chainStart == start &&
            std::find(typeParameters.begin(), typeParameters.end(), word) != typeParameters.end();
        const CppClass* target =
            typeParameter ? nullptr
            : chainStart == start || isKeyword(owner, word)
                ? list.resolveTypeName(owner, word)
                : list.resolveTypeName(owner, declaration.substr(chainStart, i - chainStart));
        if (!target) {
            appendEscapedHtml(result, word);
            continue;
        }
        result += "<a href=\"";
        result += hrefEscape(target->getPageFile(linkPrefix));
        result += "\">";
        appendEscapedHtml(result, word);
        result += "</a>";
    }
    return result;
}

void DocClassList::prepare() {
    if (prepared) return;
    prepared = true;
    // Listings beside the class pages are named after their files: a class
    // with such a name has its page named apart before any link names it.
    if (settings.sourceDirectoryText == ".") {
        std::set<std::string> listings;
        for (const auto& entry : getClasses()) {
            for (const InternedText& file : entry.second->getFileNames()) {
                listings.insert(classPagePath("", entry.second->getPackage(), fileNameOf(file.str())));
                listingNames.add(entry.second->getPackage(), file.str());
            }
            for (const CppClassMember* member : entry.second->getMembers())
                for (const InternedText& file : member->getFileNames())
                    listingNames.add(entry.second->getPackage(), file.str());
        }
        for (const auto& entry : getClasses())
            if (auto* cls = dynamic_cast<DocCppClass*>(entry.second))
                cls->apartFromListing = listings.contains(cls->getPageFile(""));
    }
    for (const auto& entry : getClasses()) {
        CppClass& cls = *entry.second;
        for (CppClassMember* member : cls.getMembers()) {
            const std::string& declaration = member->getDeclaration();
            member->setDeclaration(linkTypeText(
                *this, cls, declaration, "../",
                member->hasArgumentList() && declaration.find('<') != std::string::npos
                    ? ownTypeParameterNames(declaration, member->getName())
                    : std::vector<std::string>()));
            if (!member->hasArgumentList()) fieldNames[&cls].insert(member->getName());
        }
    }
}

const CppClass* DocClassList::fieldDeclarer(const CppClass& cls, std::string_view name) const {
    auto declares = [&](const CppClass* c) {
        auto names = fieldNames.find(c);
        return names != fieldNames.end() && names->second.contains(name);
    };
    if (declares(&cls)) return &cls;
    const std::vector<CppClass*> above = ancestors(cls);
    for (auto at = above.rbegin(); at != above.rend(); ++at)
        if (declares(*at)) return *at;
    return nullptr;
}

}  // namespace vantry_old
