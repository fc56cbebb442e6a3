#include "model/CppClass.h"

#include "model/CppClassMember.h"
#include "model/MemberIdentity.h"
#include "model/ModelText.h"
#include "model/UnresolvedClass.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_set>

namespace {

const std::string staticWord = "static ";

bool startsWithStatic(const std::string& text) { return text.starts_with(staticWord); }

std::uint64_t nameHashOf(std::string_view name) { return std::hash<std::string_view>()(name); }

// The weight of an access word when two declarations disagree: the most
// restrictive explicit word wins and any explicit word beats none.
int accessWeight(const std::string& word) {
    if (word == "private") return 1;
    if (word == "protected") return 2;
    if (word == "public") return 3;
    if (word.empty()) return 100;
    return 0;
}

}  // namespace

CppClass::CppClass(CppClass* parent_, const DocOptions& options_, int language_,
                   bool isInterface, bool isNamespace)
    : CppClassEntity(options_),
      parent(parent_),
      interfaceFlag(isInterface),
      namespaceFlag(isNamespace),
      language(language_) {}

CppClass::~CppClass() { freeMembers(); }

std::string CppClass::getPageFile(const std::string& prefix) const {
    std::string dir = lastPathPart(package.str());
    std::string file = dir.empty() ? name + ".html" : dir + "/" + name + ".html";
    for (char& c : file) {
        if (c == ':') c = '.';
        else if (c == ' ' || c == '[' || c == ']') c = '_';
    }
    return prefix + file;
}

std::string CppClass::getQualifiedName() const {
    return package.empty() ? name : package.str() + "." + name;
}

void CppClass::setKind(const std::string& kind_) {
    kind = kind_;
    interfaceFlag = kind == "interface";
    namespaceFlag = kind == "namespace";
}

void CppClass::setPackage(const std::string& text) {
    package = lastPathPart(text);
    if (package.empty()) package = "(default)";
}

std::uint32_t CppClass::firstNamesake(std::uint64_t nameHash) const {
    if (nameSlots.empty()) {
        for (std::size_t i = 0; i < memberIndex.size(); ++i)
            if (memberIndex[i].nameHash == nameHash) return static_cast<std::uint32_t>(i);
        return noMember;
    }
    std::size_t mask = nameSlots.size() - 1;
    for (std::size_t at = nameHash & mask;; at = (at + 1) & mask) {
        const NameSlot& slot = nameSlots[at];
        if (slot.first == noMember) return noMember;
        if (memberIndex[slot.first].nameHash == nameHash) return slot.first;
    }
}

void CppClass::indexMember(std::uint32_t index) {
    std::uint64_t nameHash = memberIndex[index].nameHash;
    if (nameSlots.empty()) {
        // Below the threshold the chain is found by a walk over the hashes.
        for (std::size_t i = index; i-- > 0;) {
            if (memberIndex[i].nameHash == nameHash) {
                memberIndex[i].nextNamesake = index;
                break;
            }
        }
        if (memberIndex.size() > fewMembers) rebuildNameSlots(64);
        return;
    }
    if (2 * memberIndex.size() > nameSlots.size()) {
        rebuildNameSlots(2 * nameSlots.size());
        return;
    }
    std::size_t mask = nameSlots.size() - 1;
    for (std::size_t at = nameHash & mask;; at = (at + 1) & mask) {
        NameSlot& slot = nameSlots[at];
        if (slot.first == noMember) {
            slot.first = slot.last = index;
            return;
        }
        if (memberIndex[slot.first].nameHash == nameHash) {
            memberIndex[slot.last].nextNamesake = index;
            slot.last = index;
            return;
        }
    }
}

