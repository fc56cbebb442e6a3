#include "modules/standard/PageMemberTables.h"

#include "modules/standard/PageInherited.h"
#include "modules/standard/PageMembers.h"
#include "modules/standard/PageNameOrder.h"
#include "modules/standard/PageIndex.h"
#include "modules/standard/PageTestSupport.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

using pagetest::contains;

struct TablesTest : ::testing::Test {
    pagetest::ListFixture f;
    std::string summary(const CppClass& cls, const std::vector<CppClassMember*>& members,
                        bool constructors) {
        std::string out;
        writeMemberSummaryTable(out, cls, "Constructor Summary", "constructor_summary", members,
                                "?", constructors);
        return out;
    }
};

TEST_F(TablesTest, LeftColumnRules) {
    DocCppClass* cls = f.addClass("Box", "p");
    CppClassMember* open = f.addMember(cls, "Box", "Box();", "public", "", true);
    CppClassMember* bare = f.addMember(cls, "Box", "Box(int n);", "", "", true, {"int n"});
    EXPECT_FALSE(contains(summary(*cls, {open, bare}, true), "ALIGN=\"right\""));
    CppClassMember* guarded = f.addMember(cls, "Box", "Box(char c);", "protected", "", true, {"char c"});
    std::string mixed = summary(*cls, {open, guarded}, true);
    EXPECT_TRUE(contains(mixed, "<CODE>protected&nbsp;</CODE>"));
    EXPECT_TRUE(contains(mixed, "<CODE>&nbsp;</CODE>"));
    EXPECT_EQ(summary(*cls, {}, true), "");

    DocCppClass* color = f.addClass("Color", "p", "enum");
    CppClassMember* red = f.addMember(color, "RED", "RED = 1;");
    std::string enumTable = summary(*color, {red}, false);
    EXPECT_FALSE(contains(enumTable, "ALIGN=\"right\""));
    EXPECT_TRUE(contains(enumTable, "<TD><CODE><B><a href=\"#RED\">RED</a></B> = 1</CODE>"));
    f.options.wrapLongLines = true;
    DocCppClass* wrapped = f.addClass("Wrapped", "p");
    CppClassMember* field = f.addMember(wrapped, "x", "int x;");
    EXPECT_FALSE(contains(summary(*wrapped, {field}, false), "NOWRAP"));
    EXPECT_TRUE(contains(summary(*cls, {field}, false), " NOWRAP><FONT"));
}

TEST_F(TablesTest, OrderAndHighlighting) {
    DocCppClass* cls = f.addClass("Box", "p");
    CppClassMember* b = f.addMember(cls, "beta", "int beta;");
    CppClassMember* a = f.addMember(cls, "Alpha", "int Alpha;");
    CppClassMember* run = f.addMember(cls, "run", "void run();", "public", "", true);
    EXPECT_EQ(sortedMembers({b, a, run}), (std::vector<CppClassMember*>{run, a, b}));
    // Names are compared folded byte by byte: "_" lies between "Z" and
    // "a" unfolded but before both folded, a prefix comes first, bytes
    // above 127 come last, and names equal but for case keep their order.
    std::vector<CppClassMember*> fields;
    for (const char* name : {"\xc3\xa9t\xc3\xa9", "Zed", "_under", "zed", "ab", "AB", "a", "a_b"})
        fields.push_back(f.addMember(cls, name, "int x;"));
    std::vector<std::string> order;
    for (const CppClassMember* m : sortedMembers(fields)) order.push_back(m->getName());
    EXPECT_EQ(order, (std::vector<std::string>{"_under", "a", "a_b", "ab", "AB", "Zed", "zed",
                                               "\xc3\xa9t\xc3\xa9"}));
    CppClassMember* size = f.addMember(cls, "size", "int size(int sizeHint);", "public", "", true,
                                       {"int sizeHint"});
    EXPECT_EQ(highlightName("size(int sizeHint)", *size, "[S]"), "[S](int sizeHint)");
    EXPECT_EQ(highlightName("<a href=\"x\">size</a> size(int size)", *size, "[S]"),
              "<a href=\"x\">size</a> [S](int size)");
    EXPECT_EQ(toUpperCase("Field summary_1"), "FIELD SUMMARY_1");

    std::string out;
    writeMemberDetailSection(out, *cls, "Field Detail", "field_detail", sortedMembers({b, a}),
                             nullptr, "?");
    EXPECT_LT(out.find("<H3>Alpha</H3>"), out.find("<H3>beta</H3>"));
    EXPECT_TRUE(contains(out, "<!-- ============ Field Detail ========== -->"));
    EXPECT_TRUE(contains(out, "public int <B>beta</B>;"));
}

