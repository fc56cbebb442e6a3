#include "modules/standard/PageMembers.h"

#include "modules/standard/PageMemberTables.h"
#include "modules/standard/PageTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MembersTest : ::testing::Test {
    pagetest::ListFixture f;
    DocCppClass* widget = nullptr;
    void SetUp() override {
        widget = f.addClass("Widget", "ui", "class", 0);
        f.addClass("Widget::Part", "ui", "class", 0);
        f.addClass("Shape", "geo", "class", 0);
        f.addClass("int", "ui", "class", 0);
    }
    std::string linked(const std::string& declaration, bool function = false,
                       const std::vector<std::string>& args = {}) {
        CppClassMember* m = f.addMember(widget, "m" + std::to_string(++count), declaration,
                                        "public", "", function, args);
        writeMemberEntry(*m, "ui", "Widget", nullptr);
        return m->getDeclaration();
    }
    int count = 0;
};

TEST_F(MembersTest, LinkingClassNames) {
    EXPECT_EQ(linked("std::vector<Shape> shapes;"),
              "std::vector&lt;<a href=\"../geo/Shape.html\">Shape</a>&gt; shapes;");
    // Keywords stay words; the owner's own name is not linked by itself;
    // a nested class links with its qualified name.
    EXPECT_EQ(linked("int copy(const Widget& w, Part p);", true),
              "int copy(const Widget&amp; w, <a href=\"../ui/Widget..Part.html\">Widget::Part</a> p);");
    EXPECT_EQ(linked("const char* s = \"a<b\";"), "const char* s = &quot;a&lt;b&quot;;");

    // A class of a namespace finds its siblings by their short names.
    DocCppClass* polygon = f.addClass("geo::Polygon", "cpp", "class", 0);
    polygon->setText("geo");
    f.addClass("geo::Point", "cpp", "class", 0);
    CppClassMember* add = f.addMember(polygon, "add", "void add(const Point& p);", "public", "", true);
    writeMemberEntry(*add, "cpp", "geo::Polygon", nullptr);
    EXPECT_EQ(add->getDeclaration(),
              "void add(const <a href=\"../cpp/geo..Point.html\">Point</a>&amp; p);");
}

// The linker skips words that cannot name a class; whatever it skips must
// be what the full lookup would have left alone.
TEST_F(MembersTest, LinkerAgreesWithFullLookup) {
    DocCppClass* outer = f.addClass("Outer", "j", "class", 2);
    f.addClass("Outer.Inner", "j", "class", 2);
    f.addClass("C", "a.b", "class", 2);
    DocCppClass* polygon = f.addClass("geo::Polygon", "cpp", "class", 0);
    polygon->setText("geo");
    f.addClass("geo::Point", "cpp", "class", 0);
    const std::vector<std::pair<CppClass*, std::string>> cases = {
        {widget, "Widget::Part Part; ui::Widget w; int Widget; Shape<int>& s; Shapes x;"},
        {widget, "Part"},
        {widget, "const char* t = \"Shape\"; // Part::Part ::Part Part:: :"},
        {outer, "Inner next; Outer.Inner o; C c; a.b.C d; Outer o2;"},
        {polygon, "void add(Point p, geo::Point q, Polygon r, ::Point s);"},
    };
    const MemberEntryLinker linker(f.list);
    int linked = 0;
    for (const auto& [owner, declaration] : cases) {
        CppClassMember* slow = f.addMember(owner, "s" + std::to_string(++count), declaration);
        CppClassMember* fast = f.addMember(owner, "f" + std::to_string(count), declaration);
        writeMemberEntry(*slow, owner->getPackage(), owner->getName(), nullptr);
        linker.link(*fast, owner->getPackage());
        EXPECT_EQ(fast->getDeclaration(), slow->getDeclaration()) << declaration;
        linked += fast->getDeclaration() != declaration;
    }
    EXPECT_EQ(linked, 4);  // a declaration's last word is never examined

    // Every registered last segment passes the quick test; a word that
    // shares length and sampled bytes with one is still told apart.
    for (const char* segment : {"Widget", "Part", "Shape", "int", "Inner", "C", "Point"})
        EXPECT_TRUE(linker.mayName(segment)) << segment;
    for (const char* other : {"Shxpe", "Shapes", "", "D", "Par", "geo"})
        EXPECT_FALSE(linker.mayName(other)) << other;
}