void CppClass::rebuildNameSlots(std::size_t slotCount) {
    // The chains are linked anew with the slots: the member whose addition
    // made the table grow is not in its chain yet.
    nameSlots.assign(slotCount, NameSlot());
    std::size_t mask = slotCount - 1;
    for (std::uint32_t index = 0; index < memberIndex.size(); ++index) {
        std::uint64_t nameHash = memberIndex[index].nameHash;
        memberIndex[index].nextNamesake = noMember;
        for (std::size_t at = nameHash & mask;; at = (at + 1) & mask) {
            NameSlot& slot = nameSlots[at];
            if (slot.first == noMember) {
                slot.first = slot.last = index;
                break;
            }
            if (memberIndex[slot.first].nameHash == nameHash) {
                memberIndex[slot.last].nextNamesake = index;
                slot.last = index;
                break;
            }
        }
    }
}

void CppClass::appendMember(CppClassMember* member, std::uint64_t nameHash) {
    member->owner = this;
    member->holder = this;
    auto index = static_cast<std::uint32_t>(members.size());
    // Most classes hold a few members: starting with room for several spares
    // the first regrowths of both lists.
    if (members.empty()) {
        members.reserve(8);
        memberIndex.reserve(8);
    }
    members.push_back(member);
    memberIndex.push_back(MemberName{nameHash, noMember});
    indexMember(index);
}

struct CppClass::NewDeclaration {
    NewDeclaration(const std::string& name_, const std::string& declaration_, bool hasArgumentList_,
                   const std::vector<std::string>& arguments, bool definedOutside_)
        : name(name_), declaration(declaration_), hasArgumentList(hasArgumentList_),
          definedOutside(definedOutside_), arguments(arguments), plainTypes(arguments),
          decayedTypes(arguments, true) {}

    const std::string& name;
    const std::string& declaration;  // as reconciled on "static " so far
    bool hasArgumentList;
    bool definedOutside;
    const std::vector<std::string>& arguments;
    ArgumentTypes plainTypes;
    ArgumentTypes decayedTypes;
    // Read from the declaration only when a namesake has the same
    // parameters: most calls meet none.
    std::string marks;
    bool marksRead = false;
    int isStatic = -1;  // -1 until read
    // The names of the function's own template parameters, read when
    // first needed.
    std::vector<std::string> ownParameters;
    bool ownParametersRead = false;
};

bool CppClass::declaresSame(const CppClassMember& m, NewDeclaration& fresh) const {
    // A function is one member with another declaration of the same
    // argument types, own template parameters and qualifiers only (an
    // overload without arguments, a template beside a plain function,
    // one for const objects, are members of their own); a variable
    // merges with a variable of its name.
    if (m.getName() != fresh.name || m.hasArgs != fresh.hasArgumentList) return false;
    if (!fresh.hasArgumentList) return true;
    const bool decay = language == 0 && (fresh.definedOutside || m.definedOutside);
    if (!(decay ? fresh.decayedTypes.sameAs(m.arguments, name) : fresh.plainTypes.sameAs(m.arguments, name)) &&
        !sameUnderOwnParameters(m, fresh, decay))
        return false;
    if (!fresh.marksRead) {
        fresh.marks = overloadMarks(fresh.declaration, fresh.name);
        fresh.marksRead = true;
    }
    if (overloadMarks(m.declaration, fresh.name) != fresh.marks) return false;
    // A C# class cannot declare a member twice, once static and once not:
    // a static constructor is another member than the instance one.
    if (language != kCSharp) return true;
    if (fresh.isStatic < 0) fresh.isStatic = declaredStatic(fresh.declaration, fresh.name) ? 1 : 0;
    return declaredStatic(m.declaration, fresh.name) == (fresh.isStatic == 1);
}

