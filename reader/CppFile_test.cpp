#include "reader/CppFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "VelkLib/VelkError.h"
#include "model/ClassList.h"
#include "model/SpecialisationNames.h"
#include "reader/ParserTestSupport.h"

#include <set>

using ::testing::ElementsAre;

namespace {

// The class's base names as they stand without template arguments: a C++
// base keeps its arguments ("Base<T>"), which a specialisation may need.
std::set<std::string> plainBases(const CppClass* cls) {
    std::set<std::string> names;
    for (const auto& base : cls->getBases()) names.insert(withoutTemplateArguments(base.first));
    return names;
}

const char* const kCppSource = R"(// Shapes of the drawing library.
#include <vector>

/** Something that can be drawn. */
class Shape {
public:
    /** Creates an empty shape. */
    Shape();
    virtual ~Shape();
    /** Draws onto the canvas.
     * Returns false on failure. */
    virtual bool draw(Canvas& canvas, int layer = 0) const = 0;
    bool operator==(const Shape& other) const;
    Shape& operator()(int a, int b);
protected:
    int x, *y, z[4];
private:
    struct Cache {
        int hits;
    };
    friend class Renderer;
    unsigned flags : 3;
};

/** A circle. */
class Circle : public Shape, private virtual Counted {
public:
    Circle(double r) : radius(r), area{0} { }
    double radius;
};

/** Draws with the default canvas. */
bool Shape::draw(Canvas& canvas, int layer = 0) const { return true; }
Shape::Shape() : x(0) {}
Shape::~Shape() {}

class Forward;
int globalCount = 3;
void freeFunction(int a, const std::vector<int>& v);
)";

TEST(CppFileTest, ReadsARealisticCppFile) {
    ParsedSource p;
    p.parse("shapes.h", kCppSource);
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();

    CppClass* shape = p.cls("proj", "Shape");
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->getComment(), "Something that can be drawn.<BR>\n");
    EXPECT_EQ(shape->getKind(), "class");
    EXPECT_THAT(p.memberNames(shape), ElementsAre("Shape", "~Shape", "draw", "operator==",
                                                  "operator()", "x", "y", "z", "flags"));
    CppClassMember* draw = p.member(shape, "draw");
    EXPECT_EQ(draw->getComment(), "Draws onto the canvas.<BR>\nReturns false on failure.<BR>\n");
    EXPECT_EQ(draw->getAccess(), "public");
    EXPECT_TRUE(draw->hasArgumentList());
    EXPECT_THAT(draw->getArguments(), ElementsAre("Canvas& canvas", "int layer = 0"));
    EXPECT_EQ(draw->getDeclaration(), "virtual bool draw(Canvas& canvas, int layer = 0) const = 0;");
    EXPECT_EQ(p.member(shape, "Shape")->getComment(), "Creates an empty shape.<BR>\n");
    EXPECT_EQ(p.member(shape, "~Shape")->getDeclaration(), "virtual ~Shape();");
    EXPECT_EQ(p.member(shape, "x")->getAccess(), "protected");
    EXPECT_EQ(p.member(shape, "y")->getDeclaration(), "int *y;");
    EXPECT_EQ(p.member(shape, "z")->getDeclaration(), "int z[4];");
    EXPECT_FALSE(p.member(shape, "z")->hasArgumentList());
    EXPECT_EQ(p.member(shape, "flags")->getDeclaration(), "unsigned flags : 3;");
    EXPECT_EQ(p.member(shape, "flags")->getAccess(), "private");

    CppClass* cache = p.cls("proj", "Shape::Cache");
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(cache->getText(), "Shape");
    EXPECT_EQ(p.member(cache, "hits")->getAccess(), "public");
    EXPECT_EQ(p.cls("proj", "Renderer"), nullptr);

    CppClass* circle = p.cls("proj", "Circle");
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->getBases().size(), 2u);
    EXPECT_TRUE(circle->getBases().count("Shape"));
    EXPECT_TRUE(circle->getBases().count("Counted"));
    EXPECT_THAT(p.memberNames(circle), ElementsAre("Circle", "radius"));
    EXPECT_THAT(p.member(circle, "Circle")->getArguments(), ElementsAre("double r"));

    CppClass* globals = p.cls("proj", "(proj  globals)");
    ASSERT_NE(globals, nullptr);
    EXPECT_THAT(p.memberNames(globals), ElementsAre("globalCount", "freeFunction"));
    EXPECT_EQ(p.member(globals, "globalCount")->getAccess(), "");
    EXPECT_EQ(p.member(globals, "globalCount")->getDeclaration(), "int globalCount;");
    EXPECT_EQ(p.cls("proj", "Forward"), nullptr);
    EXPECT_TRUE(p.packages.at("proj"));
    EXPECT_EQ(shape->getFileNames().front(), "proj/shapes.h");
}

TEST(CppFileTest, OutOfClassDefinitionsMergeWithDeclarations) {
    ParsedSource p;
    p.parse("shapes.h", kCppSource);
    CppClass* shape = p.cls("proj", "Shape");
    // The definition adds no second draw, keeps the longer declaration and
    // the first comment, and the destructor stays apart from the constructor.
    EXPECT_EQ(p.memberNames(shape).size(), 9u);
    EXPECT_EQ(p.member(shape, "draw")->getComment(),
              "Draws onto the canvas.<BR>\nReturns false on failure.<BR>\n");
    EXPECT_EQ(p.member(shape, "~Shape")->getArguments().size(), 0u);
}

const char* const kJavaSource = R"(package com.acme.util;

import java.util.List;

/** A list that remembers its maximum. */
@SuppressWarnings("unchecked")
public final class MaxList<T extends Comparable<T>> extends BaseList<T> implements Iterable<T>, Sized {
    /** The largest element so far. */
    private T max;
    protected static int count = 0;
    static { count = 1; }

    /** Adds one element. */
    @Override
    public boolean add(T item) throws IllegalStateException {
        if (max == null || item.compareTo(max) > 0) { max = item; }
        return true;
    }

    /** Colours. */
    public enum Colour {
        /** The first. */
        RED(1), GREEN(2);
        private final int code;
        Colour(int c) { code = c; }
    }

    interface Listener { void changed(MaxList<?> list); }

    int size() { return 0; }
}
)";

TEST(CppFileTest, ReadsARealisticJavaFile) {
    ParsedSource p;
    p.parse("MaxList.java", kJavaSource);
    EXPECT_EQ(p.language, 2);
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* list = p.cls("com.acme.util", "MaxList");
    ASSERT_NE(list, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_EQ(list->getComment(), "A list that remembers its maximum.<BR>\n");
    EXPECT_TRUE(list->getBases().count("BaseList"));
    EXPECT_TRUE(list->getBases().at("Iterable")->isInterface());
    EXPECT_TRUE(list->getBases().at("Sized")->isInterface());
    EXPECT_FALSE(list->getBases().at("BaseList")->isInterface());
    EXPECT_THAT(p.memberNames(list), ElementsAre("max", "count", "add", "size"));
    EXPECT_EQ(p.member(list, "max")->getAccess(), "private");
    EXPECT_EQ(p.member(list, "max")->getComment(), "The largest element so far.<BR>\n");
    EXPECT_EQ(p.member(list, "count")->getAccess(), "protected");
    EXPECT_EQ(p.member(list, "add")->getComment(), "Adds one element.<BR>\n");
    EXPECT_EQ(p.member(list, "add")->getAccess(), "public");
    EXPECT_EQ(p.member(list, "size")->getAccess(), "");

    CppClass* colour = p.cls("com.acme.util", "MaxList.Colour");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->getKind(), "enum");
    EXPECT_EQ(colour->getText(), "MaxList");
    // The members after the constants are the enum's too.
    EXPECT_THAT(p.memberNames(colour), ElementsAre("RED", "GREEN", "code", "Colour"));
    EXPECT_EQ(p.member(colour, "RED")->getComment(), "The first.<BR>\n");

    CppClass* listener = p.cls("com.acme.util", "MaxList.Listener");
    ASSERT_NE(listener, nullptr);
    EXPECT_TRUE(listener->isInterface());
    EXPECT_THAT(p.memberNames(listener), ElementsAre("changed"));
    EXPECT_TRUE(p.packages.at("com.acme.util"));
}

const char* const kCSharpSource = R"(using System;
using System.Collections.Generic;

namespace Acme.Billing
{
    /// <summary>An invoice.</summary>
    [Serializable]
    public sealed class Invoice : DocumentBase, IPrintable
    {
        /** Number of lines. */
        [Obsolete("use Lines")]
        public int Count { get; set; }
        private readonly List<Line> lines = new List<Line>();
        public event EventHandler Changed;

        /** Prints the invoice. */
        public void Print(int copies, string printer = "default") { }

        internal static Invoice operator +(Invoice a, Invoice b) { return a; }

        public T Find<T>(Func<T, bool> test) where T : Line, new() { return null; }

        public enum State : byte { Open = 1, Paid }
    }

    public interface IPrintable { void Print(int copies, string printer); }
}

namespace Acme.Other
{
    struct Point { public int X; }
}
)";

