// Every class of one documentation run, keyed by package and name. A second
// registration of a key is merged into the class already held there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class CppClass;
class CppClassMember;

class ClassList {
public:
    // (package, name); ordered by package, then name, byte-wise.
    using Key = std::pair<std::string, std::string>;

    ClassList() = default;
    // Deletes every class (clear).
    virtual ~ClassList();
    ClassList(const ClassList&) = delete;
    ClassList& operator=(const ClassList&) = delete;

    // Registers cls under (cls->getPackage(), cls->getName()) and takes
    // ownership. Returns the class that holds the key afterwards: cls when
    // the key was free; the earlier class when one held it, after merging
    // cls into it and deleting cls. A class the list already owns is
    // returned unchanged. Null gives null.
    CppClass* addClass(CppClass* cls);

    // The parser's way to add a member: cls (owned from here on) is named
    // className when nameless and given package when it has none, then
    // registered with addClass; the declaration goes to the class that
    // holds the key (CppClass::addMember, with definedOutside and
    // definition), which also takes member. Returns the member that holds
    // the declaration.
    CppClassMember* addClassMember(const std::string& package, const std::string& className,
                                   const std::string& memberName,
                                   const std::string& declaration, const std::string& access,
                                   const std::string& comment, bool hasArgumentList,
                                   const std::string& fileName,
                                   const std::vector<std::string>& arguments, CppClass* cls,
                                   CppClassMember* member, bool dotFlag, bool definedOutside = false,
                                   bool definition = false);

    // Tries the name split at each ".", last first, as (left, right); then
    // (package, name); then, with fallback, the class last registered under
    // a new key with that name. Null when none is found. Each try is one
    // hash lookup; no key text is copied.
    CppClass* findClass(std::string_view package, std::string_view name, bool fallback) const;

    // The class registered under exactly (package, name), or null.
    CppClass* lookup(std::string_view package, std::string_view name) const;

    // Deletes every class; the list can be filled again.
    virtual void clear();

    // A file can be parsed into a list of its own, away from the run's
    // list, and its classes carried over afterwards, when nothing it asked
    // or registered depended on the files before it. The log tells: with
    // a log set, every key asked for and not found (findClass, a
    // registration's check), every name asked for by name alone, and every
    // new key registered is appended to it, in order. (A key found was
    // registered in this list before, and is in the log already.)
    struct KeyEvent {
        enum Kind { Asked, AskedByName, Registered } kind;
        Key key;  // AskedByName: the name alone, in key.second
    };
    void setKeyLog(std::vector<KeyEvent>* log) { keyLog = log; }
    // True when this list holds none of the keys (and, for AskedByName,
    // none of the names) of the log: what was asked of the other list
    // would have had the same answers here.
    bool holdsNoneOf(const std::vector<KeyEvent>& log) const;

    // How a key that both lists hold can join: not at all, or as a record
    // reopened that the other list's parse only added to. Registered: the
    // parse registered a record of its own, whose head merges into the one
    // held here as a second registration would, and whose member calls are
    // made again here. Merged: the same for a record whose members came
    // with its registrations (a typedef record): it merges whole, as a
    // second registration does. Found: the parse looked the record up and,
    // finding none, made one, where here it would have found this one and
    // added to it: only the member calls are made again.
    enum class Join { Refuse, Registered, Merged, Found };
    // found: the parse reached the record through a look-up of its own
    // before the registration that made it.
    using JoinRule = Join (*)(const CppClass& held, const CppClass& theirs, bool found);
    // True when other's classes, which a parse made with this log, can join
    // this list as if that parse had been made here: every key of the log
    // that this list holds is one that `rule` lets join, and the parse
    // reached it first through the registration (or look-up and
    // registration) that made it, so that no answer it had depended on
    // what this list holds. AskedByName names held here refuse.
    bool canTakeOver(const ClassList& other, const std::vector<KeyEvent>& log, JoinRule rule) const;
    // Moves the classes that `other` registered, as its log lists them,
    // into this list under the keys they were registered with and in the
    // same order, as if they had been registered here: a free key takes the
    // class; a held key (canTakeOver) takes the class's head as `rule` says
    // and then its members one by one, merged as addMember merges. `other`
    // is left empty and keeps nothing.
    // The classes that took a free key are appended to `registered` when
    // it is given.
    void takeOver(ClassList& other, const std::vector<KeyEvent>& log, JoinRule rule,
                  std::vector<CppClass*>* registered = nullptr);

    // The classes in key order (the list owns them).
    const std::map<Key, CppClass*>& getClasses() const { return classesByKey; }
    size_t size() const { return classesByKey.size(); }

protected:
    // Takes the class held under key out of the list, once another holds
    // what it held: no look-up finds it from here on and it is not among
    // the classes; it stays owned until clear(), since other records may
    // name it as their parent. Where the look-up by name gave it, it gives
    // heir (a class the list holds) instead. A free key does nothing.
    void retire(const Key& key, CppClass* heir);

private:
    // Views into the key strings of classesByKey, whose nodes stay put
    // until clear(); the hash indexes below are emptied together with it.
    using KeyView = std::pair<std::string_view, std::string_view>;
    struct KeyViewHash {
        std::size_t operator()(const KeyView& key) const noexcept;
    };

    // One bit per (length, first and last character) signature of the
    // registered names: most names asked for (words of declarations) are no
    // class name, and a clear bit answers that without hashing the texts.
    static constexpr std::size_t nameFilterBits = 1 << 14;
    static std::size_t nameSignature(std::string_view name) {
        if (name.empty()) return 0;
        std::size_t first = static_cast<unsigned char>(name.front());
        std::size_t last = static_cast<unsigned char>(name.back());
        return (name.size() * 0x9e5 + first * 0x3b + last * 0x1f1 + (first << 8)) % nameFilterBits;
    }
    bool mayBeName(std::string_view name) const {
        std::size_t bit = nameSignature(name);
        return (nameFilter[bit / 64] >> (bit % 64)) & 1;
    }

    // Registers cls under a free key.
    CppClass* insertNew(Key key, CppClass* cls);

    std::vector<KeyEvent>* keyLog = nullptr;
    std::map<Key, CppClass*> classesByKey;
    // Records whose members and head joined a class held here: kept, not
    // deleted, until clear(), since classes taken over with them may still
    // name them as their parent.
    std::vector<CppClass*> joined;
    std::unordered_map<KeyView, CppClass*, KeyViewHash> classesByView;
    std::unordered_map<std::string_view, CppClass*> classesByName;
    std::array<std::uint64_t, nameFilterBits / 64> nameFilter{};
};
