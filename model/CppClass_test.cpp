#include "model/CppClass.h"
#include "model/CppClassMember.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"
#include "model/UnresolvedClass.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<DocGenCppClass> makeClass(const std::string& name, int language,
                                          const std::string& kind = "class") {
    auto c = std::make_unique<DocGenCppClass>(nullptr, DocOptions(), language, false, false);
    c->setName(name);
    c->setKind(kind);
    return c;
}

CppClassMember* add(CppClass& c, const std::string& name, const std::string& decl,
                    const std::string& access, std::vector<std::string> args = {},
                    const std::string& comment = "", const std::string& file = "f.h") {
    return c.addMember(name, decl, access, comment, !args.empty(), file, args,
                       new DocGenCppClassMember(&c), false);
}

CppClassMember* addFunction(CppClass& c, const std::string& name, const std::string& decl,
                            std::vector<std::string> args, const std::string& comment = "") {
    return c.addMember(name, decl, "public", comment, true, "f.h", args,
                       new DocGenCppClassMember(&c), false);
}

}  // namespace

TEST(CppClassMerge, OverloadsStayApartAndKeepTheirComments) {
    auto c = makeClass("ArrayList", 2);
    CppClassMember* none = addFunction(*c, "ArrayList", "public ArrayList();", {}, "Empty.");
    CppClassMember* sized = addFunction(*c, "ArrayList", "public ArrayList(int n);", {"int n"}, "Sized.");
    EXPECT_NE(none, sized);
    EXPECT_EQ(none->getComment(), "Empty.");
    EXPECT_TRUE(none->getArguments().empty());
    // One-word types after a qualifier are types, not parameter names.
    CppClassMember* point = addFunction(*c, "set", "void set(const Point);", {"const Point"}, "P.");
    CppClassMember* size = addFunction(*c, "set", "void set(const Size);", {"const Size"}, "S.");
    CppClassMember* alpha = addFunction(*c, "put", "void put(struct Alpha);", {"struct Alpha"}, "A.");
    CppClassMember* beta = addFunction(*c, "put", "void put(struct Beta);", {"struct Beta"}, "B.");
    EXPECT_NE(point, size);
    EXPECT_NE(alpha, beta);
    EXPECT_EQ(size->getComment(), "S.");
    EXPECT_EQ(beta->getComment(), "B.");
    // A field and a method of one name are two members.
    CppClassMember* field = add(*c, "size", "int size;", "private");
    EXPECT_NE(addFunction(*c, "size", "public int size();", {}), field);
    EXPECT_EQ(c->getMembers().size(), 8u);

    // The definition outside the class still joins its declaration.
    EXPECT_EQ(addFunction(*c, "set", "void A::set(const Point p)", {"const Point p"}), point);
    EXPECT_EQ(addFunction(*c, "put", "void A::put(struct Beta b = {})", {"struct Beta b = {}"}), beta);
    EXPECT_EQ(addFunction(*c, "ArrayList", "ArrayList::ArrayList()", {}), none);
    EXPECT_EQ(c->getMembers().size(), 8u);
}

TEST(CppClassMerge, ConstOverloadsStayApart) {
    auto c = makeClass("Menu", 0);
    // The module receives no qualifiers of their own: they are read from
    // the declaration, on either side of the interface.
    auto first = [&](const std::string& decl, const std::string& comment) {
        return c->addMember("first", decl, "public", comment, true, "f.h", {"int at"},
                            new DocGenCppClassMember(c.get()), false);
    };
    CppClassMember* plain = first("Item* first(int at);", "Mutable.");
    CppClassMember* constant = first("const Item* first(int at) const;", "Constant.");
    CppClassMember* moved = first("Item&& first(int at) &&;", "Moved.");
    CppClassMember* constRef = first("const Item& first(int at) const &;", "Lvalue.");
    EXPECT_NE(plain, constant);
    EXPECT_NE(plain, moved);
    EXPECT_NE(constant, constRef);
    EXPECT_EQ(plain->getComment(), "Mutable.");
    EXPECT_EQ(constant->getComment(), "Constant.");
    EXPECT_EQ(moved->getComment(), "Moved.");
    EXPECT_EQ(constRef->getComment(), "Lvalue.");
    // Each definition outside the class joins its own declaration.
    EXPECT_EQ(first("const Item* Menu::first(int i) const {", ""), constant);
    EXPECT_EQ(first("Item* Menu::first(int i) {", ""), plain);
    EXPECT_EQ(first("const Item& Menu::first(int i) const& {", ""), constRef);
    EXPECT_EQ(c->getMembers().size(), 4u);
}