TEST_F(TablesTest, InheritedMembersAndInnerDefinitions) {
    f.options.includeProtected = false;
    DocCppClass* base = f.addClass("Base", "p");
    f.addMember(base, "Base", "Base();", "public", "", true);
    f.addMember(base, "secret", "int secret;", "private");
    f.addMember(base, "count", "int count;", "protected");
    f.addMember(base, "size", "int size();", "public", "", true);
    DocCppClass* only = f.addClass("Hidden", "p");
    f.addMember(only, "x", "int x;", "private");
    DocCppClass* derived = f.addClass("Derived", "p", "class", 2, "", "Base,f|Hidden,f");
    ClassLevels ancestors = f.list.resolveInClassHierarchy(*derived);
    std::string fields, methods;
    writeInheritedMembers(fields, *derived, ancestors, "Fields", false);
    writeInheritedMembers(methods, *derived, ancestors, "Methods", true);
    EXPECT_TRUE(contains(fields, "<TD><CODE><CODE>count</CODE></CODE></TD>"));
    EXPECT_FALSE(contains(fields + methods, "Hidden"));
    EXPECT_FALSE(contains(fields + methods, "secret"));
    EXPECT_TRUE(contains(methods, "fields_inherited_from_Base"));
    EXPECT_TRUE(contains(methods, "<a href=\"../p/Base.html#size()\">size</a></CODE>"));

    // Lists kept for later pages of the pass give those pages the same
    // blocks, for each kind of block apart.
    DocCppClass* other = f.addClass("Other", "p", "class", 2, "", "Hidden,f|Base,f");
    ClassLevels otherAncestors = f.list.resolveInClassHierarchy(*other);
    std::string otherFields, otherMethods;
    writeInheritedMembers(otherFields, *other, otherAncestors, "Fields", false);
    writeInheritedMembers(otherMethods, *other, otherAncestors, "Methods", true);
    InheritedListMemo fieldMemo, methodMemo;
    for (int page = 0; page < 2; ++page) {
        std::string kept[4];
        writeInheritedMembers(kept[0], *derived, ancestors, "Fields", false, &fieldMemo);
        writeInheritedMembers(kept[1], *derived, ancestors, "Methods", true, &methodMemo);
        writeInheritedMembers(kept[2], *other, otherAncestors, "Fields", false, &fieldMemo);
        writeInheritedMembers(kept[3], *other, otherAncestors, "Methods", true, &methodMemo);
        EXPECT_EQ(kept[0], fields);
        EXPECT_EQ(kept[1], methods);
        EXPECT_EQ(kept[2], otherFields);
        EXPECT_EQ(kept[3], otherMethods);
    }

    std::string inner;
    writeInnerDefinitions(inner, *derived, {}, "?");
    EXPECT_EQ(inner, "");
    writeInnerDefinitions(inner, *derived, {only, base}, "?");
    EXPECT_LT(inner.find(">Base<"), inner.find(">Hidden<"));
}

TEST(PageNameOrder, DestructorsAndNonLetters) {
    pagetest::ListFixture f;
    DocCppClass* widget = f.addClass("Widget", "p", "class", 0);
    DocCppClass* widgets = f.addClass("Widgets", "p", "class", 0);
    DocCppClass* under = f.addClass("_private", "p", "class", 0);
    DocCppClass* digit = f.addClass("3d", "p", "class", 0);
    CppClassMember* destructor = f.addMember(widget, "~Widget", "~Widget();", "public", "", true);
    std::vector<const CppClassEntity*> sorted =
        sortByDisplayName({destructor, widgets, widget, under, digit});
    EXPECT_EQ(sorted, (std::vector<const CppClassEntity*>{digit, under, widget, widgets, destructor}));
    EXPECT_TRUE(sortByDisplayName({}).empty());
    EXPECT_EQ(compareByDisplayName(widget, widget), 0);
    EXPECT_EQ(indexLetter("~widget"), 'W');
    EXPECT_EQ(indexLetter("_x"), '_');
    EXPECT_EQ(indexLetter("9"), '_');
    EXPECT_EQ(memberKindWord(*destructor), "constructor");
    CppClassMember* stat = f.addMember(widget, "n", "static int n;");
    EXPECT_EQ(memberKindWord(*stat), "static variable");
    DocCppClass* color = f.addClass("Color", "p", "enum", 0);
    CppClassMember* macro = f.addMember(color, "M", "#define M(x) x", "public", "", true);
    EXPECT_EQ(memberKindWord(*macro), "preprocessor macro");
}

}  // namespace

