#include "model/MemberIdentity.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using Pair = std::pair<const char*, const char*>;

}  // namespace

TEST(MemberIdentity, ParameterNamesNeverCount) {
    // Declaration and definition, each pair written as in real headers and
    // the sources that define them.
    for (const auto& [declared, defined] : {
             Pair{"double radius", "double r"},
             Pair{"int values[]", "int v[]"},
             Pair{"char* argv[]", "char *v[]"},
             Pair{"int grid[3][4]", "int g[3][4]"},
             Pair{"void (*cb)(int)", "void(*fn)(int)"},
             Pair{"int (&row)[4]", "int(&r)[4]"},
             Pair{"void (Widget::*handler)(int)", "void (Widget::*h)(int)"},
             Pair{"char* const buf", "char* const b"},
             Pair{"const char* const volatile name", "const char* const volatile n"},
             Pair{"Point const p", "Point const"},
             Pair{"const Point& p = Point()", "const Point &q"},
             Pair{"String... args", "String... a"},
             Pair{"void (*cb)(int) noexcept", "void(*fn)(int) noexcept"},
             Pair{"R (C::*f)(A...) const noexcept", "R(C::*g)(A...) const noexcept"},
             // A comparison among template arguments is no bracket.
             Pair{"typename enable_if_c<D <= N>::type* = 0", "typename enable_if_c<D <= N>::type*"},
             Pair{"typename enable_if_c<N >= 2>::type* p = nullptr", "typename enable_if_c<N >= 2>::type* q"},
         })
        EXPECT_EQ(argumentType(declared), argumentType(defined)) << declared << " / " << defined;
    // Types differ however the parameters are named.
    for (const auto& [one, other] : {
             Pair{"void (*cb)(int)", "void (*cb)(double)"},
             Pair{"char* const buf", "const char* buf"},
             Pair{"int values[]", "int values[2]"},
             Pair{"const Point", "const Size"},
             Pair{"struct Alpha", "struct Beta"},
             // A function type that cannot throw is another type.
             Pair{"void (*cb)(int)", "void (*cb)(int) noexcept"},
             Pair{"R (C::*f)(A...) const", "R (C::*f)(A...) const noexcept"},
             Pair{"void (*cb)(int) noexcept", "void (*cb)(int) noexcept(false)"},
             // Operators that a macro takes as its argument stay whole.
             Pair{">", ">="},
             Pair{"<<", "<<="},
             Pair{"+", "+="},
         })
        EXPECT_NE(argumentType(one), argumentType(other)) << one << " / " << other;
}

TEST(MemberIdentity, ACppArrayParameterIsAPointer) {
    for (const auto& [declared, defined] : {
             Pair{"int a[]", "int* a"},
             Pair{"int a[4]", "int *p"},
             Pair{"char* argv[]", "char** v"},
             Pair{"const char names[][8]", "const char (*n)[8]"},
             Pair{"int[]", "int*"},
         })
        EXPECT_EQ(argumentType(declared, "", true), argumentType(defined, "", true))
            << declared << " / " << defined;
    // Only the outermost array decays.
    EXPECT_NE(argumentType("int (*p)[3]", "", true), argumentType("int** p", "", true));
    EXPECT_NE(argumentType("int a[][3]", "", true), argumentType("int** p", "", true));
    EXPECT_NE(argumentType("int (&row)[4]", "", true), argumentType("int* row", "", true));
    // Java and C# arrays are types of their own.
    EXPECT_NE(argumentType("int a[]"), argumentType("int* a"));
    EXPECT_TRUE(sameArguments({"int a[]", "double d"}, {"int* p", "double"}, "X", true));
    EXPECT_FALSE(sameArguments({"int[] a"}, {"int* p"}, "X"));
}

TEST(MemberIdentity, TheClassesOwnQualifierIsTheTypeWithoutIt) {
    EXPECT_TRUE(sameArguments({"TimeDiff d"}, {"Clock::TimeDiff d"}, "Clock"));
    EXPECT_TRUE(sameArguments({"const Tick& t"}, {"const Clock::Timer::Tick &u"}, "Clock::Timer"));
    EXPECT_TRUE(sameArguments({"Tick t"}, {"Timer::Tick t"}, "Clock::Timer"));
    EXPECT_TRUE(sameArguments({"size_type n"}, {"typename Vec<T>::size_type n"}, "Vec"));
    EXPECT_TRUE(sameArguments({"Entry e"}, {"Map.Entry e"}, "Map"));
    // Another class's type of that name is another type.
    EXPECT_FALSE(sameArguments({"TimeDiff d"}, {"Other::TimeDiff d"}, "Clock"));
    EXPECT_FALSE(sameArguments({"TimeDiff d"}, {"MyClock::TimeDiff d"}, "Clock"));
    EXPECT_FALSE(sameArguments({"TimeDiff d"}, {"lib::Clock::TimeDiff d"}, "Clock"));
    EXPECT_FALSE(sameArguments({"TimeDiff d"}, {"Clock::TimeDiff d"}, ""));
    EXPECT_FALSE(sameArguments({"int a"}, {"int a", "int b"}, "Clock"));
}

