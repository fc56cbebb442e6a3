// One documented type or scope: class, struct, union, interface, enum,
// namespace, a typedef record, or the globals record of a package. A class
// owns its members and the placeholders made for its unresolved bases; the
// classes its bases resolve to belong to the class list.
#pragma once

#include "model/CppClassEntity.h"
#include "model/InternedText.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ClassList;
class CppClassMember;
class UnresolvedClass;

class CppClass : public CppClassEntity {
public:
    // The language code of C# classes.
    static constexpr int kCSharp = 1;

    // language: 0 C++, 1 C#, 2 Java, 3 not determined. parent is the
    // enclosing class or scope (not owned, may be null). All texts start
    // empty, the package too.
    CppClass(CppClass* parent, const DocOptions& options, int language, bool isInterface,
             bool isNamespace);
    // Deletes the members and the placeholders; base classes held by the
    // class list are left alone.
    ~CppClass() override;

    CppClass* getClass() const override { return const_cast<CppClass*>(this); }
    std::string getPackage() const override { return package.str(); }
    // prefix + D + "/" + name + ".html" (no directory when D is empty),
    // where D is the package after its last '/' or '\'; after the prefix
    // every ':' becomes '.', every blank, '[' and ']' becomes '_'.
    std::string getPageFile(const std::string& prefix) const override;
    // package + "." + name, or the name alone when the package is empty.
    std::string getQualifiedName() const override;

    // Makes this class a copy of other: members cloned with this class as
    // owner, unresolved bases given placeholders of this class's own,
    // resolved bases shared. The container text is not copied.
    virtual void copyFrom(const CppClass& other);
    // A copy of this class of the same record type; the caller owns it.
    virtual CppClass* clone() const = 0;
    virtual bool isInterface() const { return interfaceFlag; }
    virtual bool isNamespace() const { return namespaceFlag; }
    virtual bool isUnresolved() const { return false; }

    // Stores the kind word; the interface flag becomes kind == "interface",
    // the namespace flag kind == "namespace".
    void setKind(const std::string& kind);
    const std::string& getKind() const { return kind.str(); }
    // Stores the part after the last '/' or '\'; an empty result is stored
    // as "(default)".
    void setPackage(const std::string& text);
    // The container text: the class or namespace within which the parser met
    // the declaration; "" when none.
    void setText(const std::string& text) { containerText = text; }
    const std::string& getText() const { return containerText.str(); }
    // The directory of the source file in which the parser met the class.
    const std::string& getSourceDirectory() const { return sourceDirectory.str(); }
    void setSourceDirectory(const std::string& directory) { sourceDirectory = directory; }
    std::string getDetailText() const { return containerText.str(); }
    CppClass* getParent() const { return parent; }
    int getLanguage() const { return language; }
    void setLanguage(int value) { language = value; }

    // Adds a member declaration, or merges it into a member already held
    // with the same name and, for a function, the same argument types in
    // this class (sameArguments) and the same overloadMarks of the two
    // declarations (model/MemberIdentity.h); a variable merges with a
    // variable of the same name. member is the
    // new object to fill; its ownership passes to this class, which keeps it
    // when the declaration is new and deletes it when it merges. Returns the
    // member that holds the declaration afterwards; null only when member
    // is null and nothing merged. dotFlag turns every "::" of the
    // declaration into ".". definedOutside: a C++ definition written
    // outside the class; between it and a declaration of a C++ class a
    // parameter declared as an array is the pointer it decays to, as the
    // compiler matches them ("int a[]" and "int* a"). Two declarations in
    // class bodies (of two specialisations that share the record) stay
    // apart however their parameters are written. In a C# class a function
    // declared static (a static constructor) is another member than one
    // that is not (declaredStatic).
    // definition: the declaration is a function's definition (with a body,
    // or outside its class). Merged into a member that a declaration
    // without one made, it adds only a comment the member lacks; a
    // declaration merged into a member that only definitions made gives it
    // its text, its arguments and, when it has one, its comment. Between two
    // of a kind the longer text stands and the first comment.
    CppClassMember* addMember(const std::string& name, const std::string& declaration,
                              const std::string& access, const std::string& comment,
                              bool hasArgumentList, const std::string& fileName,
                              const std::vector<std::string>& arguments,
                              CppClassMember* member, bool dotFlag, bool definedOutside = false,
                              bool definition = false);
    // Adds text to the comment of member, as the parser does for a comment
    // written after the member's declaration (the declaration already
    // added). When this class holds the member and keeps its calls
    // (recordMemberCalls), making them again adds the text there too, to
    // the member the last call that left this one leaves then.
    void appendMemberComment(CppClassMember& member, const std::string& text);
    // The member here that addMemberLike(held) would merge held's
    // declaration into; null when it would add a new member. Changes
    // nothing.
    const CppClassMember* findMemberLike(const CppClassMember& held) const;
    // Members in the order first added. Renaming a member after adding it is
    // not seen by later merges.
    const std::vector<CppClassMember*>& getMembers() const { return members; }
    // Deletes every member and every placeholder; base entries that named a
    // placeholder go with it.
    void deleteMembers();
    // Makes every member again, in place, on the calling thread and deletes
    // the one it replaces. A member made on another thread lies in that
    // thread's memory; once made again, its memory goes back to that thread
    // while the copy's is the calling thread's to reuse when it is freed.
    void remakeMembers();