namespace {

// Only the part of a summary table or detail section that shows members.
std::string rows(const std::string& out) {
    std::size_t at = out.find("</TR>\n");
    return at == std::string::npos ? out : out.substr(at + 6);
}

// A member named like a class of its project: the type is a link to that
// class, the name a link to the member's own entry, and no link lies
// within another's markup.
TEST_F(TablesTest, MemberNamedLikeAClass) {
    f.addClass("MessageTemplate", "Demo", "class", 1);
    f.addClass("Logger", "Demo", "class", 1);
    DocCppClass* cls = f.addClass("Factory", "Demo", "class", 1);
    CppClassMember* property =
        f.addMember(cls, "MessageTemplate", "MessageTemplate MessageTemplate;");
    CppClassMember* method = f.addMember(cls, "Logger", "Logger Logger(int level);", "public",
                                         "", true, {"int level"});
    for (CppClassMember* m : {property, method}) writeMemberEntry(*m, "Demo", "Factory", nullptr);

    std::string out;
    writeMemberSummaryTable(out, *cls, "Field Summary", "field_summary", {property}, "?", false);
    EXPECT_EQ(rows(out),
              "<TR BGCOLOR=\"white\">\n<TD ALIGN=\"right\" VALIGN=\"top\" WIDTH=\"1%\" NOWRAP>"
              "<FONT SIZE=\"-1\">\n<CODE>&nbsp;<a href=\"../Demo/MessageTemplate.html\">"
              "MessageTemplate</a></CODE></FONT></TD>\n<TD><CODE><B><a href=\"#MessageTemplate\">"
              "MessageTemplate</a></B></CODE>\n\n<BR>\n"
              "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</TD>\n</TR>\n"
              "</TABLE>\n&nbsp;\n\n");
    out.clear();
    writeMemberSummaryTable(out, *cls, "Method Summary", "method_summary", {method}, "?", false);
    EXPECT_TRUE(contains(out, "<CODE>&nbsp;<a href=\"../Demo/Logger.html\">Logger</a></CODE>"));
    EXPECT_TRUE(contains(out, "<TD><CODE><B><a href=\"#Logger(intlevel)\">Logger</a></B>"
                              "(int level)</CODE>"));
    out.clear();
    writeMemberDetailSection(out, *cls, "Method Detail", "method_detail", {method}, nullptr, "?");
    EXPECT_TRUE(contains(out, "<PRE>\npublic <a href=\"../Demo/Logger.html\">Logger</a> "
                              "<B>Logger</B>(int level);\n</PRE>"));
}

// A member named like an element ("a", "b") leaves the markup of the links
// around it whole.
TEST_F(TablesTest, MemberNamedLikeAnElement) {
    f.addClass("Pair::value_type", "p", "class", 0);
    DocCppClass* cls = f.addClass("Pair", "p", "class", 0);
    CppClassMember* a = f.addMember(cls, "a", "value_type a(const value_type& v);", "public", "",
                                    true, {"const value_type& v"});
    writeMemberEntry(*a, "p", "Pair", nullptr);
    std::string out;
    writeMemberSummaryTable(out, *cls, "Method Summary", "method_summary", {a}, "?", false);
    EXPECT_TRUE(contains(out, "<TD><CODE><B><a href=\"#a(constvalue_type-26v)\">a</a></B>(const "
                              "<a href=\"../p/Pair..value_type.html\">Pair::value_type</a>&amp; "
                              "v)</CODE>"))
        << out;
    out.clear();
    writeMemberDetailSection(out, *cls, "Method Detail", "method_detail", {a}, nullptr, "?");
    EXPECT_TRUE(contains(out, "<B>a</B>(const <a href=\"../p/Pair..value_type.html\">"
                              "Pair::value_type</a>&amp; v);"))
        << out;
}

// A parameter named like its function: the function's own name is the one
// that the row links, and the row keeps the whole argument list.
TEST_F(TablesTest, ParameterNamedLikeItsFunction) {
    DocCppClass* cls = f.addClass("PrintStream", "java.io", "class", 2);
    CppClassMember* format =
        f.addMember(cls, "format", "PrintStream format(String format, Object... args);", "public",
                    "", true, {"String format", "Object... args"});
    writeMemberEntry(*format, "java.io", "PrintStream", nullptr);
    std::string out;
    writeMemberSummaryTable(out, *cls, "Method Summary", "method_summary", {format}, "?", false);
    EXPECT_TRUE(contains(out, "<CODE>&nbsp;PrintStream</CODE>")) << out;
    EXPECT_TRUE(contains(out, "<TD><CODE><B><a href=\"#format(Stringformat,Object...args)\">"
                              "format</a></B>(String "))
        << out;
    // A return type whose template bears the function's name, and a
    // generic method.
    CppClassMember* get = f.addMember(cls, "get", "result_of::get<T>::type get() const;",
                                      "public", "", true);
    CppClassMember* count = f.addMember(cls, "Count", "int Count<T>(T item);", "public", "",
                                        true, {"T item"});
    writeMemberEntry(*get, "java.io", "PrintStream", nullptr);
    writeMemberEntry(*count, "java.io", "PrintStream", nullptr);
    out.clear();
    writeMemberSummaryTable(out, *cls, "Method Summary", "method_summary", {get, count}, "?",
                            false);
    EXPECT_TRUE(contains(out, "<CODE>&nbsp;result_of::get&lt;T&gt;::type</CODE>")) << out;
    EXPECT_TRUE(contains(out, "<CODE>&nbsp;int</CODE>")) << out;
    EXPECT_TRUE(contains(out, "<B><a href=\"#Count(Titem)\">Count</a></B>&lt;T&gt;(T item)"))
        << out;
}

// A member whose name also stands in a template argument of its type (a
// macro left unexpanded, a constant sizing an array) is named where its
// declarator is, not inside the type.
TEST_F(TablesTest, NameInsideTheTypesTemplateArgumentsIsNotTheMembers) {
    DocCppClass* cls = f.addClass("utree", "spirit", "class", 0);
    CppClassMember* cat = f.addMember(
        cls, "CAT", "function<CAT(impl_, plus)> const CAT(function, plus) = { };", "public", "",
        true, {"function", "plus"});
    CppClassMember* size = f.addMember(cls, "size", "static fixed<size, 4> size;");
    for (CppClassMember* m : {cat, size}) writeMemberEntry(*m, "spirit", "utree", nullptr);
    std::string out;
    writeMemberSummaryTable(out, *cls, "Method Summary", "method_summary", {cat}, "?", false);
    EXPECT_TRUE(contains(out, "<CODE>&nbsp;function&lt;CAT(impl_, plus)&gt; const</CODE>"))
        << out;
    EXPECT_TRUE(contains(out, "<TD><CODE><B><a href=\"#CAT(function,plus)\">CAT</a></B>"
                              "(function, plus) = { }</CODE>"))
        << out;
    out.clear();
    writeMemberSummaryTable(out, *cls, "Field Summary", "field_summary", {size}, "?", false);
    EXPECT_TRUE(contains(out, "<CODE>&nbsp;static fixed&lt;size, 4&gt;</CODE>")) << out;
    EXPECT_TRUE(contains(out, "<TD><CODE><B><a href=\"#size\">size</a></B></CODE>")) << out;
}

}  // namespace