// A declaration and its definition outside the class are one member: the
// definition adds no second, public, uncommented copy of a private helper.
TEST(CppClassMerge, DefinitionsMeetTheirDeclarationsWhateverTheParametersAreCalled) {
    struct Pair {
        const char* name;
        std::vector<std::string> declared, defined;
    };
    const std::vector<Pair> pairs = {
        {"fill", {"int values[]"}, {"int v[]"}},
        {"run", {"int argc", "char* argv[]"}, {"int c", "char *v[]"}},
        {"setCallback", {"void (*cb)(int)"}, {"void(*fn)(int)"}},
        {"set", {"char* const buf"}, {"char* const b"}},
        {"isElapsed", {"TimeDiff d"}, {"Clock::TimeDiff d"}},
    };
    auto c = makeClass("Clock", 0);
    for (const Pair& p : pairs) {
        const std::string name = p.name;
        CppClassMember* declared = c->addMember(name, "void " + name + "(...);", "private",
                                                "Helper " + name + ".", true, "clock.h", p.declared,
                                                new DocGenCppClassMember(c.get()), false);
        CppClassMember* defined = c->addMember(name, "inline void " + name + "(...) {", "", "", true,
                                               "clock.cpp", p.defined,
                                               new DocGenCppClassMember(c.get()), false);
        EXPECT_EQ(defined, declared) << name;
        EXPECT_EQ(declared->getAccess(), "private") << name;
        EXPECT_EQ(declared->getComment(), "Helper " + name + ".") << name;
        EXPECT_EQ(declared->getArguments(), p.declared) << name;
        EXPECT_EQ(declared->getFileNameList(), "clock.h|clock.cpp|") << name;
    }
    EXPECT_EQ(c->getMembers().size(), pairs.size());
}

// Overloads that differ only in their own template parameters are members
// of their own, each with its comment.
TEST(CppClassMerge, TemplatesAndGenericMethodsStayApartFromTheirNamesakes) {
    auto vec = makeClass("Vec", 0);
    auto value = [&](const std::string& decl, const std::string& comment) {
        return vec->addMember("value", decl, "public", comment, true, "vec.h", {"size_t n"},
                              new DocGenCppClassMember(vec.get()), false);
    };
    CppClassMember* generic = value("template<class T> const T& value(size_t n) const;", "Any.");
    CppClassMember* plain = value("int value(size_t n) const;", "Int.");
    CppClassMember* sized = value("template<int N> int value(size_t n) const;", "Sized.");
    EXPECT_NE(generic, plain);
    EXPECT_NE(generic, sized);
    EXPECT_NE(plain, sized);
    EXPECT_EQ(generic->getComment(), "Any.");
    EXPECT_EQ(plain->getComment(), "Int.");
    // The definition may call its template parameter otherwise.
    EXPECT_EQ(value("template<typename U> const U& value(size_t n) const {", ""), generic);
    EXPECT_EQ(value("int Vec::value(size_t n) const {", ""), plain);
    EXPECT_EQ(vec->getMembers().size(), 3u);

    auto checks = makeClass("Checks", 2);
    auto notEmpty = [&](const std::string& decl, const std::string& argument,
                        const std::string& comment) {
        return checks->addMember("notEmpty", decl, "public", comment, true, "Checks.java",
                                 {argument}, new DocGenCppClassMember(checks.get()), false);
    };
    CppClassMember* collection =
        notEmpty("public static<T extends Collection<?>> T notEmpty(T c);", "T c", "Collection.");
    CppClassMember* map = notEmpty("public static<T extends Map<?, ?>> T notEmpty(T m);", "T m", "Map.");
    CppClassMember* chars =
        notEmpty("public static<T extends CharSequence> T notEmpty(T s);", "T s", "Chars.");
    EXPECT_NE(collection, map);
    EXPECT_NE(collection, chars);
    EXPECT_NE(map, chars);
    EXPECT_EQ(map->getComment(), "Map.");
    EXPECT_EQ(chars->getComment(), "Chars.");
    // The same class read from a second copy of its file adds nothing.
    EXPECT_EQ(notEmpty("public static<T extends Map<?,?>> T notEmpty(T m);", "T m", ""), map);
    EXPECT_EQ(checks->getMembers().size(), 3u);
}

