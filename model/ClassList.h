// Every class of one documentation run, keyed by package and name. A second
// registration of a key is merged into the class already held there.
#pragma once

#include <map>
#include <string>
#include <unordered_set>
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
    // holds the key (CppClass::addMember), which also takes member. Returns
    // the member that holds the declaration.
    CppClassMember* addClassMember(const std::string& package, const std::string& className,
                                   const std::string& memberName,
                                   const std::string& declaration, const std::string& access,
                                   const std::string& comment, bool hasArgumentList,
                                   const std::string& fileName,
                                   const std::vector<std::string>& arguments, CppClass* cls,
                                   CppClassMember* member, bool dotFlag);

    // Tries the name split at each ".", last first, as (left, right); then
    // (package, name); then, with fallback, the class last registered under
    // a new key with that name. Null when none is found.
    CppClass* findClass(const std::string& package, const std::string& name,
                        bool fallback) const;

    // Deletes every class; the list can be filled again.
    virtual void clear();

    // The classes in key order (the list owns them).
    const std::map<Key, CppClass*>& getClasses() const { return classesByKey; }
    size_t size() const { return classesByKey.size(); }

private:
    std::map<Key, CppClass*> classesByKey;
    std::map<std::string, CppClass*> classesByName;
    std::unordered_set<const CppClass*> owned;
};