bool CppClass::sameUnderOwnParameters(const CppClassMember& m, NewDeclaration& fresh, bool decay) const {
    // A member template defined outside its class may name its own
    // parameters otherwise than its declaration does ("template <class F>
    // void map(F)" and "template <class G> void Box<T>::map(G) {}").
    if (!decay || fresh.arguments.empty() || (!fresh.definedOutside && !m.definedOutside) ||
        m.declaration.compare(0, 8, "template") != 0 || fresh.declaration.compare(0, 8, "template") != 0)
        return false;
    if (!fresh.ownParametersRead) {
        fresh.ownParameters = ownTemplateParameterNames(fresh.declaration);
        fresh.ownParametersRead = true;
    }
    if (fresh.ownParameters.empty()) return false;
    const std::vector<std::string> held = ownTemplateParameterNames(m.declaration);
    if (held.size() != fresh.ownParameters.size() || held == fresh.ownParameters) return false;
    return sameArguments(withWordsRenamed(fresh.arguments, fresh.ownParameters, held), m.arguments, name, true);
}

const CppClassMember* CppClass::findMemberLike(const CppClassMember& held) const {
    // "static " reconciliation changes no outcome of declaresSame.
    NewDeclaration fresh(held.getName(), held.declaration, held.hasArgs, held.arguments, held.definedOutside);
    for (std::uint32_t index = firstNamesake(nameHashOf(held.getName())); index != noMember;
         index = memberIndex[index].nextNamesake)
        if (declaresSame(*members[index], fresh)) return members[index];
    return nullptr;
}

CppClassMember* CppClass::addMember(const std::string& memberName,
                                    const std::string& declaration_, const std::string& access,
                                    const std::string& comment_, bool hasArgumentList,
                                    const std::string& fileName,
                                    const std::vector<std::string>& arguments,
                                    CppClassMember* member, bool dotFlag, bool definedOutside,
                                    bool definition) {
    // The call is kept apart unless its new member, left as made, stands
    // for it (callsInMembers); the first call that does otherwise ends that.
    bool callKept = false;
    auto keepCall = [&] {
        if (callKept || !memberCalls) return;
        if (callsInMembers) keepCallsApart();
        memberCalls->push_back(MemberCall{memberName, declaration_, access, comment_,
                                          hasArgumentList, fileName, arguments, dotFlag,
                                          definedOutside, definition, {}, nullptr});
        callKept = true;
    };
    if (!callsInMembers) keepCall();
    std::string declaration = dotFlag ? replaceAll(declaration_, "::", ".") : declaration_;

    // Only namesakes can match (members whose name, when added, had the
    // same hash); they are visited in list order, and each is reconciled on
    // "static " before it is tested, as a full walk would.
    CppClassMember* match = nullptr;
    NewDeclaration fresh(memberName, declaration, hasArgumentList, arguments, definedOutside);
    std::uint64_t nameHash = nameHashOf(memberName);
    for (std::uint32_t index = firstNamesake(nameHash); index != noMember;
         index = memberIndex[index].nextNamesake) {
        CppClassMember* m = members[index];
        // C++ writes "static" on a member's declaration only, not on its
        // definition; C# has nothing of the kind (declaresSame).
        if (language != kCSharp && startsWithStatic(declaration)) {
            if (declaration.size() == staticWord.size() + m->declaration.size() &&
                declaration.compare(staticWord.size(), std::string::npos, m->declaration) == 0) {
                keepCall();
                m->declaration = declaration;
            }
        } else if (language != kCSharp && m->declaration.size() == staticWord.size() + declaration.size() &&
                   startsWithStatic(m->declaration) &&
                   m->declaration.compare(staticWord.size(), std::string::npos,
                                          declaration) == 0) {
            keepCall();
            declaration = m->declaration;
        }
        if (declaresSame(*m, fresh)) {
            match = m;
            break;
        }
    }

    if (match) {
        keepCall();
        if (match->definitionOnly && !definition) {
            // The declaration says what the definitions alone said.
            match->declaration = std::move(declaration);
            if (hasArgumentList) match->arguments = arguments;
            if (!comment_.empty()) match->comment = comment_;
            match->definitionOnly = false;
        } else {
            // A definition's text never stands for its declaration's.
            if (definition == match->definitionOnly && declaration.size() > match->declaration.size())
                match->declaration = std::move(declaration);
            if (!comment_.empty() && match->comment.empty()) match->comment = comment_;
            if (match->arguments.empty()) match->arguments = arguments;
        }
        if (!access.empty() && accessWeight(access) < accessWeight(match->access.str()))
            match->access = access;
        match->addFileName(fileName);
        addFileName(fileName);
        // The caller may hand in the very member it got back earlier.
        if (member != match && !(member && member->holder == this)) delete member;
        if (callKept) memberCalls->back().left = match;
        return match;
    }

    if (!member || member->holder == this) keepCall();
    if (!member) return nullptr;
    if (member->holder == this) {
        if (callKept) memberCalls->back().left = member;
        return member;  // already held: nothing to take over
    }
    member->setName(memberName);
    member->declaration = std::move(declaration);
    member->access = access;
    member->setComment(comment_);
    member->hasArgs = hasArgumentList;
    member->definedOutside = definedOutside;
    member->definitionOnly = definition;
    member->arguments = arguments;
    member->addFileName(fileName);
    addFileName(fileName);
    appendMember(member, nameHash);
    if (callKept) memberCalls->back().left = member;
    return member;
}