// However many members a class holds, a declaration finds every namesake
// added before it: a large class (a namespace, a macro-made class) must not
// list a member twice because its index grew in between.
TEST(CppClassMerge, EveryNamesakeIsFoundWhateverTheClassSize) {
    for (int total : {17, 33, 34, 65, 66, 129, 300}) {
        auto c = makeClass("Big", 0);
        std::vector<CppClassMember*> first;
        for (int i = 0; i < total; ++i) {
            const std::string name = "m" + std::to_string(i % 7);
            const std::string type = "T" + std::to_string(i);
            first.push_back(c->addMember(name, "void " + name + "(" + type + " a);", "public", "", true,
                                         "big.h", {type + " a"}, new DocGenCppClassMember(c.get()),
                                         false));
        }
        for (int i = 0; i < total; ++i) {
            const std::string name = "m" + std::to_string(i % 7);
            const std::string type = "T" + std::to_string(i);
            EXPECT_EQ(c->addMember(name, "void Big::" + name + "(" + type + " b) {", "", "", true,
                                   "big.cpp", {type + " b"}, new DocGenCppClassMember(c.get()), false),
                      first[i])
                << total << " members, member " << i;
        }
        EXPECT_EQ(c->getMembers().size(), static_cast<std::size_t>(total));
    }
}

TEST(CppClass, PackageAndPageFile) {
    auto c = makeClass("A::B", 0);
    c->setPackage("");
    EXPECT_EQ(c->getPackage(), "(default)");
    c->setPackage("src/");
    EXPECT_EQ(c->getPackage(), "(default)");
    EXPECT_EQ(c->getPageFile("../"), "../(default)/A..B.html");
    c->setPackage("com/acme");
    EXPECT_EQ(c->getPackage(), "acme");
    EXPECT_EQ(c->getQualifiedName(), "acme.A::B");
    c->setPackage("C:\\src\\my lib");
    EXPECT_EQ(c->getPageFile(""), "my_lib/A..B.html");

    auto map = makeClass("Map[]", 0);
    EXPECT_EQ(map->getPageFile(""), "Map__.html");
    EXPECT_EQ(map->getLink("", "", "top", true), "<a href=\"Map__.html#top\">Map[]</a>");

    auto globals = makeClass("(geo  globals)", 0);
    globals->setPackage("geo");
    EXPECT_EQ(globals->getPageFile(""), "geo/(geo__globals).html");
}

TEST(CppClass, MemberMergingStaticAccessAndComments) {
    auto c = makeClass("C", 0);
    CppClassMember* first = add(*c, "count", "static int count;", "");
    CppClassMember* again = add(*c, "count", "int count;", "", {}, "", "c.cpp");
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->getDeclaration(), "static int count;");
    EXPECT_EQ(first->getFileNameList(), "f.h|c.cpp|");
    EXPECT_EQ(c->getFileNameList(), "f.h|c.cpp|");
    CppClassMember* total = add(*c, "total", "int total;", "");
    EXPECT_EQ(add(*c, "total", "static int total;", ""), total);
    EXPECT_EQ(total->getDeclaration(), "static int total;");
    // The member handed back earlier may come in again without being freed.
    EXPECT_EQ(c->addMember("total", "int total;", "", "", false, "", {}, total, false), total);

    add(*c, "g", "void g();", "public", {"int"});
    CppClassMember* g = add(*c, "g", "void g();", "private", {"int"}, "doc");
    EXPECT_EQ(g->getAccess(), "private");
    EXPECT_EQ(g->getComment(), "doc");
    add(*c, "g", "void g();", "public", {"int"}, "later");
    EXPECT_EQ(g->getAccess(), "private");
    EXPECT_EQ(g->getComment(), "doc");

    CppClassMember* h = add(*c, "h", "void h();", "");
    EXPECT_EQ(add(*c, "h", "void h();", "protected")->getAccess(), "protected");
    EXPECT_EQ(h->getAccess(), "protected");

    // An overload with other arguments is a member of its own.
    CppClassMember* g2 = add(*c, "g", "void g(long);", "public", {"long"});
    EXPECT_NE(g2, g);
    ASSERT_EQ(c->getMembers().size(), 5u);
    EXPECT_EQ(c->getMembers()[4], g2);
    EXPECT_EQ(g2->getOwner(), c.get());
}