    // Base table: base name as written -> class it stands for.
    const std::map<std::string, CppClass*>& getBases() const { return bases; }
    // Enters name -> a new placeholder unless hasBase(name, "", true).
    void addBase(const std::string& name, bool isInterface);
    // Enters name -> cls (or a new placeholder when cls is unresolved or
    // null) unless hasBase(name, "", true).
    void resolveBase(const std::string& name, CppClass* cls);
    // For an empty name: true when there are no bases. Otherwise true when
    // the name is a key, or qualifier + "." + name is (non-empty qualifier),
    // or, with useSeparator, the part after the name's last scope separator.
    bool hasBase(const std::string& name, const std::string& qualifier,
                 bool useSeparator) const;
    // The base entry `name` as the class head writes it, type arguments kept
    // ("Handler<string>" for the entry "Handler<>", "AbstractList<E>" for
    // "AbstractList"); the name itself where the head wrote nothing else.
    const std::string& writtenBase(const std::string& name) const;
    // Notes how the head writes the base entry `name`, unless a text is
    // noted for it already; a text equal to the name notes nothing.
    void setWrittenBase(const std::string& name, const std::string& written);
    // A new placeholder with this class's parent, options and language,
    // owned by this class. Not entered in the base table.
    UnresolvedClass* newUnresolvedBase(const std::string& name, bool isInterface);
    // The base names in name order joined by separator, each followed by
    // ",t"/",f" when marks is set, and then by ",=" and its writtenBase
    // ("\", "|" and "," in it after a "\") where that differs from the
    // name written; then the implicit root entry ("Object"
    // for Java, "System.Object" otherwise, "" for C#-style namespaces and
    // globals records) for a non-C++ non-interface class without a class base.
    // nameOf, when given, gives the name each base is written with; bases
    // it writes alike are written once, where the first stands.
    std::string getBaseList(const std::string& separator, bool marks = false,
                            const std::function<std::string(const std::string&)>& nameOf = {}) const;

    // Merges a second registration of the same class into this one: file
    // names, missing texts, bases, and the other's members when this class
    // has none. other is left unchanged; merging a class into itself does
    // nothing.
    void mergeFrom(const CppClass& other);
    // mergeFrom without the members.
    void mergeHeadFrom(const CppClass& other);
    // Adds each of other's members here, in other's order, as its
    // declaration would have been added (addMember: merged with the
    // declaration held here of the same member, whose text, access and
    // comment stand unless it has none), with its file names, which this
    // class takes too; then deletes other's members. Needs a record type
    // that makes members (newMember).
    void takeMembersOf(CppClass& other);
    // Adds the declaration of another class's member here as takeMembersOf
    // adds each (held itself is left as it is); returns the member here
    // that holds it.
    CppClassMember* addMemberLike(const CppClassMember& held);
    // Deletes the member, one of this class's; the others keep their order.
    void deleteMember(const CppClassMember* member);