void CppClass::appendMemberComment(CppClassMember& member, const std::string& text) {
    if (text.empty()) return;
    if (member.holder == this && memberCalls) {
        // The text is no part of the call's own comment: a call that merges
        // keeps the comment held, but the text is added all the same. So
        // the members no longer stand for their calls.
        if (callsInMembers) keepCallsApart();
        for (auto call = memberCalls->rbegin(); call != memberCalls->rend(); ++call) {
            if (call->left == &member) {
                call->appended += text;
                break;
            }
        }
    }
    member.setComment(member.getComment() + text);
}

void CppClass::remakeMembers() {
    for (CppClassMember*& member : members) {
        CppClassMember* copy = member->clone(member->owner);
        copy->holder = this;
        delete member;
        member = copy;
    }
}

void CppClass::deleteMembers() {
    if (callsInMembers && !members.empty()) keepCallsApart();
    freeMembers();
}

void CppClass::keepCallsApart() {
    callsInMembers = false;
    memberCalls->reserve(memberCalls->size() + members.size());
    for (const CppClassMember* m : members) {
        const std::vector<InternedText>& files = m->getFileNames();
        // The declaration as stored: "::" made "." already, if the call asked.
        memberCalls->push_back(MemberCall{m->getName(), m->declaration, m->access.str(),
                                          m->getComment(), m->hasArgs,
                                          files.empty() ? std::string() : files.front().str(),
                                          m->arguments, false, m->definedOutside, m->definitionOnly, {}, m});
    }
}

void CppClass::freeMembers() {
    for (CppClassMember* m : members) delete m;
    members.clear();
    memberIndex.clear();
    nameSlots.clear();
    if (!placeholders.empty()) {
        // Entries naming a placeholder would dangle once it is gone.
        std::unordered_set<const CppClass*> doomed(placeholders.begin(), placeholders.end());
        std::erase_if(bases, [&](const auto& entry) { return doomed.contains(entry.second); });
        for (UnresolvedClass* p : placeholders) delete p;
        placeholders.clear();
    }
}

UnresolvedClass* CppClass::newUnresolvedBase(const std::string& baseName, bool isInterface) {
    auto* placeholder = new UnresolvedClass(parent, getOptions(), baseName, isInterface, language);
    placeholders.push_back(placeholder);
    return placeholder;
}

void CppClass::addBase(const std::string& baseName, bool isInterface) {
    if (hasBase(baseName, "", true)) return;
    bases[baseName] = newUnresolvedBase(baseName, isInterface);
}

void CppClass::resolveBase(const std::string& baseName, CppClass* cls) {
    if (hasBase(baseName, "", true)) return;
    if (!cls || cls->isUnresolved())
        bases[baseName] = newUnresolvedBase(baseName, cls && cls->isInterface());
    else
        bases[baseName] = cls;
}