TEST(CppClass, DotFlagAndLongerDeclarationWins) {
    auto c = makeClass("C", 1);
    CppClassMember* m = c->addMember("f", "void A::f();", "", "", false, "", {},
                                     new DocGenCppClassMember(c.get()), true);
    EXPECT_EQ(m->getDeclaration(), "void A.f();");
    add(*c, "f", "virtual void A.f();", "");
    EXPECT_EQ(m->getDeclaration(), "virtual void A.f();");
}

TEST(CppClass, BaseListsAndRoots) {
    auto java = makeClass("J", 2);
    java->addBase("Runnable", true);
    java->addBase("Comparable", true);
    EXPECT_EQ(java->getBaseList("|", true), "Comparable,t|Runnable,t|Object,f");
    EXPECT_EQ(java->getBaseList(", ", false), "Comparable, Runnable, Object");
    java->addBase("Base", false);
    EXPECT_EQ(java->getBaseList("|", true), "Base,f|Comparable,t|Runnable,t");
    // A base written with type arguments is sent with its text too, the
    // list's separators in it escaped; the first text noted holds.
    java->setWrittenBase("Comparable", "Comparable<Map<K, V|W>>");
    java->setWrittenBase("Comparable", "Comparable<Other>");
    java->setWrittenBase("Runnable", "Runnable");
    EXPECT_EQ(java->getBaseList("|", true),
              "Base,f|Comparable,t,=Comparable<Map<K\\, V\\|W>>|Runnable,t");
    EXPECT_EQ(java->getBaseList(", ", false), "Base, Comparable, Runnable");
    EXPECT_EQ(java->writtenBase("Runnable"), "Runnable");

    EXPECT_EQ(makeClass("I", 2, "interface")->getBaseList("|", true), "");
    auto cpp = makeClass("K", 0);
    EXPECT_EQ(cpp->getBaseList("|", true), "");
    EXPECT_EQ(makeClass("S", 1)->getBaseList("|", true), "System.Object,f");
    EXPECT_EQ(makeClass("N", 1, "namespace")->getBaseList("|", true), ",f");
    EXPECT_EQ(makeClass("( globals)", 1)->getBaseList("|", true), ",f");
}

TEST(CppClass, BaseTableAndUnresolvedPlaceholders) {
    auto c = makeClass("C", 0);
    EXPECT_TRUE(c->hasBase("", "", false));
    c->addBase("std::Base", false);
    c->addBase("q.Iface", true);
    EXPECT_FALSE(c->hasBase("", "", false));
    EXPECT_TRUE(c->hasBase("Iface", "q", false));
    EXPECT_FALSE(c->hasBase("Iface", "", false));
    c->addBase("Base", true);
    EXPECT_TRUE(c->hasBase("other::Base", "", true));
    EXPECT_FALSE(c->hasBase("other::Base", "", false));
    c->addBase("std::Base", true);  // first mention decides
    const CppClass* base = c->getBases().at("std::Base");
    ASSERT_TRUE(base->isUnresolved());
    EXPECT_FALSE(base->isInterface());
    EXPECT_EQ(base->getLink("../", "b", "x", true), "<code>std::Base</code>");
    EXPECT_EQ(base->getPageFile("../"), "../std..Base.html");

    auto real = makeClass("Real", 0);
    c->resolveBase("Real", real.get());
    EXPECT_EQ(c->getBases().at("Real"), real.get());

    // A copy owns placeholders of its own and shares resolved bases.
    std::unique_ptr<CppClass> copy(c->clone());
    c.reset();
    ASSERT_EQ(copy->getBases().size(), 4u);
    EXPECT_EQ(copy->getBases().at("Real"), real.get());
    EXPECT_TRUE(copy->getBases().at("std::Base")->isUnresolved());
    EXPECT_TRUE(copy->getBases().at("Base")->isInterface());
    EXPECT_EQ(copy->getBases().at("Base")->getName(), "Base");
}