TEST(CppFileTest, ReadsARealisticCSharpFile) {
    ParsedSource p;
    p.parse("Invoice.cs", kCSharpSource);
    EXPECT_EQ(p.language, 1);
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* invoice = p.cls("Acme.Billing", "Invoice");
    ASSERT_NE(invoice, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_TRUE(invoice->getBases().count("DocumentBase"));
    EXPECT_TRUE(invoice->getBases().count("IPrintable"));
    EXPECT_THAT(p.memberNames(invoice),
                ElementsAre("Count", "lines", "Changed", "Print", "operator+", "Find"));
    // The attribute between a comment and its member does not lose the comment.
    EXPECT_EQ(p.member(invoice, "Count")->getComment(), "Number of lines.<BR>\n");
    EXPECT_EQ(p.member(invoice, "lines")->getAccess(), "private");
    EXPECT_EQ(p.member(invoice, "lines")->getDeclaration(), "readonly List<Line> lines;");
    EXPECT_THAT(p.member(invoice, "Print")->getArguments(),
                ElementsAre("int copies", "string printer = \"default\""));
    EXPECT_EQ(p.member(invoice, "Print")->getComment(), "Prints the invoice.<BR>\n");

    CppClass* state = p.cls("Acme.Billing", "Invoice.State");
    ASSERT_NE(state, nullptr);
    EXPECT_THAT(p.memberNames(state), ElementsAre("Open", "Paid"));
    EXPECT_TRUE(p.cls("Acme.Billing", "IPrintable")->isInterface());
    // The package ends with its namespace.
    ASSERT_NE(p.cls("Acme.Other", "Point"), nullptr);
    EXPECT_EQ(p.member(p.cls("Acme.Other", "Point"), "X")->getAccess(), "public");
    EXPECT_TRUE(p.packages.at("Acme.Billing"));
    EXPECT_TRUE(p.packages.at("Acme.Other"));
}

TEST(CppFileTest, FilesLanguagesAndPackages) {
    {
        ParsedSource p;
        p.parse("a.h", "/**NODOCUMENT**/\nclass A { int x; };\n");
        EXPECT_EQ(p.classes.size(), 0u);
        EXPECT_TRUE(p.packages.empty());
    }
    {
        ParsedSource p;
        p.parse("Upper.JAVA", "class A { int x; }\n", "");
        EXPECT_EQ(p.language, 2);
        EXPECT_NE(p.cls("(default)", "A"), nullptr);
    }
    {
        ParsedSource p;
        p.parse("noext", "class A { int x; };\nint g;\n", "");
        EXPECT_EQ(p.language, 0);
        EXPECT_NE(p.cls("(default)", "A"), nullptr);
        EXPECT_NE(p.cls("(default)", "((default)  globals)"), nullptr) << "the package's record";
    }
}

TEST(CppFileTest, TypedefsAndEnums) {
    ParsedSource p;
    p.parse("t.h", R"(
/** A tagged struct. */
typedef struct tag { int a; } A, *PA;
typedef void (*Callback)(int);
typedef int (__stdcall *StdCallback)(void*);
typedef unsigned long ulong;
typedef struct other *POTHER;
enum Mode {
    /** Reading. */
    READ = 1,
    WRITE
} currentMode;
enum { HIDDEN_A, HIDDEN_B };
typedef enum Unused Unused_t;
typedef EGLBoolean (EGLAPIENTRYP PFNINITPROC) (EGLDisplay dpy, EGLint *major);
typedef const char *(EGLAPIENTRYP PFNQUERYPROC) (EGLDisplay dpy, EGLint name);
typedef void *(ALLOC_SIZE(1) XMLCALL *xmlMallocFunc)(size_t size);
typedef BOOST_TYPEOF(f) (*Deduced)(int);
typedef components<SYNTAX(CC, EMPTY) (T0, T1 ELL) CV, L> Components;
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    ASSERT_NE(p.cls("proj", "tag"), nullptr);
    EXPECT_THAT(p.memberNames(p.cls("proj", "tag")), ElementsAre("a"));
    ASSERT_NE(p.cls("proj", "A"), nullptr);
    EXPECT_EQ(p.cls("proj", "A")->getKind(), "typedef");
    EXPECT_EQ(p.cls("proj", "A")->getComment(), "A tagged struct.<BR>\n");
    EXPECT_EQ(p.member(p.cls("proj", "PA"), "PA")->getDeclaration(), "typedef tag *PA;");
    for (const char* name : {"Callback", "StdCallback", "ulong", "POTHER", "Unused_t", "PFNINITPROC",
                             "PFNQUERYPROC", "xmlMallocFunc", "Deduced", "Components"})
        EXPECT_NE(p.cls("proj", name), nullptr) << name;
    EXPECT_EQ(p.member(p.cls("proj", "Callback"), "Callback")->getDeclaration(),
              "typedef void(*Callback)(int);");
    EXPECT_EQ(p.cls("proj", "EGLBoolean"), nullptr) << "the return type names no typedef";
    CppClass* mode = p.cls("proj", "Mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_THAT(p.memberNames(mode), ElementsAre("READ", "WRITE"));
    EXPECT_EQ(p.member(mode, "READ")->getComment(), "Reading.<BR>\n");
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_EQ(p.member(globals, "currentMode")->getDeclaration(), "Mode currentMode;");
    EXPECT_EQ(p.cls("proj", "anonymous_enum_1"), nullptr) << "anonymous types are skipped by default";
}

TEST(CppFileTest, AnonymousTypesAreNamedPerHolder) {
    ParsedSource p;
    p.settings.includeAnonymous = true;
    p.parse("anon.h", R"(
class Outer {
    struct { int a; } first;
    struct { int b; } second;
    union { int c; float d; };
};
enum { ONE, TWO };
)");
    EXPECT_NE(p.cls("proj", "Outer::anonymous_struct_1"), nullptr);
    EXPECT_NE(p.cls("proj", "Outer::anonymous_struct_2"), nullptr);
    EXPECT_NE(p.cls("proj", "Outer::anonymous_union_1"), nullptr);
    ASSERT_NE(p.cls("proj", "anonymous_enum_1"), nullptr);
    EXPECT_THAT(p.memberNames(p.cls("proj", "Outer")), ElementsAre("first", "second"));
    EXPECT_EQ(p.member(p.cls("proj", "Outer"), "first")->getDeclaration(),
              "Outer::anonymous_struct_1 first;");
}

TEST(CppFileTest, DocumentMarkersAndNamespaces) {
    ParsedSource p;
    p.settings.noDocumentMarker = "NODOC";
    p.parse("m.h", R"(
class NODOC Hidden { public: void f(); };
namespace lib {
    class Visible { void g(); };
}
extern "C" {
    int cfunc(int);
}
int after;
)");
    EXPECT_EQ(p.cls("proj", "Hidden"), nullptr);
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_EQ(p.member(globals, "f"), nullptr) << "members of a skipped class are not globals";
    EXPECT_NE(p.member(globals, "cfunc"), nullptr);
    EXPECT_NE(p.member(globals, "after"), nullptr);
    ASSERT_NE(p.cls("proj", "lib"), nullptr);
    EXPECT_TRUE(p.cls("proj", "lib")->isNamespace());
    EXPECT_NE(p.cls("proj", "lib::Visible"), nullptr);

    ParsedSource only;
    only.settings.onlyDocumentMarker = "DOC";
    only.parse("o.h", "class DOC Kept { class Inner {}; };\nclass Dropped { int x; };\n"
                      "namespace n { class DOC InSpace {}; }\n");
    EXPECT_NE(only.cls("proj", "Kept"), nullptr);
    EXPECT_NE(only.cls("proj", "Kept::Inner"), nullptr);
    EXPECT_EQ(only.cls("proj", "Dropped"), nullptr);
    EXPECT_NE(only.cls("proj", "n::InSpace"), nullptr);

    ParsedSource global;
    global.settings.namespacesGlobal = true;
    global.parse("g.h", "namespace a { class First {}; }\nnamespace { int hidden; }\nclass Second {};\n");
    EXPECT_NE(global.cls("proj", "First"), nullptr) << "the body's first token is kept";
    EXPECT_NE(global.cls("proj", "Second"), nullptr);
    EXPECT_NE(global.member(global.cls("proj", "(proj  globals)"), "hidden"), nullptr);

    // A namespace named like a class of another file still ends at its "}".
    ParsedSource shared;
    shared.parse("a.h", "namespace lib { struct result_of { int r; }; }\n");
    shared.parse("b.h", "namespace lib { namespace result_of { }\nnamespace aux { struct X { }; } }\n");
    EXPECT_TRUE(shared.warnings.empty()) << shared.warnings.front();
    EXPECT_NE(shared.cls("proj", "lib::aux::X"), nullptr);
}

TEST(CppFileTest, FrameworkMacrosLeaveNoTrace) {
    ParsedSource p;
    p.parse("mfc.cpp", R"(
BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
    ON_COMMAND(ID_OPEN, OnOpen)
END_MESSAGE_MAP()

class CView : public CWnd {
    /** Lost with the macro. */
    DECLARE_DYNCREATE(CView)
    void plain();
    BEGIN_COM_MAP(CView)
        COM_INTERFACE_ENTRY(IView)
    END_COM_MAP_STATIC()
    STDMETHOD(Open)(LPCSTR name) PURE;
    STDMETHOD_(ULONG, AddRef)();
};
STDMETHODIMP_(ULONG) CView::Release() { return 0; }
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* view = p.cls("proj", "CView");
    ASSERT_NE(view, nullptr);
    EXPECT_THAT(p.memberNames(view), ElementsAre("plain", "Open", "AddRef", "Release"));
    EXPECT_EQ(p.member(view, "plain")->getComment(), "");
    EXPECT_EQ(p.member(view, "Open")->getDeclaration(), "STDMETHODIMP Open(LPCSTR name) PURE;");
    EXPECT_EQ(p.member(view, "AddRef")->getDeclaration(), "ULONG AddRef();");
    EXPECT_EQ(p.member(view, "Release")->getDeclaration(), "ULONG Release();");
    EXPECT_EQ(p.cls("proj", "(proj  globals)"), nullptr);

    ParsedSource open;
    EXPECT_THROW(open.parse("m.cpp", "BEGIN_MESSAGE_MAP(A, B)\nON_X()\n"), VelkFileError);
}

TEST(CppFileTest, ModernCodeAndMendedCases) {
    ParsedSource p;
    p.parse("modern.h", R"(
template <typename T, typename = std::enable_if_t<(sizeof(T) > 4)>>
class [[nodiscard]] Box final : public Base<T> {
public:
    auto get() const -> const T& { return value; }
    bool operator>(const Box& other) const;
    std::vector<std::pair<int, int>> pairs;
    std::function<void(int)> callback = [](int x) { if (x > 1) {} };
    int a = b > c ? 1 : 2, d;
    Box() : value{}, pairs{{1, 2}} {}
private:
    T value;
};
typedef void (*Fn)(int);
namespace { int hidden; }
)");
    CppClass* box = p.cls("proj", "Box");
    ASSERT_NE(box, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_TRUE(plainBases(box).count("Base"));
    EXPECT_THAT(p.memberNames(box),
                ElementsAre("get", "operator>", "pairs", "callback", "a", "d", "Box", "value"));
    EXPECT_EQ(p.member(box, "value")->getAccess(), "private");
    EXPECT_NE(p.cls("proj", "Fn"), nullptr);
}

TEST(CppFileTest, CodeAfterAOneLineCommentIsRead) {
    ParsedSource p;
    p.parse("one.h", R"(/** one-liner */ int x4;
int a /** mid */ , b;
/** T */ class T { int t; };
#define MODE_A 0 /**< first mode */
#define MODE_B 1 ///< second mode
/** A widget. */ class W : public T { int w; };
/** Last. */ int last;
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_THAT(p.memberNames(globals), ElementsAre("x4", "a", "b", "last"));
    EXPECT_EQ(p.member(globals, "x4")->getComment(), "one-liner<BR>\n");
    EXPECT_EQ(p.member(globals, "b")->getComment(), "mid<BR>\n");
    EXPECT_EQ(p.member(globals, "last")->getComment(), "Last.<BR>\n");
    ASSERT_NE(p.cls("proj", "T"), nullptr);
    EXPECT_EQ(p.cls("proj", "T")->getComment(), "T<BR>\n");
    CppClass* w = p.cls("proj", "W");
    ASSERT_NE(w, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_EQ(w->getComment(), "A widget.<BR>\n");
    EXPECT_TRUE(w->getBases().count("T"));
    EXPECT_THAT(p.memberNames(w), ElementsAre("w"));
    // The comment after a define documents it, and is not part of its body.
    ASSERT_TRUE(p.macros.count("MODE_A"));
    EXPECT_EQ(p.macros.at("MODE_A").getBody(), "0");
    EXPECT_EQ(p.macros.at("MODE_A").getComment(), "first mode");
    EXPECT_EQ(p.macros.at("MODE_B").getBody(), "1");
}

TEST(CppFileTest, TodaysJavaIsReadWhole) {
    ParsedSource p;
    p.parse("Shapes.java", R"(package geo;

/** A shape. */
public sealed interface Shape permits Circle, Square {
    double area();
}

/** A circle. */
public record Circle(double radius) implements Shape {
    public double area() { return Math.PI * radius * radius; }
}

public non-sealed class Square extends Base<Square, String>.Part implements Shape {
    private static final String HELP = """
        Squares "have" four sides; \"""
        """;
    private final Comparator<String> order = (a, b) -> { return a.compareTo(b); };
    public double area() { return 1; }
}

public enum Unit {
    @Deprecated METRE("m") { String show() { return "m"; } },
    FOOT("ft");
    private final String symbol;
    Unit(String symbol) { this.symbol = symbol; }
    /** The symbol. */
    public String symbol() { return symbol; }
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    ASSERT_NE(p.cls("geo", "Shape"), nullptr);
    EXPECT_TRUE(p.cls("geo", "Shape")->getBases().empty());
    CppClass* circle = p.cls("geo", "Circle");
    ASSERT_NE(circle, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(circle), ElementsAre("Circle", "area"));
    EXPECT_THAT(p.member(circle, "Circle")->getArguments(), ElementsAre("double radius"));
    EXPECT_TRUE(circle->getBases().count("Shape"));
    CppClass* square = p.cls("geo", "Square");
    ASSERT_NE(square, nullptr);
    EXPECT_TRUE(square->getBases().count("Base.Part"));
    EXPECT_THAT(p.memberNames(square), ElementsAre("HELP", "order", "area"));
    CppClass* unit = p.cls("geo", "Unit");
    ASSERT_NE(unit, nullptr);
    EXPECT_THAT(p.memberNames(unit), ElementsAre("METRE", "FOOT", "symbol", "Unit", "symbol"));
    EXPECT_EQ(unit->getMembers().back()->getComment(), "The symbol.<BR>\n");
}

TEST(CppFileTest, TodaysCSharpIsReadWhole) {
    ParsedSource p;
    p.parse("Store.cs", R"(#nullable disable
#pragma warning disable CS1591
namespace Acme.Store;

#region Types
/** <summary>A key.</summary> */
public readonly record struct Key(string Name, int Part);

/// <summary>A store.</summary>
[Serializable, Obsolete("use the new one")]
public sealed partial class Store<T>(ILogger log) : Base(log), IStore<T> where T : class, new()
{
    /// <summary>The path.</summary>
    public string Path { get; init; } = @"C:\data\";
    private string Say(int n) => $"{n} {(n > 1 ? "items" : "item")}";
    /** <summary>Loads.</summary> */
    public async Task<T?> LoadAsync(Key key) { var s = """
        raw "text"
        """; return null; }
}
#endregion
public static class Extensions { public static int Twice(this int x) => x * 2; }
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* key = p.cls("Acme.Store", "Key");
    ASSERT_NE(key, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_EQ(key->getKind(), "record");
    EXPECT_EQ(key->getComment(), "<summary>A key.</summary><BR>\n");
    EXPECT_THAT(p.member(key, "Key")->getArguments(), ElementsAre("string Name", "int Part"));
    CppClass* store = p.cls("Acme.Store", "Store<T>");
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(store->getBases().count("Base"));
    EXPECT_TRUE(store->getBases().count("IStore<>"));
    EXPECT_THAT(p.memberNames(store), ElementsAre("Store", "Path", "Say", "LoadAsync"));
    EXPECT_EQ(p.member(store, "LoadAsync")->getComment(), "<summary>Loads.</summary><BR>\n");
    ASSERT_NE(p.cls("Acme.Store", "Extensions"), nullptr);
    EXPECT_THAT(p.memberNames(p.cls("Acme.Store", "Extensions")), ElementsAre("Twice"));
}

TEST(CppFileTest, TodaysCppTemplatesAndLiteralsEndWhereTheyShould) {
    ParsedSource p;
    p.parse("modern2.hpp", R"(
template <class T> requires std::integral<T>
struct Counter : std::conditional<(sizeof(T) < 4), Small, Big>::type {
    static constexpr auto text = R"x(a "quoted" ) text)x";
    long big = 1'000'000;
    int n;
};
template <class T1, class T2>
struct apply : bool_<(T1::value) < (T2::value)> {};
template <int N>
struct pick : if_c<N<limit<T>::value, A, B>::type {};
struct After { int a; };
#
template <class M> template <bool B>
struct adaptor<M>::subrange<B>::item : F::template apply<M> { int i; };
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* counter = p.cls("proj", "Counter");
    ASSERT_NE(counter, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_TRUE(plainBases(counter).count("std::conditional::type"));
    EXPECT_THAT(p.memberNames(counter), ElementsAre("text", "big", "n"));
    EXPECT_NE(p.cls("proj", "apply"), nullptr);
    EXPECT_NE(p.cls("proj", "pick"), nullptr);
    ASSERT_NE(p.cls("proj", "After"), nullptr);
    EXPECT_THAT(p.memberNames(p.cls("proj", "After")), ElementsAre("a"));
    CppClass* item = p.cls("proj", "adaptor::subrange::item");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(plainBases(item).count("F::apply"));
    EXPECT_THAT(p.memberNames(item), ElementsAre("i"));
}

// A comparison in a template argument of a return type neither closes the
// list nor reads as an initialiser that swallows the functions after it.
TEST(CppFileTest, GreaterOrEqualInATemplateArgumentIsAComparison) {
    ParsedSource p;
    p.settings.includeConst = true;
    p.parse("swizzle.hpp", R"(
template <class V>
typename enable_if_c<is_vec<V>::value && vec_traits<V>::dim>=4, int>::type
W111(V const& a) { return a; }
template <class V>
typename enable_if_c<vec_traits<V>::dim >= 3, int>::type Z111(V const& a) { return a; }
struct Cmp { bool operator>=(const Cmp&) const; bool operator>>=(int); };
template <> constexpr bool enabled<int> = true;
)");
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_THAT(p.memberNames(globals), ElementsAre("W111", "Z111", "enabled"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "Cmp")), ElementsAre("operator>=", "operator>>="));
}

TEST(CppFileTest, MacroGeneratedCodeIsRead) {
    ParsedSource p;
    p.parse("generated.hpp", R"(#include<vector>
#define PAIR(op, name) struct name ## _left { int op; }; struct call_##name { };
PAIR(x, plus)
namespace { struct Hidden { }; }
template <bool B> struct After : ::base::true_ { int a; };
struct MAKE_NAME(flags, 0) { int bits; };
class Op HANDLER_BASE { int b; };
struct Views : public VIEW_BASE(A, B), decltype(pick<A>(0)), Ts... { };
struct Nested : Outer<T>::template apply<T>, P::NESTED_TEMPLATE inner<T> { };
struct Key : ACCESS_MACRO detail::holder<T> EXTRA_BASES { };
struct Big : bool_<limit<T>::value >= 2u> { };
struct Made : sequence<CAT(vector, N)<T> > { };
typedef void (handler_fn)(int);
constexpr struct extent_t { int e; } extent{};
struct Command { union { int index; double value; } begin{0}; };
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    ASSERT_NE(p.cls("proj", "plus_left"), nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(p.cls("proj", "plus_left")), ElementsAre("x"));
    EXPECT_NE(p.cls("proj", "call_plus"), nullptr);
    // An anonymous namespace ends where its body does.
    EXPECT_EQ(p.cls("proj", "Hidden"), nullptr);
    CppClass* after = p.cls("proj", "After");
    ASSERT_NE(after, nullptr);
    EXPECT_TRUE(after->getBases().count("::base::true_"));
    EXPECT_THAT(p.memberNames(after), ElementsAre("a"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "MAKE_NAME")), ElementsAre("bits"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "Op")), ElementsAre("b"));
    CppClass* views = p.cls("proj", "Views");
    ASSERT_NE(views, nullptr);
    EXPECT_EQ(views->getBases().size(), 3u);
    EXPECT_TRUE(views->getBases().count("VIEW_BASE"));
    CppClass* nested = p.cls("proj", "Nested");
    ASSERT_NE(nested, nullptr);
    EXPECT_TRUE(plainBases(nested).count("Outer::apply"));
    EXPECT_TRUE(plainBases(nested).count("P::inner"));
    CppClass* key = p.cls("proj", "Key");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->getBases().size(), 1u);
    EXPECT_TRUE(plainBases(key).count("detail::holder"));
    EXPECT_NE(p.cls("proj", "Big"), nullptr);
    EXPECT_NE(p.cls("proj", "Made"), nullptr);
    EXPECT_NE(p.cls("proj", "handler_fn"), nullptr);
    EXPECT_NE(p.cls("proj", "extent_t"), nullptr);
    EXPECT_THAT(p.memberNames(p.cls("proj", "Command")), ElementsAre("begin"));
}

TEST(CppFileTest, HeaderLibraryDeclarationsAreRead) {
    ParsedSource p;
    p.parse("widgets.h", R"(
typedef void (Draw_F)(const Label *label, int x);
typedef request<OS_DEF(IPPROTO_IP), OS_DEF(IP_JOIN)> join_group;
class Window {
public:
    static void (*idle)();
    void (*callback_)(Window*, void *);
    int start_page(void);
    enum Device::Format format_;
    Window(int W, int H, const char *l = 0) : Base(W, H, l) { init(); }
    Window(short s) noexcept : Base(s) {}
    Window(long s) NOTHROW : Window(int(s), 0) {}
    const Item *first() const { return next(0); }
    Item *first() { return next(0); }
    DECLTYPE_OF(make<A>() ? make<B>() : make<C>(), result_type)
    result_type operator()(int e) const { return e; }
};
template <class K> class Hash { public: using key_type = K; using Base::find; int n; };
/** A vector. */
template <class T> using Vec = std::vector<T>;
using namespace std;
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    ASSERT_NE(p.cls("proj", "Draw_F"), nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_NE(p.cls("proj", "join_group"), nullptr);
    EXPECT_EQ(p.cls("proj", "IPPROTO_IP"), nullptr);
    CppClass* window = p.cls("proj", "Window");
    ASSERT_NE(window, nullptr);
    EXPECT_THAT(p.memberNames(window),
                ElementsAre("idle", "callback_", "start_page", "format_", "Window", "Window", "Window",
                            "first", "first", "operator()"));
    EXPECT_FALSE(p.member(window, "idle")->hasArgumentList());
    EXPECT_TRUE(p.member(window, "start_page")->getArguments().empty());
    EXPECT_EQ(p.member(window, "Window")->getArguments().size(), 3u);
    // Alias declarations are typedefs; a using-declaration is a member.
    ASSERT_NE(p.cls("proj", "Hash::key_type"), nullptr);
    EXPECT_THAT(p.memberNames(p.cls("proj", "Hash")), ElementsAre("find", "n"));
    CppClass* vec = p.cls("proj", "Vec");
    ASSERT_NE(vec, nullptr);
    EXPECT_EQ(vec->getComment(), "A vector.<BR>\n");
    EXPECT_EQ(p.member(vec, "Vec")->getDeclaration(), "template<class T> using Vec = std::vector<T>;");
}

TEST(CppFileTest, DecorationsBeforeAClassNameAreNotItsName) {
    ParsedSource p;
    p.parse("net.h", R"(namespace net {
class Net_Export Socket
{
public:
    int port() const;
};
/** A pipe. */
class Net_Export Pipe
/** More about pipes. */
{ public: void close(); };
struct [[nodiscard]] alignas(8) Net_Export Result /** Or an error. */ : public Base { int code; };
class __declspec(dllexport) Win_Api Handle final { void* h; };
struct __attribute__((visibility("default"))) Shared { int s; };
class Net_Export Deprecated_Api Timer : Base { int t; };
class Net_Export ns::Outer::Inner { int i; };
class Net_Export Op HANDLER_BASE OTHER_MACRO { int b; };
class FOO_API BAR { int z; };
class Net_Export IO { int io; };
struct stat st, *pst;
class Net_Export Forward;
class NET_API Ahead;
struct NET_API Struct_Ahead;
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.classNames(),
                ElementsAre("proj/net", "proj/net::BAR", "proj/net::Handle", "proj/net::IO",
                            "proj/net::Op", "proj/net::Pipe", "proj/net::Result", "proj/net::Shared",
                            "proj/net::Socket", "proj/net::Timer", "proj/net::ns::Outer::Inner"));
    CppClass* socket = p.cls("proj", "net::Socket");
    ASSERT_NE(socket, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(socket), ElementsAre("port"));
    CppClass* pipe = p.cls("proj", "net::Pipe");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(pipe->getComment(), "A pipe.<BR>\nMore about pipes.<BR>\n");
    EXPECT_THAT(p.memberNames(pipe), ElementsAre("close"));
    EXPECT_TRUE(p.cls("proj", "net::Result")->getBases().count("Base"));
    EXPECT_EQ(p.cls("proj", "net::Result")->getComment(), "Or an error.<BR>\n");
    EXPECT_THAT(p.memberNames(p.cls("proj", "net::Op")), ElementsAre("b"));
    // A type and its declarators stay what they are; a decorated class
    // head that ends in ";" declares the class.
    CppClass* space = p.cls("proj", "net");
    EXPECT_THAT(p.memberNames(space), ElementsAre("st", "pst"));
    EXPECT_EQ(p.member(space, "pst")->getDeclaration(), "struct stat *pst;");

    // The document markers are still the first word after the keyword.
    ParsedSource marked;
    marked.settings.noDocumentMarker = "Nodoc";
    marked.parse("m.h", "class Nodoc Net_Export Hidden { int a; };\nclass Net_Export Shown { int b; };\n");
    EXPECT_THAT(marked.classNames(), ElementsAre("proj/Shown"));
    ParsedSource only;
    only.settings.onlyDocumentMarker = "Doc";
    only.parse("o.h", "class Doc Net_Export Kept { int a; };\nclass Net_Export Dropped { int b; };\n");
    EXPECT_THAT(only.classNames(), ElementsAre("proj/Kept"));
}

// Braces that hold an initialiser after "struct Type name" make a variable;
// a body after decorations still makes the class, also one holding a
// single macro or a function body and no ";".
TEST(CppFileTest, BracedInitialisersAfterATypeDeclareVariables) {
    ParsedSource p;
    p.parse("init.h", R"(namespace geo {
struct Point origin{0, 0};
struct Point corners{{0, 0}, {1, 1}};
struct Point centre{std::max(1, 2)};
class Config defaults{"name", ns::Mode::fast};
class Net_Export Widget { Q_OBJECT };
struct Net_Export Runner { void run() { go(); } };
struct Net_Export Labels { public: };
struct Holder {
    struct Point home{1, 2};
    int after;
};
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.classNames(), ElementsAre("proj/geo", "proj/geo::Holder", "proj/geo::Labels",
                                            "proj/geo::Runner", "proj/geo::Widget"));
    CppClass* space = p.cls("proj", "geo");
    ASSERT_NE(space, nullptr);
    EXPECT_THAT(p.memberNames(space), ElementsAre("origin", "corners", "centre", "defaults"));
    std::vector<std::string> declarations;
    for (CppClassMember* m : space->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("struct Point origin{ 0 , 0 };",
                                          "struct Point corners{ { 0 , 0 } , { 1 , 1 } };",
                                          "struct Point centre{ std : : max ( 1 , 2 ) };",
                                          "class Config defaults{ \"name\" , ns : : Mode : : fast };"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "geo::Holder")), ElementsAre("home", "after"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "geo::Runner")), ElementsAre("run"));
}

TEST(CppFileTest, HeadsAfterSpecifiersAndUnexpandedMacros) {
    ParsedSource p;
    p.parse("heads.h", R"(#define WIDE_BASE public wide_base<wchar_t>
NS_BEGIN inline namespace v2 {
class Matcher {
    alignas(16)
    struct Table { int data[256]; } m_table;
protected:
    int after;
};
}
extern FL_EXPORT struct XMap { int rgb; } *current_xmap;
class Traits : public limits<wchar_t>,
#if defined(WCHAR_MIN)
    WIDE_BASE
#else
#error No WCHAR_MIN
#endif
{ int t; };
DOC_ONE_OF(namespace std {, STD_BEGIN)
/** An iterator. */
template <class T> class insert_iterator<list<T> > { int i; };
DOC_ONE_OF( }, STD_END)
class Allocator {
    /** The version. */
    DOC_IGNORED(typedef version_type<Allocator I 1> version;)
    template <class U> struct rebind { typedef Allocator other; };
    int last;
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_NE(p.cls("proj", "v2"), nullptr);
    CppClass* matcher = p.cls("proj", "v2::Matcher");
    ASSERT_NE(matcher, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(matcher), ElementsAre("m_table", "after"));
    EXPECT_EQ(p.member(matcher, "m_table")->getDeclaration(), "v2::Matcher::Table m_table;");
    EXPECT_THAT(p.memberNames(p.cls("proj", "v2::Matcher::Table")), ElementsAre("data"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "XMap")), ElementsAre("rgb"));
    EXPECT_NE(p.member(p.cls("proj", "(proj  globals)"), "current_xmap"), nullptr);
    CppClass* traits = p.cls("proj", "Traits");
    ASSERT_NE(traits, nullptr);
    EXPECT_TRUE(plainBases(traits).count("limits"));
    EXPECT_THAT(p.memberNames(traits), ElementsAre("t"));
    // A partial specialisation is a class of its own.
    CppClass* iterator = p.cls("proj", "insert_iterator<list<T>>");
    ASSERT_NE(iterator, nullptr);
    EXPECT_EQ(iterator->getComment(), "An iterator.<BR>\n");
    EXPECT_THAT(p.memberNames(iterator), ElementsAre("i"));
    CppClass* version = p.cls("proj", "Allocator::version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->getComment(), "The version.<BR>\n");
    EXPECT_NE(p.cls("proj", "Allocator::rebind"), nullptr);
    EXPECT_THAT(p.memberNames(p.cls("proj", "Allocator")), ElementsAre("last"));
}

// A macro call written without its ";" ends before the template head that
// follows it: the constrained overloads after it stay apart and whole.
TEST(CppFileTest, TemplateHeadAfterAnUnexpandedMacroCall) {
    ParsedSource p;
    p.parse("hash.h", R"(template <typename K, typename T> class Hash {
public:
    inline Hash() noexcept = default;
    MOVE_ASSIGN_VIA_SWAP(Hash)
    /** From key and value. */
    template <typename It, IfKeyAndValue<It> = true>
    Hash(It f, It l) : Hash() { insert(f.key()); }
    template <typename It, IfFirstAndSecond<It> = true>
    Hash(It f, It l) : Hash() { insert(f->first); }
    DECLARE_FLAGS(Hash) template <class U> void unite(const U& u);
    void swap(Hash &other) noexcept;
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* hash = p.cls("proj", "Hash");
    ASSERT_NE(hash, nullptr) << ::testing::PrintToString(p.classNames());
    std::vector<std::string> declarations;
    for (CppClassMember* m : hash->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations,
                ElementsAre("inline Hash() noexcept = default;",
                            "template<typename It, IfKeyAndValue<It> = true> Hash(It f, It l);",
                            "template<typename It, IfFirstAndSecond<It> = true> Hash(It f, It l);",
                            "template<class U> void unite(const U& u);", "void swap(Hash& other) noexcept;"));
    ASSERT_EQ(hash->getMembers().size(), 5u);
    EXPECT_EQ(hash->getMembers()[1]->getComment(), "From key and value.<BR>\n");
}

TEST(CppFileTest, FunctionTryBlocksAndUsingDeclarations) {
    ParsedSource p;
    p.parse("ptr.h", R"(template <class T> class Ptr : public Base {
public:
    /** Takes p. */
    Ptr(T* p) try : p_(p), n_{1} {} catch (const std::bad_alloc&) { throw; } catch (...) {}
    void reset() try { p_ = 0; } catch (...) {}
    using Base::count;
    using typename Base::value_type;
    using Base::operator=;
    using Base::Base;
protected:
    /** The held pointer. */
    using Base::get;
    using enum Color;
    T* p_;
};
int load(int fd) try { return read(fd); } catch (...) { return -1; }
using std::swap;
using namespace std;
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* ptr = p.cls("proj", "Ptr");
    ASSERT_NE(ptr, nullptr);
    EXPECT_THAT(p.memberNames(ptr), ElementsAre("Ptr", "reset", "count", "value_type", "operator=",
                                                "Base", "get", "p_"));
    CppClassMember* ctor = p.member(ptr, "Ptr");
    EXPECT_EQ(ctor->getDeclaration(), "Ptr(T* p);");
    EXPECT_EQ(ctor->getComment(), "Takes p.<BR>\n");
    EXPECT_EQ(p.member(ptr, "reset")->getDeclaration(), "void reset();");
    CppClassMember* count = p.member(ptr, "count");
    EXPECT_EQ(count->getDeclaration(), "using Base::count;");
    EXPECT_FALSE(count->hasArgumentList());
    EXPECT_EQ(p.member(ptr, "value_type")->getDeclaration(), "using typename Base::value_type;");
    EXPECT_EQ(p.member(ptr, "operator=")->getDeclaration(), "using Base::operator=;");
    EXPECT_EQ(p.member(ptr, "Base")->getDeclaration(), "using Base::Base;");
    CppClassMember* get = p.member(ptr, "get");
    EXPECT_EQ(get->getAccess(), "protected");
    EXPECT_EQ(get->getComment(), "The held pointer.<BR>\n");
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_THAT(p.memberNames(globals), ElementsAre("load"));
    EXPECT_EQ(p.member(globals, "load")->getDeclaration(), "int load(int fd);");

    // A default argument of the template head does not hide the
    // initialiser list, nor does a macro call after the parameters name
    // the function.
    ParsedSource head;
    head.parse("view.h", "struct View { template <class C, if_char<C> = true>\n"
                         "    View(const C* f, const C* l) NOEXCEPT_IF(ok<C>()) : View(f, l - f) {}\n"
                         "    void swap(View& o) NOEXCEPT_IF(true);\n};\n");
    EXPECT_THAT(head.memberNames(head.cls("proj", "View")), ElementsAre("View", "swap"));
    CppClassMember* view = head.member(head.cls("proj", "View"), "View");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getDeclaration(),
              "template<class C, if_char<C> = true> View(const C* f, const C* l) NOEXCEPT_IF(ok<C>());");
    EXPECT_THAT(view->getArguments(), ElementsAre("const C* f", "const C* l"));
}

// A function template shows its own template head, which sets it apart
// from a plain namesake of the same parameters; a class template's member
// defined outside the class is defined under the class's head, which is not
// the member's.
TEST(CppFileTest, TemplateHeadsStayWithTheFunctionThatOwnsThem) {
    ParsedSource p;
    p.parse("vec.h", R"(template <class T> class Vec {
public:
    /** Any. */
    template <class U> const U& value(size_t n) const;
    /** Int. */
    int value(size_t n) const;
    /** Push. */
    void push(const T& x);
    /** Assign. */
    template <class It> void assign(It first, It last);
};
template <class T> template <class U> const U& Vec<T>::value(size_t i) const { return 0; }
template <class T> int Vec<T>::value(size_t i) const { return 0; }
template <class T> void Vec<T>::push(const T& v) {}
template <class T> template <class It> void Vec<T>::assign(It f, It l) {}
/** Converts. */
template <typename To, typename From> To convert(const From& f);
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* vec = p.cls("proj", "Vec");
    ASSERT_NE(vec, nullptr);
    std::vector<std::string> entries;
    for (const CppClassMember* m : vec->getMembers())
        entries.push_back(m->getDeclaration() + " " + m->getComment() + m->getFileNameList());
    EXPECT_THAT(entries, ElementsAre("template<class U> const U& value(size_t n) const; Any.<BR>\nproj/vec.h|",
                                     "int value(size_t n) const; Int.<BR>\nproj/vec.h|",
                                     "void push(const T& x); Push.<BR>\nproj/vec.h|",
                                     "template<class It> void assign(It first, It last); Assign.<BR>\nproj/vec.h|"));
    EXPECT_EQ(p.member(p.cls("proj", "(proj  globals)"), "convert")->getDeclaration(),
              "template<typename To, typename From> To convert(const From& f);");
}

TEST(CppFileTest, WarningsNameLineAndFile) {
    ParsedSource p;
    p.parse("w.h", "\n\ntypedef ;\nclass A : public 3 {};\nclass B {};\n");
    ASSERT_GE(p.warnings.size(), 1u);
    EXPECT_EQ(p.warnings[0], "Could not understand line 3 (" + (p.directory / "w.h").string() + ").");
    EXPECT_EQ(p.cls("proj", "A"), nullptr);
    EXPECT_NE(p.cls("proj", "B"), nullptr);
    EXPECT_NE(std::find(p.statuses.begin(), p.statuses.end(), "proj/B"), p.statuses.end());
}

TEST(CppFileTest, BraceInitializersAreCut) {
    ParsedSource p;
    std::string text = "int table[] = {";
    for (int i = 0; i < 1000; ++i) text += std::to_string(i) + ", ";
    text += "};\nint next;\n";
    p.parse("big.cpp", text);
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_THAT(p.memberNames(globals), ElementsAre("table", "next"));
}


// A comma between template arguments in an initialiser separates no
// declarators: a variable template declares one variable, and a name
// qualified by a template-id ("is_same<A, B>::value") is one operand.
TEST(CppFileTest, CommasInAnInitialisersTemplateArgumentsDeclareNoVariable) {
    ParsedSource p;
    p.parse("predicate.hpp", R"(
struct predicate {
    template <class T>
    static constexpr bool enable_value =  //
    enabled                               //
    && !std::is_same<std::decay_t<T>, outcome>::value  // not my type
    && base::template enable_value<T>;
    static const bool plain = std::is_same<A, B>::value && base::template on<A>, other = false;
    int a = x < y, b = z;
};
)");
    CppClass* predicate = p.cls("proj", "predicate");
    ASSERT_NE(predicate, nullptr);
    EXPECT_THAT(p.memberNames(predicate), ElementsAre("enable_value", "plain", "other", "a", "b"));
    EXPECT_EQ(p.member(predicate, "enable_value")->getDeclaration(),
              "template<class T> static constexpr bool enable_value;");
    EXPECT_EQ(p.member(predicate, "plain")->getDeclaration(), "static const bool plain;");
    EXPECT_EQ(p.member(predicate, "other")->getDeclaration(), "static const bool other;");
}

// An assertion checked while compiling, in a class or outside, is no member.
TEST(CppFileTest, StaticAssertionsAreNoMembers) {
    ParsedSource p;
    p.parse("range.hpp", R"(
template <typename T, T From, T To>
struct range {
    static_assert(From <= To, "make_range(from, to) requires 'from <= to'");
    static constexpr T size = To - From;
};
static_assert(sizeof(int) >= 4, "int too small");
int after;
)");
    EXPECT_THAT(p.memberNames(p.cls("proj", "range")), ElementsAre("size"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "(proj  globals)")), ElementsAre("after"));
}

// The later declarators of a list keep their own words apart from the name.
TEST(CppFileTest, ConstPointerDeclaratorsKeepTheirWords) {
    ParsedSource p;
    p.parse("chunk.hpp", "struct chunk { T *const begin_, *curr_, *const end_; };\n");
    CppClass* chunk = p.cls("proj", "chunk");
    ASSERT_NE(chunk, nullptr);
    EXPECT_THAT(p.memberNames(chunk), ElementsAre("begin_", "curr_", "end_"));
    EXPECT_EQ(p.member(chunk, "begin_")->getDeclaration(), "T *const begin_;");
    EXPECT_EQ(p.member(chunk, "curr_")->getDeclaration(), "T *curr_;");
    EXPECT_EQ(p.member(chunk, "end_")->getDeclaration(), "T *const end_;");
}

// "&&" and "**" bind to the type as "&" and "*" do: the name after them
// stays a word of its own.
TEST(CppFileTest, RunsOfPointerMarksKeepTheNameApart) {
    ParsedSource p;
    p.parse("box.hpp", R"(
struct Box {
    Box(Box&& o);
    template <class T> void put(T&& value, const char** names, int (*fp)(int&&));
};
)");
    CppClass* box = p.cls("proj", "Box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(p.member(box, "Box")->getDeclaration(), "Box(Box&& o);");
    EXPECT_THAT(p.member(box, "Box")->getArguments(), ElementsAre("Box&& o"));
    EXPECT_THAT(p.member(box, "put")->getArguments(),
                ElementsAre("T&& value", "const char** names", "int(*fp)(int&&)"));
}

// A comparison in a declaration's text keeps its operator whole.
TEST(CppFileTest, ComparisonOperatorsStayWhole) {
    ParsedSource p;
    p.parse("indices.hpp", R"(
struct indices {
    CHECK_MSG(Sp <= Ep, "input error");
    void check(bool in = Sp <= Ep, const char* message = "input error");
    void check(bool fits = (bits == 32 || bits != 64));
    void f(int a = 1, int b = (2 <= 3));
};
)");
    CppClass* indices = p.cls("proj", "indices");
    ASSERT_NE(indices, nullptr);
    std::vector<std::string> declarations;
    for (CppClassMember* m : indices->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations,
                ElementsAre("void check(bool in = Sp<= Ep, const char* message = \"input error\");",
                            "void check(bool fits = (bits == 32||bits!= 64));",
                            "void f(int a = 1, int b = (2<= 3));"));
}

// A brace inside parentheses (a temporary in a trailing return type, an
// empty default argument) opens no function body.
TEST(CppFileTest, BracesInsideParenthesesOpenNoBody) {
    ParsedSource p;
    p.parse("apply.hpp", R"(
template <typename Fn, typename Tpl>
auto apply(Fn&& fn, Tpl&& tpl)
    -> decltype(apply_impl(std::forward<Fn>(fn), std::forward<Tpl>(tpl), make_seq<N>{}))
{
    return apply_impl(std::forward<Fn>(fn), std::forward<Tpl>(tpl), make_seq<N>{});
}
void fill(std::vector<int> values = {}, int count = 0);
int after;
struct atomic {
    DEFAULTED_FUNCTION(atomic() NOEXCEPT_DECL, NOEXCEPT_IMPL {})
    explicit atomic(value_type v) NOEXCEPT;
};
)");
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_THAT(p.memberNames(globals), ElementsAre("apply", "fill", "after"));
    // A brace in a macro call's parentheses is a body the macro takes: the
    // call ends there, and the constructor after it is a declaration of
    // its own.
    CppClass* atomic = p.cls("proj", "atomic");
    ASSERT_NE(atomic, nullptr);
    std::vector<std::string> declarations;
    for (CppClassMember* m : atomic->getMembers())
        if (!m->getArguments().empty()) declarations.push_back(m->getDeclaration());
    ASSERT_EQ(declarations.size(), 1u);
    EXPECT_THAT(declarations[0], ::testing::EndsWith("explicit atomic(value_type v) NOEXCEPT;"));
    EXPECT_THAT(declarations[0], ::testing::Not(::testing::HasSubstr("DEFAULTED_FUNCTION")));
    EXPECT_EQ(p.member(globals, "fill")->getArguments(),
              (std::vector<std::string>{"std::vector<int> values = { }", "int count = 0"}));
}

// A word left before the type (a macro without its definition) is not the
// name of a variable whose type begins with "unsigned".
TEST(CppFileTest, UnsignedVariablesAfterAnUnexpandedMacro) {
    ParsedSource p;
    p.parse("expression.hpp", R"(
template <class A, class B>
struct expression {
   static const CXX14_CONSTEXPR unsigned left_depth  = A::depth + 1;
   static const CXX14_CONSTEXPR unsigned right_depth = B::depth + 1;
   unsigned LONG total;
   unsigned flags : 3;
};
)");
    CppClass* expression = p.cls("proj", "expression");
    ASSERT_NE(expression, nullptr);
    EXPECT_THAT(p.memberNames(expression), ElementsAre("left_depth", "right_depth", "total", "flags"));
    EXPECT_EQ(p.member(expression, "right_depth")->getDeclaration(),
              "static const CXX14_CONSTEXPR unsigned right_depth;");
}


// A brace initialiser closes its declarator, not the declaration: every
// declarator of the list is a variable, each with its own initialiser.
TEST(CppFileTest, BraceInitialisersInADeclaratorList) {
    ParsedSource p;
    p.parse("list.h", R"(struct A { int v; };
A a{1}, b{2};
std::vector<int> first{1, 2}, *second{nullptr}, third[2]{{3}, {4}};
class Holder {
    A left{1}, right{2};
    int after;
};
auto f() -> int { return 0; }
#define FUTURE unique_future
class FUTURE {
    FUTURE() {}
    int state;
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* globals = p.cls("proj", "(proj  globals)");
    ASSERT_NE(globals, nullptr);
    std::vector<std::string> declarations;
    for (CppClassMember* m : globals->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("A a{ 1 };", "A b{ 2 };", "std::vector<int> first{ 1 , 2 };",
                                          "std::vector<int> *second{ nullptr };",
                                          "std::vector<int> third[2]{ { 3 } , { 4 } };",
                                          "auto f()-> int;"));
    CppClass* holder = p.cls("proj", "Holder");
    EXPECT_THAT(p.memberNames(holder), ElementsAre("left", "right", "after"));
    EXPECT_EQ(p.member(holder, "right")->getDeclaration(), "A right{ 2 };");
    // Braces that no "," or ";" follows were a body: the "()" of the
    // constructor went with the macro, as a macro without parameters takes it.
    CppClass* future = p.cls("proj", "unique_future");
    ASSERT_NE(future, nullptr);
    ASSERT_NE(p.member(future, "state"), nullptr);
    EXPECT_EQ(p.member(future, "state")->getDeclaration(), "int state;");
}
// Empty braces after a type and a name initialise a variable; after
// decorations spelt like macros they are the body of an empty class.
TEST(CppFileTest, EmptyBracesAfterAnElaboratedTypeInitialiseAVariable) {
    ParsedSource p;
    p.parse("empty.h", R"(struct A a{};
struct Point origin{}, corner{};
struct NET_EXPORT Empty {};
class Holder {
    struct A inside{};
    int after;
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.classNames(), ElementsAre("proj/(proj  globals)", "proj/Empty", "proj/Holder"));
    CppClass* globals = p.cls("proj", "(proj  globals)");
    std::vector<std::string> declarations;
    for (CppClassMember* m : globals->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("struct A a{ };", "struct Point origin{ };", "struct Point corner{ };"));
    CppClass* holder = p.cls("proj", "Holder");
    EXPECT_THAT(p.memberNames(holder), ElementsAre("inside", "after"));
}
// A macro call whose arguments hold braces is code the macro takes, even
// when they pair up: the declaration after the call begins after its ")".
TEST(CppFileTest, MacroCallsEndingInBracesLeaveTheNextDeclarationWhole) {
    ParsedSource p;
    p.parse("calls.h", R"(FOO(x, {})
int after;
REGISTER_TABLE({1, 2})
int after2;
struct S {
    DEFAULTED_FUNCTION(S() NOEXCEPT_DECL, NOEXCEPT_IMPL {})
    explicit S(int v) NOEXCEPT;
    FOO(x, {}) int m;
    DEFAULTED_FUNCTION(~S(), {})
    DEFAULTED_FUNCTION(S& operator= (S const& that), { v = that.v; return *this; })
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    std::vector<std::string> declarations;
    for (CppClassMember* m : p.cls("proj", "(proj  globals)")->getMembers())
        declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("int after;", "int after2;"));
    declarations.clear();
    for (CppClassMember* m : p.cls("proj", "S")->getMembers()) declarations.push_back(m->getDeclaration());
    // A function in the first argument, its body in a later one, is read.
    EXPECT_THAT(declarations, ElementsAre("S() NOEXCEPT_DECL;", "explicit S(int v) NOEXCEPT;", "int m;",
                                          "~S();", "S& operator=(S const& that);"));
}

std::vector<std::string> declarationsOf(const CppClass* c) {
    std::vector<std::string> declarations;
    if (c)
        for (CppClassMember* m : c->getMembers()) declarations.push_back(m->getDeclaration());
    return declarations;
}

// A framework's macros are not defined where a library built on it is
// read: a call of one that is written without its ";" is no part of the
// declaration after it, and a call alone at namespace scope, where a
// declaration needs a type, declares nothing.
TEST(CppFileTest, MacroCallsBeforeADeclarationAreNoPartOfIt) {
    ParsedSource p;
    p.parse("view.h", R"(
INCLUDE_FOR_TOOL(<ui/cursor.h>)
NS_BEGIN
class ViewPrivate;
class View : public Base {
    OBJECT_MARK
    PROPERTY_INFO(int mode READ mode)
    friend class ViewItem;
public:
    enum Mode { Single, Multi };
    ENUM_INFO(Mode)
    /** Makes a view. */
    explicit View(Widget* parent = nullptr);
    DECLARE_FLAGS(Options, Option) FLAG_INFO(Options)
    Options options() const;
    DEPRECATED_X("use g") void f();
    MARK_INVOKABLE REVISION(2, 1) void g();
    MARK_INVOKABLE void h();
    NO_COPY(View)
    ~View();
};
class RGB {
public:
    RGB(int r);
    ENUM_INFO(Mode) RGB(int r, int g);
};
DECLARE_INFO(View, MOVABLE);
REQUIRE_FEATURE(action);
DECLARE_SHARED(Brush) GUI_EXPORT Stream& operator<<(Stream&, const Brush&);
DECLARE_METATYPE(Pen)
DECLARE_METATYPE(Font);
NS_END
NS_BEGIN
class Other;
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* view = p.cls("proj", "View");
    ASSERT_NE(view, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(view), ElementsAre("View", "options", "f", "g", "h", "~View"));
    EXPECT_THAT(declarationsOf(view),
                ElementsAre("explicit View(Widget* parent = nullptr);", "Options options() const;",
                            "void f();", "MARK_INVOKABLE void g();", "MARK_INVOKABLE void h();",
                            "~View();"));
    EXPECT_EQ(p.member(view, "View")->getComment(), "Makes a view.<BR>\n");
    EXPECT_THAT(declarationsOf(p.cls("proj", "RGB")), ElementsAre("RGB(int r);", "RGB(int r, int g);"));
    // The forward declarations after macro words declare no variables.
    CppClass* globals = p.cls("proj", "(proj  globals)");
    EXPECT_THAT(p.memberNames(globals), ElementsAre("operator<<"));
    EXPECT_EQ(p.member(globals, "operator<<")->getDeclaration(),
              "GUI_EXPORT Stream& operator<<(Stream&, const Brush&);");
}

// "public SLOTS_WORD:" is an access label, and a macro word alone before
// ":" in a class, where no type stands before it, is a label too: neither
// becomes part of a member, nor ends the class's members.
TEST(CppFileTest, AccessLabelsWithMacroWords) {
    ParsedSource p;
    p.parse("spin.h", R"(
class Spin {
    OBJECT_MARK
public:
    enum StepType { Default, Adaptive };
    ENUM_INFO(StepType)
public SLOTS_WORD:
    void stepUp();
protected MORE_WORDS SLOTS_WORD:
    void stepDown();
    NATIVE_ACCESSOR(Spin)
SIGNALS_WORD:
    void changed(int value);
    void edited();
private:
    unsigned FLAG : 1;
    int WIDTH : 4;
};
struct Point {
    Point(int x) NOEXCEPT_MARK : x(x) { }
    int x;
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* spin = p.cls("proj", "Spin");
    ASSERT_NE(spin, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(spin), ElementsAre("stepUp", "stepDown", "changed", "edited", "FLAG", "WIDTH"));
    EXPECT_THAT(declarationsOf(spin), ElementsAre("void stepUp();", "void stepDown();", "void changed(int value);",
                                                  "void edited();", "unsigned FLAG : 1;", "int WIDTH : 4;"));
    EXPECT_EQ(p.member(spin, "stepUp")->getAccess(), "public");
    EXPECT_EQ(p.member(spin, "stepDown")->getAccess(), "protected");
    EXPECT_EQ(p.member(spin, "changed")->getAccess(), "protected");
    EXPECT_EQ(p.member(spin, "FLAG")->getAccess(), "private");
    EXPECT_THAT(p.memberNames(p.cls("proj", "Point")), ElementsAre("Point", "x"));
}

// Calls of macros whose definitions are not read, standing where the macro
// makes declarations or bodies: their arguments are tokens (operators
// among them), never a declaration's name or parameters.
TEST(CppFileTest, UnexpandedMacroCallsMakeNoDeclarationOfTheirOwn) {
    ParsedSource p;
    p.parse("operators.hpp", R"(
namespace ops {
OPER_FWD_DECL( < , LT, >=, GE ) OPER_FWD_DECL( <=, LE, > , GT )
template<typename L, typename R> bool band(L l, R r);
INTEROP_HEAD(inline, <, always_bool) { return lhs < rhs; }
INTEROP_HEAD(inline, >, always_bool) { return lhs > rhs; }
INTEROP_HEAD(inline, >=, always_bool) { return lhs >= rhs; }
template<class D> inline D operator+(D const& i, int n) { return i; }
}
class RGB {
public:
    RGB(int v) { }
    int v;
};
struct cmp {
    COMPARE_OP(>);
    COMPARE_OP(>=);
    COMPARE_OP(<<=);
    int after;
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* ops = p.cls("proj", "ops");
    ASSERT_NE(ops, nullptr) << ::testing::PrintToString(p.classNames());
    std::vector<std::string> declarations;
    for (CppClassMember* m : ops->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("template<typename L, typename R> bool band(L l, R r);",
                                          "template<class D> inline D operator+(D const& i, int n);"));
    // A constructor is named as its class is, in capitals or not.
    EXPECT_THAT(p.memberNames(p.cls("proj", "RGB")), ElementsAre("RGB", "v"));
    // Each call of a declaration macro ends at its ";", whatever operator
    // it takes, and declares nothing.
    std::vector<std::string> cmp;
    for (CppClassMember* m : p.cls("proj", "cmp")->getMembers()) cmp.push_back(m->getDeclaration());
    EXPECT_THAT(cmp, ElementsAre("int after;"));
}

// A macro that stands for a function's body leaves the head before it a
// declaration of its own: the template head after the call starts the next.
TEST(CppFileTest, BodyMacrosEndTheirDefinitions) {
    ParsedSource p;
    p.parse("generated.hpp", R"(
template<typename T> inline oct<T> operator+(T const& lhs, oct<T> const& rhs) GEN_BODY(+)
template<typename T> inline oct<T> operator+(oct<T> const& lhs, T const& rhs) GEN_BODY(+)
template<class Tag, class T> constexpr auto alias_value(alias<T, Tag> const& a) RETURNS(lvalue(a.value))
template<class Tag, class T> constexpr auto alias_value(alias<T, Tag>& a) RETURNS(move(a.value))
template<typename T> inline oct<T> operator-(oct<T> const& o) { return o; }
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* globals = p.cls("proj", "(proj  globals)");
    ASSERT_NE(globals, nullptr);
    std::vector<std::string> declarations;
    for (CppClassMember* m : globals->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(
        declarations,
        ElementsAre(
            "template<typename T> inline oct<T> operator+(T const& lhs, oct<T> const& rhs) GEN_BODY(+);",
            "template<typename T> inline oct<T> operator+(oct<T> const& lhs, T const& rhs) GEN_BODY(+);",
            "template<class Tag, class T> constexpr auto alias_value(alias<T, Tag> const& a) "
            "RETURNS(lvalue(a.value));",
            "template<class Tag, class T> constexpr auto alias_value(alias<T, Tag>& a) RETURNS(move(a.value));",
            "template<typename T> inline oct<T> operator-(oct<T> const& o);"));
}

// A brace inside a call nested in a macro's arguments is an expression's
// temporary; the declaration the macros constrain goes on after them.
TEST(CppFileTest, TemporariesInsideMacroArgumentsOpenNoBody) {
    ParsedSource p;
    p.parse("outcome.hpp", R"(
class outcome {
public:
    TEMPLATE(class T)
    TREQUIRES(TPRED(convert<outcome, decay_t<T>>::enable_result || !basic_result<T>),
              TEXPR(convert<outcome, decay_t<T>>{}(std::declval<T>())))
    constexpr explicit outcome(T& o, tag t = tag()) : outcome{convert<outcome, decay_t<T>>{}(o)} { }
    TREQUIRES(TEXPR(make<T>{}(std::declval<T>())))
    explicit outcome(const other<T>& o) { }
    int after;
};
struct unused {
    CONSTEXPR DEFAULTED_FUNCTION(unused() NOEXCEPT_ON_DEFAULTED, { })
    template <typename T> CONSTEXPR unused(T const&) NOEXCEPT { }
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    // A brace directly in the parentheses of a macro call is a body the
    // macro takes, also after words that qualify the call.
    CppClass* unused = p.cls("proj", "unused");
    ASSERT_NE(unused, nullptr);
    ASSERT_NE(unused->getMembers().size(), 0u);
    EXPECT_EQ(unused->getMembers().back()->getDeclaration(),
              "template<typename T> CONSTEXPR unused(T const&) NOEXCEPT;");
    CppClass* outcome = p.cls("proj", "outcome");
    ASSERT_NE(outcome, nullptr);
    EXPECT_THAT(p.memberNames(outcome), ElementsAre("outcome", "outcome", "after"));
    ASSERT_EQ(outcome->getMembers().size(), 3u);
    EXPECT_THAT(outcome->getMembers()[0]->getArguments(), ElementsAre("T& o", "tag t = tag()"));
    EXPECT_THAT(outcome->getMembers()[1]->getArguments(), ElementsAre("const other<T>& o"));
}

// A parameter declared as an array is a pointer: a declaration and a
// definition that write it either way are one member.
TEST(CppFileTest, ArrayParametersAreThePointersTheyDecayTo) {
    ParsedSource p;
    p.parse("decay.cpp", R"(class X {
public:
    /** Fills. */
    void fill(int values[], int count);
    void rows(int (*grid)[3]);
    void rows(int** grid);
};
void X::fill(int* v, int n) {}
void X::rows(int grid[][3]) {}
void X::rows(int** g) {}
template <typename T> struct Size;
template <> struct Size<const char*> { static int of(const char* s) { return 0; } };
template <int N> struct Size<char[N]> { static int of(const char s[N]) { return N; } };
)");
    CppClass* x = p.cls("proj", "X");
    ASSERT_NE(x, nullptr);
    EXPECT_THAT(p.memberNames(x), ElementsAre("fill", "rows", "rows"));
    EXPECT_EQ(p.member(x, "fill")->getComment(), "Fills.<BR>\n");
    // Each specialisation is a class of its own, with its own function.
    EXPECT_EQ(p.cls("proj", "Size"), nullptr);
    ASSERT_NE(p.cls("proj", "Size<const char*>"), nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberTexts(p.cls("proj", "Size<const char*>")), ElementsAre("of: static int of(const char* s);"));
    ASSERT_NE(p.cls("proj", "Size<char[N]>"), nullptr);
    EXPECT_THAT(p.memberTexts(p.cls("proj", "Size<char[N]>")), ElementsAre("of: static int of(const char s[N]);"));
}
// A variable template shows its template head, as a function template
// does; a static member of a class template defined outside it is defined
// under the class's head, which is not the variable's own.
TEST(CppFileTest, VariableTemplatesShowTheirHead) {
    ParsedSource p;
    p.settings.includeConst = true;
    p.parse("traits.hpp", R"(template<class T> constexpr bool is_small_v = sizeof(T) < 8;
template <typename T, int N = 2> inline T scaled{N};
template<class T> struct Vec {
    template<class U> static constexpr bool fits = sizeof(U) <= sizeof(T);
    static int count;
};
template<class T> int Vec<T>::count = 0;
)");
    CppClass* globals = p.cls("proj", "(proj  globals)");
    ASSERT_NE(globals, nullptr);
    std::vector<std::string> declarations;
    for (CppClassMember* m : globals->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("template<class T> constexpr bool is_small_v;",
                                          "template<typename T, int N = 2> inline T scaled{ N };"));
    declarations.clear();
    for (CppClassMember* m : p.cls("proj", "Vec")->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("template<class U> static constexpr bool fits;", "static int count;"));
}
// In a class a name with its arguments and no type before it can only be a
// constructor: any other is a call of a macro that is not defined here.
TEST(CppFileTest, MacroStatementsInAClassDeclareNothing) {
    ParsedSource p;
    p.parse("checked.hpp", R"(
template <class T> class checked {
    BOOST_STATIC_ASSERT((is_integral<T>::value));
    CHECK_MSG(Sp <= Ep, "input error");
    OBJECT_MARK PROPERTY(int size READ size);
    register_member(checked, size);
public:
    checked(int size);
    explicit checked();
    ~checked();
    operator bool() const;
    int size() const;
};
template <> struct checked<int> { checked(int size); ENSURE(size > 0); };
struct RGB { RGB(int v); };
namespace outer { struct inner { inner(); CHECK(true); }; }
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    std::vector<std::string> declarations;
    for (CppClassMember* m : p.cls("proj", "checked")->getMembers()) declarations.push_back(m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("checked(int size);", "explicit checked();", "~checked();",
                                          "operator bool() const;", "int size() const;"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "RGB")), ElementsAre("RGB"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "outer::inner")), ElementsAre("inner"));
}

// A macro call standing for a variable's type leaves the variable named as
// it is declared.
TEST(CppFileTest, MacroCallsAsTypesLeaveTheVariablesName) {
    ParsedSource p;
    p.parse("holder.hpp", R"(
struct holder {
    REF_TYPE(T) value;
    CONST_REF(T) first, *second;
    int (width);
    void (*callback)(int);
    typename storage<(sizeof(key_type) > sizeof(T)) ? 1 : 2>::type space;
    holder(int v) : value(make(v)) { }
    RET(int) compute(int a) CONST_FN;
};
REF_TYPE(T) global = REF_TYPE(T)(0);
VALUE_TYPE(T) counts[4];
widget made(REF_TYPE(T)(1), 2);
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    std::vector<std::string> declarations;
    for (CppClassMember* m : p.cls("proj", "holder")->getMembers())
        declarations.push_back(m->getName() + ": " + m->getDeclaration());
    EXPECT_THAT(declarations,
                ElementsAre("value: REF_TYPE(T) value;", "first: CONST_REF(T) first;", "second: CONST_REF(T) *second;",
                            "width: int (width);", "callback: void (*callback)(int);",
                            "space: typename storage<(sizeof(key_type)> sizeof(T))? 1:2>::type space;",
                            "holder: holder(int v);", "compute: RET(int) compute(int a) CONST_FN;"));
    declarations.clear();
    for (CppClassMember* m : p.cls("proj", "(proj  globals)")->getMembers())
        declarations.push_back(m->getName() + ": " + m->getDeclaration());
    EXPECT_THAT(declarations, ElementsAre("global: REF_TYPE(T) global;", "counts: VALUE_TYPE(T) counts[4];",
                                          "made: widget made(REF_TYPE(T)(1), 2);"));
}

// A macro call after a function's parameter list and its qualifiers is no
// name, and calls before a body written without their ";" declare nothing.
TEST(CppFileTest, MacroCallsAroundAFunctionAreNotItsName) {
    ParsedSource p;
    p.parse("construct.hpp", R"(
struct construct_f {
    T operator()(Ts&&... xs) const NOEXCEPT_CONSTRUCTIBLE(T, Ts&&...) { return T(); }
    auto apply(int x) const & RETURNS(g(x));
    void fatal(const char* message, ...) const noexcept FORMAT_PRINTF(2, 3);
    template <typename C> friend class NS_PREPEND(Compat);
    int after;
};
namespace detail {
    FACTORY_ENTRY(aeqd_entry, aeqd_spheroid)
    FACTORY_ENTRY(lcc_entry, detail)
    FACTORY_INIT_BEGIN(aeqd_init) { FACTORY_INIT_ENTRY(aeqd, aeqd_entry) }
    template <class... Ts> ALIAS(and_, is_same<seq<Ts::value...>, seq<(Ts::value, true)...>>);
    int last;
}
template <class T> struct Box {
    template <class U> Box(U u);
    template <class U> DEFER(defer, Template<U>);
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.memberTexts(p.cls("proj", "construct_f")), ElementsAre("operator(): T operator()(Ts&&...xs) const NOEXCEPT_CONSTRUCTIBLE(T, Ts&&...);",
                                     "apply: auto apply(int x) const& RETURNS(g(x));",
                                     "fatal: void fatal(const char* message, ...) const noexcept FORMAT_PRINTF(2, 3);",
                                     "after: int after;"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "detail")), ElementsAre("last"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "Box")), ElementsAre("Box"));
}

// A function whose name a function-like macro also has is written with a
// word between its name and its parameters that keeps the macro from
// expanding; a function named in capitals after its type stays so named.
TEST(CppFileTest, WordsThatKeepAMacroFromExpandingAreNotTheName) {
    ParsedSource p;
    p.parse("limits.hpp", R"(
template <class T> struct numeric_limits {
    static T min PREVENT_MACRO_SUBSTITUTION () { return T(); }
    static const T* max NO_MACRO_EXPAND (int n);
    static size_type NPOS();
    std::string GET_NAME() const;
    FORCEINLINE u32 STEP_F(u32 x, u32 y);
    virtual size_t MB2WC(wchar_t* out, const char* in, size_t outLen) const;
    inline bool IS_OK() const;
};
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.memberTexts(p.cls("proj", "numeric_limits")), ElementsAre("min: static T min PREVENT_MACRO_SUBSTITUTION();",
                                     "max: static const T* max NO_MACRO_EXPAND(int n);",
                                     "NPOS: static size_type NPOS();", "GET_NAME: std::string GET_NAME() const;",
                                     "STEP_F: FORCEINLINE u32 STEP_F(u32 x, u32 y);",
                                     "MB2WC: virtual size_t MB2WC(wchar_t* out, const char* in, size_t outLen) const;",
                                     "IS_OK: inline bool IS_OK() const;"));
}

}  // namespace

namespace {

// Out-of-class definitions reach the class their qualifier names: the
// template when the arguments repeat its head's parameters, else the
// explicit or partial specialisation they spell.
TEST(CppFileTest, DefinitionsOutsideTheirClassReachTheSpecialisationTheyName) {
    ParsedSource p;
    p.parse("codec.cpp", R"(template <class T> struct Vec { void push(T v); };
template <> struct Vec<bool> { void push(bool v); void flip(); };
template <class T> struct Vec<T*> { void push(T* v); };
template <class T, int N> struct Grid { struct Row { int at(int i); }; };
template <class T> struct Grid<T, 0> { int empty(); };

/** Pushes any value. */
template <class T> void Vec<T>::push(T v) {}
/** Flips every bit. */
void Vec<bool>::flip() {}
/** Pushes a pointer. */
template <class T> void Vec<T*>::push(T* v) {}
/** The cell of a row. */
template <class T, int N> int Grid<T, N>::Row::at(int i) { return i; }
/** Whether nothing is there. */
template <class T> int Grid<T, 0>::empty() { return 1; }
template <> template <class U> void Vec<char>::pushAll(U from) {}
template <BOOST_PP_ENUM_PARAMS(2, class T)> void Pair<T0, T1>::swap() {}
template <class... Ts> void Pack<Ts...>::each() {}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_EQ(p.member(p.cls("proj", "Vec"), "push")->getComment(), "Pushes any value.<BR>\n");
    EXPECT_EQ(p.member(p.cls("proj", "Vec<bool>"), "flip")->getComment(), "Flips every bit.<BR>\n");
    EXPECT_EQ(p.member(p.cls("proj", "Vec<bool>"), "push")->getComment(), "");
    EXPECT_EQ(p.member(p.cls("proj", "Vec<T*>"), "push")->getComment(), "Pushes a pointer.<BR>\n");
    EXPECT_EQ(p.member(p.cls("proj", "Grid::Row"), "at")->getComment(), "The cell of a row.<BR>\n");
    EXPECT_EQ(p.member(p.cls("proj", "Grid<T, 0>"), "empty")->getComment(), "Whether nothing is there.<BR>\n");
    // The heads after those of the class are the member's own.
    EXPECT_THAT(p.memberTexts(p.cls("proj", "Vec<char>")),
                ElementsAre("pushAll: template<class U> void pushAll(U from);"));
    // Heads whose parameters are not written out, and packs.
    EXPECT_THAT(p.memberNames(p.cls("proj", "Pair")), ElementsAre("swap"));
    EXPECT_THAT(p.memberNames(p.cls("proj", "Pack")), ElementsAre("each"));
    for (const std::string& name : p.classNames())
        EXPECT_TRUE(name == "proj/Vec" || name == "proj/Vec<bool>" || name == "proj/Vec<T*>" ||
                    name == "proj/Vec<char>" || name == "proj/Grid" || name == "proj/Grid::Row" ||
                    name == "proj/Grid<T, 0>" || name == "proj/Pair" || name == "proj/Pack")
            << name;
}

// A specialisation whose members, declared in the class, are defined
// outside under a head of their own ("template <class In> In
// Utf<8>::decode"); its constructors bear the template's name.
TEST(CppFileTest, AMemberTemplateOfASpecialisationKeepsItsHead) {
    ParsedSource p;
    p.parse("utf.hpp", R"(template <unsigned N> class Utf;
template <> class Utf<8> {
public:
    Utf();
    template <typename In> static In decode(In begin, In end);
};
template <typename In> In Utf<8>::decode(In begin, In end) { return begin; }
)");
    EXPECT_EQ(p.cls("proj", "Utf"), nullptr);
    EXPECT_THAT(p.memberTexts(p.cls("proj", "Utf<8>")),
                ElementsAre("Utf: Utf();", "decode: template<typename In> static In decode(In begin, In end);"));
}

// A definition outside its class template may name the template's
// parameters otherwise; it is still the member the class declares, of the
// template or of the partial specialisation its arguments spell, and a
// member template's own parameters may be named otherwise too, also with a
// name that the class gives one of its own.
TEST(CppFileTest, DefinitionsUnderOtherParameterNamesJoinTheirDeclarations) {
    ParsedSource p;
    p.parse("vec.hpp", R"(namespace la {
template <int N, typename T> struct vec {
    /** Makes a vector. */
    vec(T fill);
    /** The length. */
    T length() const;
};
template <typename T> struct vec<3, T> {
    /** Makes a 3-vector. */
    explicit vec(T fill);
    /** Crosses. */
    vec cross(const vec<3, T>& other) const;
    /** Maps. */
    template <typename F> vec map(F f) const;
    /** Mixes. */
    template <typename U> vec mix(U u, T t) const;
};
template <int M, typename S> vec<M, S>::vec(S fill) {}
template <int M, typename S> S vec<M, S>::length() const { return S(); }
/** Defined here. */
template <typename S> vec<3, S>::vec(S fill) {}
template <typename S> vec<3, S> vec<3, S>::cross(const vec<3, S>& other) const { return other; }
template <typename S> template <typename G> vec<3, S> vec<3, S>::map(G f) const { return *this; }
template <typename S> template <typename T> vec<3, S> vec<3, S>::mix(T u, S t) const { return *this; }
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.memberTexts(p.cls("proj", "la::vec")),
                ElementsAre("vec: vec(T fill);", "length: T length() const;"));
    EXPECT_EQ(p.member(p.cls("proj", "la::vec<3, T>"), "vec")->getComment(), "Makes a 3-vector.<BR>\n");
    EXPECT_THAT(p.memberTexts(p.cls("proj", "la::vec<3, T>")),
                ElementsAre("vec: explicit vec(T fill);", "cross: vec cross(const vec<3, T>& other) const;",
                            "map: template<typename F> vec map(F f) const;",
                            "mix: template<typename U> vec mix(U u, T t) const;"));
    EXPECT_EQ(p.cls("proj", "la::vec<3, S>"), nullptr) << ::testing::PrintToString(p.classNames());
}

}  // namespace

namespace {

// A macro left unexpanded before the head ("NS_BEGIN template <class M>")
// leaves the head the qualifier's all the same.
TEST(CppFileTest, AHeadAfterAnUnexpandedMacroIsTheQualifiersStill) {
    ParsedSource p;
    p.parse("fold.hpp", R"(LIB_NAMESPACE_BEGIN
    template <typename M>
    struct fold_t { constexpr auto operator()() const; };
LIB_NAMESPACE_END
LIB_NAMESPACE_BEGIN
    /** Folds. */
    template <typename M>
    constexpr auto fold_t<M>::operator()() const { return 0; }
LIB_NAMESPACE_END
)");
    EXPECT_EQ(p.cls("proj", "fold_t<M>"), nullptr) << ::testing::PrintToString(p.classNames());
    ASSERT_NE(p.cls("proj", "fold_t"), nullptr);
    EXPECT_EQ(p.member(p.cls("proj", "fold_t"), "operator()")->getComment(), "Folds.<BR>\n");
}

}  // namespace
