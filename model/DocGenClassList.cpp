#include "model/DocGenClassList.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/ModelText.h"

DocGenClassList::~DocGenClassList() = default;

namespace {

// A record that only definitions outside their class made: a class head
// gives every class it registers a kind, and the globals records are no
// classes.
bool madeByDefinitionsAlone(const CppClass& cls) {
    return cls.getLanguage() == 0 && cls.getKind().empty() && !isGlobalsClassName(cls.getName());
}

// The files of a class and of its members.
void addFilesOf(const CppClass& cls, const std::string& package, DocGenClassList::PackageFiles& files) {
    for (const InternedText& file : cls.getFileNames()) files.emplace(package, file.str());
    for (const CppClassMember* member : cls.getMembers())
        for (const InternedText& file : member->getFileNames()) files.emplace(package, file.str());
}

bool isCppNamespace(const CppClass& cls) { return cls.getLanguage() == 0 && cls.isNamespace(); }

}  // namespace

DocGenClassList::PackageFiles DocGenClassList::joinDefinitionsToDeclarations() {
    PackageFiles brought;
    // Each namespace that gave something away, with a namesake that took it.
    NamespaceHeirs heirs;
    std::vector<std::pair<Key, CppClass*>> definitionsAlone;
    for (const auto& [key, cls] : getClasses())
        if (madeByDefinitionsAlone(*cls)) definitionsAlone.emplace_back(key, cls);
    if (!definitionsAlone.empty()) {
        // Per name, the declared C++ classes of that name: the one, and how many.
        struct Declared {
            CppClass* cls = nullptr;
            int count = 0;
        };
        std::unordered_map<std::string_view, Declared> declared;
        for (const auto& [key, cls] : definitionsAlone) declared.try_emplace(cls->getName());
        for (const auto& [key, cls] : getClasses()) {
            if (cls->getLanguage() != 0 || madeByDefinitionsAlone(*cls)) continue;
            auto at = declared.find(key.second);
            if (at == declared.end()) continue;
            at->second.cls = cls;
            ++at->second.count;
        }
        for (const auto& [key, cls] : definitionsAlone) {
            const Declared& target = declared[cls->getName()];
            if (target.count != 1) continue;
            addFilesOf(*cls, target.cls->getPackage(), brought);
            target.cls->takeMembersOf(*cls);
            noteNamespaceLeft(key, *target.cls, heirs);
            retire(key, target.cls);
        }
    }
    joinNamespaceDefinitions(brought, heirs);
    return brought;
}

void DocGenClassList::noteNamespaceLeft(const Key& key, const CppClass& target, NamespaceHeirs& heirs) const {
    // A source that only defines members of classes declared elsewhere
    // ("namespace gfx { void Widget::draw() {} }") reopens the namespace for
    // them alone: the innermost namespace around the record gave it away.
    std::string_view scope = key.second;
    for (std::size_t end = scope.rfind("::"); end != std::string_view::npos; end = scope.rfind("::")) {
        scope = scope.substr(0, end);
        CppClass* around = lookup(key.first, scope);
        if (!around) continue;
        if (isCppNamespace(*around)) heirs.try_emplace(around, lookup(target.getPackage(), scope));
        return;
    }
}

void DocGenClassList::joinNamespaceDefinitions(PackageFiles& brought, NamespaceHeirs& heirs) {
    // The C++ namespaces of each name, in key order.
    std::unordered_map<std::string_view, std::vector<CppClass*>> byName;
    for (const auto& [key, cls] : getClasses())
        if (isCppNamespace(*cls)) byName[key.second].push_back(cls);
    for (const auto& [key, cls] : getClasses()) {
        if (!isCppNamespace(*cls)) continue;
        const std::vector<CppClass*>& namesakes = byName[key.second];
        if (namesakes.size() < 2) continue;
        std::vector<std::pair<const CppClassMember*, CppClass*>> moves;
        for (const CppClassMember* member : cls->getMembers()) {
            if (!member->isDefinitionOnly()) continue;
            CppClass* home = nullptr;
            int homes = 0;
            for (CppClass* other : namesakes) {
                if (other == cls) continue;
                const CppClassMember* declaration = other->findMemberLike(*member);
                if (declaration && !declaration->isDefinitionOnly()) {
                    home = other;
                    ++homes;
                }
            }
            if (homes == 1) moves.emplace_back(member, home);
        }
        for (const auto& [member, home] : moves) {
            for (const InternedText& file : member->getFileNames()) brought.emplace(home->getPackage(), file.str());
            home->addMemberLike(*member);
            cls->deleteMember(member);
            heirs.try_emplace(cls, home);
        }
    }
    if (heirs.empty()) return;
    // Inner namespaces first, so that an outer one that holds nothing once
    // they are gone goes too.
    std::vector<std::pair<Key, CppClass*>> candidates;
    for (auto it = getClasses().rbegin(); it != getClasses().rend(); ++it)
        if (isCppNamespace(*it->second)) candidates.emplace_back(it->first, it->second);
    for (const auto& [key, cls] : candidates) {
        auto heir = heirs.find(cls);
        if (heir == heirs.end() || !cls->getMembers().empty()) continue;
        const std::string inner = key.second + "::";
        auto next = getClasses().lower_bound(Key(key.first, inner));
        if (next != getClasses().end() && next->first.first == key.first && next->first.second.starts_with(inner))
            continue;
        CppClass* home = heir->second;
        if (home) {
            for (const InternedText& file : cls->getFileNames()) brought.emplace(home->getPackage(), file.str());
            home->mergeHeadFrom(*cls);
        }
        // The namespace around it gave its content away too: its heir is
        // the namespace around this one's, or else a namesake elsewhere.
        const std::size_t outerEnd = key.second.rfind("::");
        if (outerEnd != std::string::npos) {
            const std::string_view outerName = std::string_view(key.second).substr(0, outerEnd);
            if (CppClass* outer = lookup(key.first, outerName)) {
                CppClass* outerHome = home ? lookup(home->getPackage(), outerName) : nullptr;
                for (CppClass* namesake : byName[outer->getName()])
                    if (!outerHome && namesake != outer &&
                        lookup(namesake->getPackage(), namesake->getName()) == namesake)
                        outerHome = namesake;
                heirs.try_emplace(outer, outerHome);
            }
        }
        retire(key, home);
    }
}