TEST(CppClass, MergeTakesMissingPartsAndKeepsOwnMembers) {
    auto a = makeClass("C", 3, "");
    add(*a, "x", "int x;", "", {}, "", "a.h");
    auto b = makeClass("C", 2, "interface");
    b->setComment("doc");
    b->setSourceDirectory("src");
    b->addFileName("b.java");
    b->addBase("Base", false);
    add(*b, "y", "int y;", "");
    a->mergeFrom(*b);
    a->mergeFrom(*a);
    EXPECT_EQ(a->getComment(), "doc");
    EXPECT_EQ(a->getSourceDirectory(), "src");
    EXPECT_EQ(a->getFileNameList(), "a.h|b.java|f.h|");
    EXPECT_EQ(a->getLanguage(), 2);
    EXPECT_TRUE(a->isInterface());
    ASSERT_EQ(a->getMembers().size(), 1u);
    EXPECT_EQ(a->getMembers()[0]->getName(), "x");
    b.reset();  // the merged placeholder must be a's own
    EXPECT_EQ(a->getBases().at("Base")->getName(), "Base");

    auto empty = makeClass("C", 0);
    auto full = makeClass("C", 0);
    add(*full, "y", "int y;", "");
    empty->mergeFrom(*full);
    full.reset();
    ASSERT_EQ(empty->getMembers().size(), 1u);
    EXPECT_EQ(empty->getMembers()[0]->getOwner(), empty.get());
}

TEST(CppClassMerge, DefinitionWithOtherParameterNamesMergesWithItsDeclaration) {
    // "explicit Circle(double radius);" in the class, "Circle(double r)" in
    // the source file: one constructor, not two. Other types stay apart.
    auto cls = makeClass("Circle", 0);
    CppClassMember* decl =
        add(*cls, "Circle", "explicit Circle(double radius);", "public", {"double radius"}, "Makes one.");
    EXPECT_EQ(add(*cls, "Circle", "Circle(double r)", "", {"double r"}, "", "c.cpp"), decl);
    EXPECT_EQ(decl->getComment(), "Makes one.");
    CppClassMember* move =
        add(*cls, "move", "void move(const Point &p, int n = 1);", "public", {"const Point &p", "int n = 1"});
    EXPECT_EQ(add(*cls, "move", "void move(const Point& to, int)", "", {"const Point& to", "int"}), move);
    EXPECT_NE(add(*cls, "Circle", "Circle(float r)", "", {"float r"}), decl);
    CppClassMember* sizeInt = add(*cls, "size", "void size(unsigned int);", "", {"unsigned int"});
    EXPECT_NE(add(*cls, "size", "void size(unsigned);", "", {"unsigned"}), sizeInt);
    EXPECT_EQ(add(*cls, "size", "void size(std::size_t n);", "", {"std::size_t n"}),
              add(*cls, "size", "void size(std::size_t);", "", {"std::size_t"}));
    EXPECT_EQ(cls->getMembers().size(), 6u);
}