TEST_F(MembersTest, SplittingDeclarations) {
    std::string type, name;
    CppClassMember* size = f.addMember(widget, "size", "int size(int sizeHint, const char* d = \"size\") throw(x) = 0;",
                                       "public", "", true, {"int sizeHint", "const char* d = \"size\""});
    writeMemberEntry(*size, "ui", "Widget", nullptr);
    splitSignature(*size, type, name);
    EXPECT_EQ(type, "int");
    EXPECT_EQ(name, "size(int sizeHint, const char* d = &quot;size&quot;) = 0");
    EXPECT_EQ(highlightName(size->getDeclaration(), *size, "<B>size</B>").substr(0, 16),
              "int <B>size</B>(");
    EXPECT_EQ(memberSignature(*size, true), "size(intsizeHint,constchar*d=&quot;size&quot;)");

    CppClassMember* grid = f.addMember(widget, "grid", "int grid[3][4];");
    splitSignature(*grid, type, name);
    EXPECT_EQ(type, "int[3][4]");
    EXPECT_EQ(name, "grid;");

    // A name's own brackets stay with it.
    CppClassMember* index = f.addMember(widget, "operator[]", "using Base::operator[];");
    splitSignature(*index, type, name);
    EXPECT_EQ(type + "|" + name, "using Base::|operator[];");
    CppClassMember* indexer =
        f.addMember(widget, "this", "TEntry this[int index];", "public", "", true, {"int index"});
    splitSignature(*indexer, type, name);
    EXPECT_EQ(type + "|" + name, "TEntry|this[int index];");

    CppClassMember* callback = f.addMember(widget, "cb", "void (*cb)(int);");
    EXPECT_TRUE(isFunctionPointer(*callback));
    splitSignature(*callback, type, name);
    EXPECT_EQ(name, "cb");
    EXPECT_EQ(type, "void (*)(int)");
    // Another name holding the pointer's, a link and an entity stay whole.
    f.addClass("Widget::manager_op", "ui", "class", 0);
    CppClassMember* manager = f.addMember(widget, "manager",
                                          "void (*manager)(const int& in, manager_op op);");
    writeMemberEntry(*manager, "ui", "Widget", nullptr);
    splitSignature(*manager, type, name);
    EXPECT_EQ(type, "void (*)(const int&amp; in, <a href=\"../ui/Widget..manager_op.html\">"
                    "Widget::manager_op</a> op)");
    EXPECT_EQ(name, "manager");

    CppClassMember* macro = f.addMember(widget, "MAX", "#define MAX 10");
    EXPECT_TRUE(isMacro(*macro));
    splitSignature(*macro, type, name);
    EXPECT_EQ(type + "|" + name, "#define|MAX 10");
}

TEST_F(MembersTest, ConstructorsAnchorsAndLinks) {
    CppClassMember* variable = f.addMember(widget, "Widget", "int Widget;");
    CppClassMember* destructor = f.addMember(widget, "~Widget", "~Widget();", "public", "", true);
    EXPECT_FALSE(isConstructorOrDestructor(*variable));
    EXPECT_TRUE(isConstructorOrDestructor(*destructor));
    CppClassMember* less = f.addMember(widget, "operator<", "bool operator<(const Widget& o);",
                                       "public", "", true, {"const Widget& o"});
    EXPECT_EQ(memberSignature(*less, false), "operator&#60;(const Widget&amp; o)");
    EXPECT_EQ(memberLink(*less, true, "../", "B", false),
              "<a href=\"../ui/Widget.html#operator-3C(constWidget-26o)\"><B>operator&lt;</B></a>");
    EXPECT_EQ(removeSemicolons("a &lt; b; c&#62;;"), "a &lt; b c&#62;");
    // An accessor list keeps its own.
    EXPECT_EQ(removeSemicolons("Total { get; private set; }"), "Total { get; private set; }");
    std::string text = "x";
    stripThrowSpecification(text);
    EXPECT_EQ(text, "x");
}

}  // namespace