TEST(MemberIdentity, OwnTemplateParametersAndQualifiersSetOverloadsApart) {
    EXPECT_EQ(overloadMarks("int& at(int i);", "at"), "");
    EXPECT_EQ(overloadMarks("const int& at(int i) const;", "at"), "const");
    EXPECT_EQ(overloadMarks("virtual bool draw(Canvas& c, int layer = f(1)) const = 0;", "draw"),
              "const");
    EXPECT_EQ(overloadMarks("void f() const &;", "f"), "const&");
    EXPECT_EQ(overloadMarks("void f()&&;", "f"), "&&");
    EXPECT_EQ(overloadMarks("Item* Menu::first() volatile override;", "first"), "volatile");
    EXPECT_EQ(overloadMarks("bool operator()(int a) const;", "operator()"), "const");
    EXPECT_EQ(overloadMarks("decltype(value(0)) value(int n) const;", "value"), "const");
    // A template's own parameters, whatever they are called, and without
    // the defaults that only a declaration may give.
    EXPECT_EQ(overloadMarks("template<class T> const T& value(size_t n) const;", "value"),
              "<class>const");
    EXPECT_EQ(overloadMarks("template <typename U = int> const U& value(size_t i) const;", "value"),
              "<class>const");
    EXPECT_EQ(overloadMarks("template<int N, class... Ts> void f();", "f"), "<int,class...>");
    EXPECT_EQ(overloadMarks("template<template<class> class C> void f();", "f"),
              "<template<class>class>");
    EXPECT_NE(overloadMarks("template<class T, typename std::enable_if<A<T>::v>::type* = nullptr> void f(T);", "f"),
              overloadMarks("template<class T, typename std::enable_if<!A<T>::v>::type* = nullptr> void f(T);", "f"));
    // A generic Java method's type parameters with their bounds.
    EXPECT_EQ(overloadMarks("public static<T extends Collection<?>> T notEmpty(T c);", "notEmpty"),
              "<extends Collection<?>>");
    EXPECT_EQ(overloadMarks("@SafeVarargs static <T> List<T> of(T... items);", "of"), "<>");
    EXPECT_EQ(overloadMarks("public <K, V extends Map<K, ?>> void put(K k, V v);", "put"),
              "<,extends Map<K,?>>");
    // A C# method's type parameters follow its name: their number counts,
    // not their names nor their constraints.
    EXPECT_EQ(overloadMarks("public object Fetch(string key);", "Fetch"), "");
    EXPECT_EQ(overloadMarks("public T Fetch<T>(string key) where T : class;", "Fetch"), "<>");
    EXPECT_EQ(overloadMarks("public TOut Fetch<TIn, TOut>(string key) where TIn : TOut;", "Fetch"), "<,>");
    EXPECT_EQ(overloadMarks("public static Dictionary<TKey, List<TValue>> Group<TKey, TValue>(IEnumerable<TValue> items);", "Group"),
              "<,>");
    // A return type's template arguments are not the function's own.
    EXPECT_EQ(overloadMarks("std::vector<int> list(int n);", "list"), "");
    EXPECT_EQ(overloadMarks("public List<String> names() throws IOException;", "names"), "");
    // A macro's body is no qualifier.
    EXPECT_EQ(overloadMarks("#define GET(x) const x", "GET"), "");
}

TEST(MemberIdentity, StaticIsReadFromTheWordsBeforeTheName) {
    EXPECT_TRUE(declaredStatic("static Cache();", "Cache"));
    EXPECT_TRUE(declaredStatic("unsafe static void Reset(int n);", "Reset"));
    EXPECT_FALSE(declaredStatic("Cache();", "Cache"));
    EXPECT_FALSE(declaredStatic("void Reset(int staticCount);", "Reset"));
    // A word of the parameters or of a type argument is none of its modifiers.
    EXPECT_FALSE(declaredStatic("void Run(static int n);", "Run"));
    EXPECT_FALSE(declaredStatic("List<static> Of();", "Of"));
}

// The names a member template's own heads give, so that a definition
// naming them otherwise can be read under the declaration's names.
TEST(MemberIdentity, OwnTemplateParameterNamesAndTheirRenaming) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(ownTemplateParameterNames("template <class T, int N = 3> void fill(T (&a)[N]);"), (Names{"T", "N"}));
    EXPECT_EQ(ownTemplateParameterNames("template<typename... Ts> template <template <class> class C> void g();"),
              (Names{"Ts", "C"}));
    EXPECT_EQ(ownTemplateParameterNames("template <typename F = std::less<int>> void sort(F f);"), Names{"F"});
    // A parameter without a name cannot be renamed: nothing is read.
    EXPECT_EQ(ownTemplateParameterNames("template <class, int N> void h();"), Names{});
    EXPECT_EQ(ownTemplateParameterNames("void plain(int T);"), Names{});
    // In every language's place for them.
    EXPECT_EQ(ownTypeParameterNames("public static <K, V extends Comparable<V>> Map<K, V> of(K k, V v);", "of"),
              (Names{"K", "V"}));
    EXPECT_EQ(ownTypeParameterNames("public TOut Convert<TIn, out TOut>(TIn value);", "Convert"),
              (Names{"TIn", "TOut"}));
    EXPECT_EQ(ownTypeParameterNames("template <typename It> void fill(It first);", "fill"), Names{"It"});
    EXPECT_EQ(ownTypeParameterNames("List<String> names();", "names"), Names{});
    // Whole words only, all at once.
    EXPECT_EQ(withWordsRenamed({"const T& t", "Tx<T, U>* u"}, {"T", "U"}, {"U", "T"}),
              (Names{"const U& t", "Tx<U, T>* u"}));
}