// Large classes find namesakes through a hash table built once the class
// outgrows a plain walk; the merges must not depend on which one is used,
// nor on the table having been regrown between two declarations.
TEST(CppClass, NamesakesMergeAlikeInSmallAndLargeClasses) {
    for (int fill : {0, 5, 40, 300}) {
        auto c = makeClass("Big", 0);
        CppClassMember* first = add(*c, "draw", "void draw(int);", "public", {"int"});
        for (int i = 0; i < fill; ++i)
            add(*c, "m" + std::to_string(i), "int m" + std::to_string(i) + ";", "public");
        CppClassMember* second = add(*c, "draw", "void draw(char);", "public", {"char"});
        for (int i = 0; i < fill; ++i) add(*c, "n" + std::to_string(i), "int n;", "public");
        ASSERT_EQ(c->getMembers().size(), 2 + 2 * static_cast<std::size_t>(fill));

        // Each overload merges with its own earlier declaration.
        EXPECT_EQ(add(*c, "draw", "void draw(char);", "private", {"char"}, "", "g.h"), second);
        EXPECT_EQ(add(*c, "draw", "void draw(int);", "", {"int"}), first);
        EXPECT_EQ(second->getAccess(), "private");
        EXPECT_EQ(second->getFileNameList(), "f.h|g.h|");
        // A member held already is neither taken twice nor deleted.
        EXPECT_EQ(c->addMember("m0x", "", "", "", false, "", {}, first, false), first);
        // "static " is reconciled with the namesake met first.
        CppClassMember* x = add(*c, "x", "int x;", "public");
        for (int i = 0; i < fill; ++i) add(*c, "p" + std::to_string(i), "int p;", "public");
        EXPECT_EQ(add(*c, "x", "static int x;", "public"), x);
        EXPECT_EQ(x->getDeclaration(), "static int x;");
        EXPECT_EQ(c->getMembers().size(), 3 + 3 * static_cast<std::size_t>(fill));

        // After the members go, the class starts over with an empty index.
        c->deleteMembers();
        CppClassMember* again = add(*c, "draw", "void draw(char);", "public", {"char"});
        EXPECT_EQ(add(*c, "draw", "void draw(char);", "public", {"char"}), again);
        EXPECT_EQ(c->getMembers().size(), 1u);
    }
}

// Members made again on another thread's behalf are the same members in the
// same order, still held by their class: a later declaration merges into
// them as before.
TEST(CppClass, RemadeMembersAreTheSameAndStillMerge) {
    auto c = makeClass("Shape", 2);
    add(*c, "area", "double area(int scale)", "public", {"int scale"}, "the area", "a.java");
    add(*c, "name", "String name", "private", {}, "", "b.java");
    const CppClassMember* before = c->getMembers()[0];
    auto describe = [](const CppClass& cls) {
        std::string text;
        for (const CppClassMember* m : cls.getMembers()) {
            text += m->getName() + "|" + m->getDeclaration() + "|" + m->getAccess() + "|" +
                    m->getComment() + "|" + m->getFileNameList() + "|" +
                    (m->hasArgumentList() ? "(" : "-");
            for (const std::string& a : m->getArguments()) text += a + ",";
            text += "\n";
        }
        return text;
    };
    const std::string made = describe(*c);
    c->remakeMembers();
    EXPECT_EQ(describe(*c), made);
    EXPECT_NE(c->getMembers()[0], before);
    EXPECT_EQ(c->getMembers()[0]->getClass(), c.get());

    CppClassMember* merged = add(*c, "area", "double area(int factor)", "public", {"int factor"},
                                 "", "c.java");
    EXPECT_EQ(merged, c->getMembers()[0]);
    EXPECT_EQ(c->getMembers().size(), 2u);
    EXPECT_EQ(merged->getFileNameList(), "a.java|c.java|");
    // Handed in again, a held member is recognised as the class's own.
    EXPECT_EQ(c->addMember("name", "String name", "private", "", false, "", {},
                           c->getMembers()[1], false),
              c->getMembers()[1]);
    EXPECT_EQ(c->getMembers().size(), 2u);
}