    // A class parsed apart may have its declarations made again in another
    // class that stands for the same scope. With recording on, every
    // addMember call is kept as it was made (merging is not associative:
    // two declarations that merged here could each have merged with a
    // different member there). Turning it on clears what was kept. While
    // each call has made one new member and changed no other, the members
    // are the calls and nothing is copied: most records never join another.
    void recordMemberCalls(bool on);
    bool recordsMemberCalls() const { return memberCalls != nullptr; }
    // True when the class held members that no kept call made: members
    // added before recording began, or taken from a registration merged in.
    bool hasUnkeptMembers() const { return unkeptMembers; }
    std::size_t keptMemberCalls() const {
        if (!memberCalls) return 0;
        return callsInMembers ? members.size() : memberCalls->size();
    }
    // Makes other's kept calls here, in their order, each with a member
    // of this class's record type, then deletes other's members. Only for
    // a class that recordsMemberCalls and has no unkept members.
    void replayMemberCallsOf(CppClass& other);
    // A new member of this class's record type, owned by the caller, or
    // null for a record type that makes none.
    virtual CppClassMember* newMember() { return nullptr; }

private:
    // nameHash: the hash of the member's name, as addMember has it.
    void appendMember(CppClassMember* member, std::uint64_t nameHash);
    // A new declaration while the members of its name are compared with it
    // (what it takes to compare is worked out once, when first needed).
    struct NewDeclaration;
    // True when held is the member that the new declaration declares.
    bool declaresSame(const CppClassMember& held, NewDeclaration& fresh) const;
    // True when held's arguments are fresh's once fresh's own template
    // parameters bear held's names (a C++ definition outside the class).
    bool sameUnderOwnParameters(const CppClassMember& held, NewDeclaration& fresh, bool decay) const;
    void cloneMembersOf(const CppClass& other);
    // Deletes the members and placeholders; the kept calls stay as they are.
    void freeMembers();
    // Copies the calls that the members stand for into memberCalls, from
    // where the calls that follow are kept too.
    void keepCallsApart();
    // The position of the first member added under a name with this hash,
    // or noMember. Namesakes (and the rare hash twins) follow through
    // nextNamesake in list order.
    std::uint32_t firstNamesake(std::uint64_t nameHash) const;
    void indexMember(std::uint32_t index);
    void rebuildNameSlots(std::size_t slotCount);

    static constexpr std::uint32_t noMember = UINT32_MAX;
    // Small classes are searched through memberIndex alone; the slot
    // table is built once the class holds more members than this.
    static constexpr std::size_t fewMembers = 16;
    struct NameSlot {
        std::uint32_t first = noMember;  // first and last member of one hash
        std::uint32_t last = noMember;
    };

    std::map<std::string, CppClass*> bases;
    // Base name -> the text the head writes it with, where they differ.
    std::vector<std::pair<std::string, std::string>> writtenBases;
    InternedText package;
    InternedText kind;
    InternedText containerText;
    InternedText sourceDirectory;
    std::vector<CppClassMember*> members;
    // Per member, the hash of its name when added and the next member added
    // under the same hash; with nameSlots (open addressing, a power of two
    // in size, at most half full) merging looks only at namesakes.
    struct MemberName {
        std::uint64_t nameHash;
        std::uint32_t nextNamesake;
    };
    std::vector<MemberName> memberIndex;
    std::vector<NameSlot> nameSlots;
    CppClass* parent;
    bool interfaceFlag;
    bool namespaceFlag;
    std::vector<UnresolvedClass*> placeholders;
    int language;
    struct MemberCall {
        std::string name, declaration, access, comment;
        bool hasArgumentList;
        std::string fileName;
        std::vector<std::string> arguments;
        bool dotFlag;
        bool definedOutside;
        bool definition;
        // Added to the comment of the member the call left (appendMemberComment).
        std::string appended;
        // The member the call left, while the class holds it; only compared.
        const CppClassMember* left;
    };
    std::unique_ptr<std::vector<MemberCall>> memberCalls;  // while recording
    // While recording: the calls are the members, each as its call made it,
    // and memberCalls is empty.
    bool callsInMembers = false;
    bool unkeptMembers = false;
    // The list that registered this class (set by ClassList::addClass,
    // never copied), so that registering it again is noticed without a set.
    friend class ClassList;
    const ClassList* registeredIn = nullptr;
};