namespace {

// On one page each member entry has an anchor of its own, and a name's
// anchor stands once: on the first entry of that name, unless another
// member's own anchor is that name already.
TEST_F(TablesTest, EveryAnchorOfAPageStandsOnce) {
    DocCppClass* cls = f.addClass("Table", "util");
    CppClassMember* size = f.addMember(cls, "size", "int size;");
    CppClassMember* sizeOf = f.addMember(cls, "size", "int size();", "public", "", true);
    CppClassMember* putInt =
        f.addMember(cls, "put", "void put(int key);", "public", "", true, {"int key"});
    CppClassMember* putText =
        f.addMember(cls, "put", "void put(String key);", "public", "", true, {"String key"});
    f.list.prepareMemberEntries();
    std::unordered_set<std::string> anchors;
    for (CppClassMember* m : {size, sizeOf, putInt, putText}) anchors.insert(memberAnchor(*m));
    std::string out;
    writeMemberDetailSection(out, *cls, "Field Detail", "field_detail", {size}, nullptr, "?",
                             &anchors);
    writeMemberDetailSection(out, *cls, "Method Detail", "method_detail",
                             sortedMembers({sizeOf, putInt, putText}), nullptr, "?", &anchors);
    std::vector<std::string> names;
    for (std::size_t at = out.find("<A NAME=\""); at != std::string::npos;
         at = out.find("<A NAME=\"", at + 1)) {
        std::size_t end = out.find('"', at + 9);
        std::size_t heading = out.find("<H3>", at);
        std::string entry =
            heading == std::string::npos ? "" : out.substr(heading + 4, out.find('<', heading + 4) - heading - 4);
        names.push_back(out.substr(at + 9, end - at - 9) + " @" + entry);
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "field_detail @size", "size @size", "size @size", "method_detail @put",
                         "put(intkey) @put", "put @put", "put(Stringkey) @put", "size() @size"}));
}

}  // namespace