// A header declares, a source defines: in whichever order they come, the
// declaration's text, parameters and comment stand, and the definition
// gives only a comment the declaration lacks.
TEST(CppClassMerge, TheDeclarationStandsForItsDefinitionInEitherOrder) {
    for (const bool definitionFirst : {false, true}) {
        auto c = makeClass("View", 0);
        auto call = [&](const std::string& name, const std::string& declaration, const std::string& access,
                        const std::string& comment, std::vector<std::string> args, bool definition) {
            c->addMember(name, declaration, access, comment, true, definition ? "view.cpp" : "view.h", args,
                         new DocGenCppClassMember(c.get()), false, definition, definition);
        };
        auto declare = [&] {
            call("~View", "virtual ~View();", "public", "", {}, false);
            call("resize", "void resize(int width, int height = 0);", "public", "Gives it a new size.",
                 {"int width", "int height = 0"}, false);
        };
        auto define = [&] {
            call("~View", "~View() = default;", "", "Takes it off the screen.", {}, true);
            call("resize", "inline void resize(int w, int h);", "", "Not the header's words.", {"int w", "int h"},
                 true);
        };
        if (definitionFirst) {
            define();
            declare();
        } else {
            declare();
            define();
        }
        ASSERT_EQ(c->getMembers().size(), 2u) << definitionFirst;
        const CppClassMember* destructor = c->getMembers()[0];
        EXPECT_EQ(destructor->getDeclaration(), "virtual ~View();") << definitionFirst;
        EXPECT_EQ(destructor->getComment(), "Takes it off the screen.") << definitionFirst;
        EXPECT_EQ(destructor->getAccess(), "public");
        const CppClassMember* resize = c->getMembers()[1];
        EXPECT_EQ(resize->getDeclaration(), "void resize(int width, int height = 0);") << definitionFirst;
        EXPECT_EQ(resize->getArguments(), (std::vector<std::string>{"int width", "int height = 0"}));
        EXPECT_EQ(resize->getComment(), "Gives it a new size.") << definitionFirst;
        EXPECT_EQ(c->getFileNames().size(), 2u);
    }
}

// C# lets a type have a static constructor beside the instance one: two
// members. C++ writes "static" only where a member is declared.
TEST(CppClassMerge, ACSharpStaticConstructorIsAMemberOfItsOwn) {
    auto cs = makeClass("Cache", 1);
    CppClassMember* once = addFunction(*cs, "Cache", "static Cache();", {}, "Reads the limits once.");
    CppClassMember* each = addFunction(*cs, "Cache", "Cache();", {}, "Makes an empty cache.");
    EXPECT_NE(once, each);
    EXPECT_EQ(once->getDeclaration(), "static Cache();");
    EXPECT_EQ(each->getDeclaration(), "Cache();");
    EXPECT_EQ(each->getComment(), "Makes an empty cache.");
    EXPECT_EQ(addFunction(*cs, "Cache", "static Cache();", {}), once);
    EXPECT_EQ(addFunction(*cs, "Cache", "Cache();", {}), each);

    auto cpp = makeClass("Counter", 0);
    CppClassMember* next = addFunction(*cpp, "next", "static int next();", {}, "The next number.");
    EXPECT_EQ(addFunction(*cpp, "next", "int next();", {}), next);
    EXPECT_EQ(next->getDeclaration(), "static int next();");
}

// A member taken out leaves the others where they were, found by name as
// before, in small classes and in large ones.
TEST(CppClass, AMemberDeletedLeavesTheOthersFoundByName) {
    for (int fill : {0, 6, 40}) {
        auto c = makeClass("Shape", 0);
        CppClassMember* drawInt = add(*c, "draw", "void draw(int);", "public", {"int"});
        CppClassMember* drawChar = add(*c, "draw", "void draw(char);", "public", {"char"});
        for (int i = 0; i < fill; ++i) add(*c, "m" + std::to_string(i), "int m;", "public");
        CppClassMember* area = add(*c, "area", "double area();", "public", {"int"});
        c->deleteMember(drawInt);
        ASSERT_EQ(c->getMembers().size(), 2 + static_cast<std::size_t>(fill)) << fill;
        EXPECT_EQ(c->getMembers().front(), drawChar);
        EXPECT_EQ(c->findMemberLike(*drawChar), drawChar) << fill;
        EXPECT_EQ(add(*c, "draw", "void draw(char);", "private", {"char"}), drawChar) << fill;
        EXPECT_EQ(add(*c, "area", "double area();", "public", {"int"}), area) << fill;
        if (fill > 0) {
            EXPECT_EQ(add(*c, "m3", "int m;", "public"), c->getMembers()[4]) << fill;
        }
        // The one deleted is declared anew.
        CppClassMember* again = add(*c, "draw", "void draw(int);", "public", {"int"});
        EXPECT_EQ(c->getMembers().back(), again) << fill;
        EXPECT_EQ(c->getMembers().size(), 3 + static_cast<std::size_t>(fill)) << fill;
    }
}