const std::string& CppClass::writtenBase(const std::string& baseName) const {
    for (const auto& [name, written] : writtenBases)
        if (name == baseName) return written;
    return baseName;
}

void CppClass::setWrittenBase(const std::string& baseName, const std::string& written) {
    if (written == baseName || &writtenBase(baseName) != &baseName) return;
    writtenBases.emplace_back(baseName, written);
}

bool CppClass::hasBase(const std::string& baseName, const std::string& qualifier,
                       bool useSeparator) const {
    if (baseName.empty()) return bases.empty();
    if (bases.contains(baseName)) return true;
    if (!qualifier.empty() && bases.contains(qualifier + "." + baseName)) return true;
    if (useSeparator && bases.contains(textAfterLast(baseName, getScopeSeparator())))
        return true;
    return false;
}

std::string CppClass::getBaseList(const std::string& separator, bool marks,
                                  const std::function<std::string(const std::string&)>& nameOf) const {
    std::string list;
    bool first = true;
    bool hasClassBase = false;
    // Bases that nameOf writes alike ("Base<1>" and "Base<2>" both as
    // "Base") are one entry.
    std::vector<std::string> sent;
    for (const auto& [baseName, base] : bases) {
        std::string shown = nameOf ? nameOf(baseName) : std::string();
        if (nameOf) {
            if (std::find(sent.begin(), sent.end(), shown) != sent.end()) continue;
            sent.push_back(shown);
        }
        if (!first) list += separator;
        first = false;
        list += nameOf ? shown : baseName;
        bool baseIsInterface = base && base->isInterface();
        if (!baseIsInterface) hasClassBase = true;
        if (marks) list += baseIsInterface ? ",t" : ",f";
        const std::string& written = writtenBase(baseName);
        if (marks && written != (nameOf ? shown : baseName)) {
            list += ",=";
            for (char c : written) {
                if (c == '\\' || c == '|' || c == ',') list += '\\';
                list += c;
            }
        }
    }
    if (!isInterface() && !hasClassBase && language != 0) {
        std::string root;
        if (language == 2) root = "Object";
        else if (!isGlobalsClassName(name) && kind != "namespace") root = "System.Object";
        if (!first) list += separator;
        list += root;
        if (marks) list += ",f";
    }
    return list;
}

void CppClass::cloneMembersOf(const CppClass& other) {
    // Copies stand for no call of this class.
    if (callsInMembers) keepCallsApart();
    members.reserve(members.size() + other.members.size());
    memberIndex.reserve(members.capacity());
    for (const CppClassMember* m : other.members) {
        CppClassMember* copy = m->clone(this);
        appendMember(copy, nameHashOf(copy->getName()));
    }
}

void CppClass::copyFrom(const CppClass& other) {
    if (&other == this) return;
    deleteMembers();
    bases.clear();
    copyEntity(other);
    for (const auto& [baseName, base] : other.bases) {
        if (!base || base->isUnresolved())
            bases[baseName] = newUnresolvedBase(baseName, base && base->isInterface());
        else
            bases[baseName] = base;
    }
    writtenBases = other.writtenBases;
    sourceDirectory = other.sourceDirectory;
    package = other.package;
    cloneMembersOf(other);
    interfaceFlag = other.interfaceFlag;
    namespaceFlag = other.namespaceFlag;
    // An empty kind would clear flags the other was built with.
    if (!other.kind.empty()) setKind(other.kind.str());
    parent = other.parent;
    language = other.language;
}

void CppClass::mergeFrom(const CppClass& other) {
    if (&other == this) return;
    const bool takeMembers = members.empty();
    mergeHeadFrom(other);
    if (takeMembers && !other.members.empty()) {
        cloneMembersOf(other);
        unkeptMembers = true;
    }
}