namespace {

// The words of a member's own name are never links, even where they name
// a class: a conversion operator keeps its name, a destructor its own.
TEST_F(MembersTest, OwnNamesStayWords) {
    f.addClass("Widget::base_type", "ui", "class", 0);
    CppClassMember* conversion = f.addMember(widget, "operator base_type",
                                             "operator base_type&();", "public", "", true);
    writeMemberEntry(*conversion, "ui", "Widget", nullptr);
    EXPECT_EQ(conversion->getDeclaration(), "operator base_type&amp;();");
    CppClassMember* reference = f.addMember(widget, "operator base_type&",
                                            "operator base_type&() const;", "public", "", true);
    writeMemberEntry(*reference, "ui", "Widget", nullptr);
    EXPECT_EQ(reference->getDeclaration(), "operator base_type&amp;() const;");
    DocCppClass* shape = f.addClass("geo::Shape", "geo", "class", 0);
    CppClassMember* destructor = f.addMember(shape, "~Shape", "virtual ~Shape();", "public", "", true);
    writeMemberEntry(*destructor, "geo", "geo::Shape", nullptr);
    EXPECT_EQ(destructor->getDeclaration(), "virtual ~Shape();");
    // A using-declaration names the member by a qualified name.
    f.addClass("Widget::size_type", "ui", "class", 0);
    CppClassMember* used = f.addMember(widget, "size_type", "using Widget::size_type;");
    writeMemberEntry(*used, "ui", "Widget", nullptr);
    EXPECT_EQ(used->getDeclaration(), "using Widget::size_type;");
    // Other words that name classes are links as before.
    CppClassMember* take = f.addMember(widget, "take", "void take(base_type b);", "public", "",
                                       true, {"base_type b"});
    writeMemberEntry(*take, "ui", "Widget", nullptr);
    EXPECT_EQ(take->getDeclaration(),
              "void take(<a href=\"../ui/Widget..base_type.html\">Widget::base_type</a> b);");
}

// A function's own type parameters are no classes where it uses them,
// whatever class bears their name; other words still link.
TEST_F(MembersTest, AFunctionsOwnTypeParametersStayWords) {
    f.addClass("Iterator", "ui", "class", 0);
    EXPECT_EQ(linked("template <class Iterator> void assign(Iterator first, Iterator last, Shape s);", true),
              "template &lt;class Iterator&gt; void assign(Iterator first, Iterator last, "
              "<a href=\"../geo/Shape.html\">Shape</a> s);");
    EXPECT_EQ(linked("void walk(Iterator it);", true),
              "void walk(<a href=\"../ui/Iterator.html\">Iterator</a> it);");
    DocCppClass* list = f.addClass("Registry", "j", "class", 2);
    f.addClass("T", "j", "class", 2);
    CppClassMember* any = f.addMember(list, "any", "public static <T extends Comparable<T>> T any(T t, T other);",
                                      "public", "", true);
    writeMemberEntry(*any, "j", "Registry", nullptr);
    EXPECT_EQ(any->getDeclaration(), "public static &lt;T extends Comparable&lt;T&gt;&gt; T any(T t, T other);");
    DocCppClass* store = f.addClass("Store", "cs", "class", 1);
    f.addClass("TValue", "cs", "class", 1);
    CppClassMember* get = f.addMember(store, "Get", "public TValue Get<TValue>(string key);", "public", "", true);
    writeMemberEntry(*get, "cs", "Store", nullptr);
    EXPECT_EQ(get->getDeclaration(), "public TValue Get&lt;TValue&gt;(string key);");
}

// Calls of the member's name inside a template's arguments (a return type
// computed from it) are not where it is declared.
TEST_F(MembersTest, ACallInsideTemplateArgumentsIsNotTheDeclaredName) {
    CppClassMember* make =
        f.addMember(widget, "make", "Box<decltype(make(0)), decltype(make(1))> make(int seed);",
                    "public", "", true, {"int seed"});
    writeMemberEntry(*make, "ui", "Widget", nullptr);
    std::string type, name;
    splitSignature(*make, type, name);
    EXPECT_EQ(type, "Box&lt;decltype(make(0)), decltype(make(1))&gt;");
    EXPECT_EQ(name, "make(int seed);");
    EXPECT_EQ(highlightName(make->getDeclaration(), *make, "[M]"),
              "Box&lt;decltype(make(0)), decltype(make(1))&gt; [M](int seed);");
}

}  // namespace
