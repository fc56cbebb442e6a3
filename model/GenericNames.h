// C# tells generic types apart by their number of type parameters: "Box",
// "Box<T>" and "Box<T1, T2>" in one namespace are three types. The reader
// names a generic C# class with its type parameters ("Box<T>", and a class
// nested in it "Box<T>.Slot"), and a generic base by its name and the commas
// of its arguments ("Box<>" for Box<int>, "Box<,>" for Box<int, string>).
// These operations read such names; none of them allocates but those that
// return a new text.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

class ClassList;
class CppClass;

// The number of type parameters in the list that ends text: "Box<T1, T2>"
// and "Box<,>" 2, "Box<T>" and "Box{T}" 1 ("{" "}" as a cref writes the
// list), 0 when text ends in no list. Commas inside brackets of the list
// ("Map<(int, int), T>") do not count.
std::size_t typeParameterCount(std::string_view text);

// The start of the list that ends text (its "<" or "{"), or text.size()
// when text ends in none.
std::size_t typeParameterListStart(std::string_view text);

// text without the list that ends it: "Box<T>" gives "Box".
std::string_view withoutTypeParameters(std::string_view text);

// The name with every part's list ("." separates parts) replaced by "`"
// and its count: "Box<T>.Slot" and "Box<>.Slot" both give "Box`1.Slot".
// Two names with one key name one type. A name without lists is its own key.
std::string genericKey(std::string_view name);

// The name without any list: "Box<T>.Slot" gives "Box.Slot".
std::string withoutAnyTypeParameters(std::string_view name);

// The names under which a run's C# classes and their bases are sent to a
// module. A generic class keeps its type parameters in the name only where
// a class of the same name with another number of them stands beside it
// (its twin: "Box" and "Box<T>" in one namespace, or in one class); every
// other class is sent as it always was, without them ("List<T>" as "List"),
// so that the pages and the links into them keep their names. A base keeps
// its arguments' count only as far as it picks out one twin, and is then
// sent as that twin is named.
class GenericTwins {
public:
    // No class has a twin: every name is sent without type parameters.
    GenericTwins() = default;
    // Reads the names of the list's classes; the list must outlive the
    // object and keep its classes meanwhile.
    explicit GenericTwins(const ClassList& list);

    // The name cls is sent under.
    std::string className(const CppClass& cls) const;
    // The container text of cls as sent.
    std::string containerText(const CppClass& cls) const;
    // The base-table name `base` of cls as sent.
    std::string baseName(const CppClass& cls, const std::string& base) const;

private:
    // A class name of the package as sent: each part's type parameters
    // kept only where the part has a twin.
    std::string sentName(const std::string& package, std::string_view name) const;
    // The class that the generic base name stands for, seen from cls.
    const CppClass* findGeneric(const CppClass& cls, std::string_view base) const;

    // (package, key of the enclosing parts, a part without its list) ->
    // the numbers of type parameters met there: a part has a twin where
    // more than one was.
    std::map<std::tuple<std::string, std::string, std::string>, std::vector<std::size_t>> counts;
    // The generic classes by (package, genericKey) and by genericKey alone
    // (the last in key order, as a module keeps the last of a name).
    std::map<std::pair<std::string, std::string>, const CppClass*> byKey;
    std::unordered_map<std::string, const CppClass*> byKeyName;
};