void CppClass::mergeHeadFrom(const CppClass& other) {
    if (&other == this) return;
    for (const InternedText& f : other.fileNames) addFileName(f);
    if (comment.empty()) {
        comment = other.comment;
    } else if (language == kCSharp && other.language == kCSharp && !other.comment.empty() &&
               comment.find(other.comment) == std::string::npos) {
        // Each part of a C# partial class may carry its own comment, and the
        // compiler documents the class with all of them, in the order read.
        comment += '\n';
        comment += other.comment;
    }
    for (const auto& [baseName, base] : other.bases) resolveBase(baseName, base);
    for (const auto& [baseName, written] : other.writtenBases) setWrittenBase(baseName, written);
    if (sourceDirectory.empty()) sourceDirectory = other.sourceDirectory;
    if (package.empty()) package = other.package;
    if (kind.empty() && !other.kind.empty()) setKind(other.kind.str());
    if (language == 3) language = other.language;
}

void CppClass::takeMembersOf(CppClass& other) {
    if (&other == this) return;
    for (const CppClassMember* m : other.members) addMemberLike(*m);
    other.deleteMembers();
}

CppClassMember* CppClass::addMemberLike(const CppClassMember& held) {
    // The declaration as stored: "::" made "." already, if its call asked.
    const std::vector<InternedText>& files = held.getFileNames();
    CppClassMember* taken =
        addMember(held.getName(), held.declaration, held.access.str(), held.getComment(), held.hasArgs,
                  files.empty() ? std::string() : files.front().str(), held.arguments, newMember(), false,
                  held.definedOutside, held.definitionOnly);
    for (std::size_t i = 1; taken && i < files.size(); ++i) {
        taken->addFileName(files[i].str());
        addFileName(files[i].str());
    }
    return taken;
}

void CppClass::deleteMember(const CppClassMember* member) {
    auto at = std::find(members.begin(), members.end(), member);
    if (at == members.end()) return;
    // Calls kept apart no longer tell what the class holds; while the
    // members are the calls, the member's call goes with it.
    if (memberCalls && !callsInMembers) unkeptMembers = true;
    const auto position = at - members.begin();
    delete *at;
    members.erase(at);
    memberIndex.erase(memberIndex.begin() + position);
    // The namesake chains are linked anew over the members that stay,
    // under the hashes their names had when added.
    nameSlots.clear();
    for (MemberName& entry : memberIndex) entry.nextNamesake = noMember;
    if (memberIndex.size() > fewMembers) {
        std::size_t slotCount = 64;
        while (2 * memberIndex.size() > slotCount) slotCount *= 2;
        rebuildNameSlots(slotCount);
        return;
    }
    for (std::uint32_t i = 0; i < memberIndex.size(); ++i)
        for (std::uint32_t j = i + 1; j < memberIndex.size(); ++j)
            if (memberIndex[j].nameHash == memberIndex[i].nameHash) {
                memberIndex[i].nextNamesake = j;
                break;
            }
}

void CppClass::recordMemberCalls(bool on) {
    if (on) {
        memberCalls = std::make_unique<std::vector<MemberCall>>();
        unkeptMembers = !members.empty();
        callsInMembers = members.empty();
    } else {
        memberCalls.reset();
        unkeptMembers = false;
        callsInMembers = false;
    }
}

void CppClass::replayMemberCallsOf(CppClass& other) {
    if (&other == this || !other.memberCalls || other.unkeptMembers) return;
    if (other.callsInMembers) other.keepCallsApart();
    std::unique_ptr<std::vector<MemberCall>> calls = std::move(other.memberCalls);
    other.deleteMembers();
    for (const MemberCall& call : *calls) {
        CppClassMember* m = addMember(call.name, call.declaration, call.access, call.comment,
                                      call.hasArgumentList, call.fileName, call.arguments, newMember(),
                                      call.dotFlag, call.definedOutside, call.definition);
        if (m && !call.appended.empty()) appendMemberComment(*m, call.appended);
    }
}
