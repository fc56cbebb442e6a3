#include "modules/old/DocClassList.h"

#include "modules/common/ReceivedTexts.h"
#include "modules/old/OldRecords.h"
#include "modules/old/OldTestSupport.h"

#include <gtest/gtest.h>

using namespace vantry_old;

namespace {

CppClass* add(DocClassList& list, const std::string& name, const std::string& bases = "",
              const std::string& kind = "class", const std::string& package = "lib") {
    auto* cls = new DocCppClass(DocOptions(), 0);
    cls->setName(name);
    cls->setPackage(package);
    cls->setKind(kind);
    setBasesFromText(*cls, bases);
    return list.addClass(cls);
}

std::vector<std::string> names(const std::vector<CppClass*>& classes) {
    std::vector<std::string> result;
    for (const CppClass* cls : classes) result.push_back(cls ? cls->getName() : "(null)");
    return result;
}

TEST(OldClassList, OrdersNamesIgnoringCase) {
    DocClassList list;
    add(list, "beta");
    add(list, "alpha2");
    add(list, "Alpha");
    add(list, "Gamma", "", "class", "other");
    using V = std::vector<std::string>;
    EXPECT_EQ(names(list.sortedClasses("")), (V{"Alpha", "alpha2", "beta", "Gamma"}));
    EXPECT_EQ(names(list.sortedClasses("other")), (V{"Gamma"}));
    EXPECT_LT(compareNames("_impl", "a"), 0);  // '_' sorts before the folded letters
}

TEST(OldClassList, BasesResolveInScopeFirstAndUnknownOnesAreLeftOut) {
    DocClassList list;
    CppClass* bases = add(list, "Derived", "A,t|B,f|Missing,f");
    add(list, "A", "", "interface");
    add(list, "B");
    EXPECT_TRUE(bases->getBases().at("A")->isInterface());
    using V = std::vector<std::string>;
    EXPECT_EQ(names(list.baseClasses(*bases)), (V{"A", "B", "(null)"}));
    EXPECT_EQ(names(list.ancestors(*bases)), (V{"A", "B"}));

    // A sibling in the enclosing scope wins over a class of the same name
    // outside it.
    add(list, "Sibling");
    CppClass* outerSibling = add(list, "Outer::Sibling");
    CppClass* inner = add(list, "Outer::Inner", "Sibling,f");
    EXPECT_EQ(list.resolveBase(*inner, "Sibling"), outerSibling);
}

TEST(OldClassList, AncestorWalksEndOnCyclesAndListEachClassOnce) {
    DocClassList list;
    CppClass* self = add(list, "Self", "Self,f");
    CppClass* a = add(list, "A", "B,f");
    add(list, "B", "A,f");
    // Diamond: Top reached through Left and Right.
    add(list, "Top");
    add(list, "Left", "Top,f");
    add(list, "Right", "Top,f");
    CppClass* bottom = add(list, "Bottom", "Left,f|Right,f");
    using V = std::vector<std::string>;
    EXPECT_EQ(names(list.ancestors(*self)), V{});
    EXPECT_EQ(names(list.ancestors(*a)), (V{"B"}));
    EXPECT_EQ(names(list.ancestors(*bottom)), (V{"Top", "Left", "Right"}));
}

TEST(OldClassList, PrepareLinksClassNamesInTypeTexts) {
    DocClassList list;
    CppClass* foo = add(list, "Foo");
    add(list, "const");  // a keyword is never a link, even when a class has its name
    foo->addMember("take", "void take(const Foo& value, Bar<int> other);", "public", "", true, "",
                   {}, new DocCppClassMember(foo), false);
    list.prepare();
    EXPECT_EQ(foo->getMembers()[0]->getType(),
              "void take(const <a href=\"../lib/Foo.html\">Foo</a>&amp; value, Bar&lt;int&gt; "
              "other);");
    list.prepare();  // once per run: the links are not linked again
    EXPECT_EQ(oldtest::count(foo->getMembers()[0]->getType(), "<a href"), 1u);

    // A name means the class of the owner's own scope, never a namesake of
    // another language.
    DocClassList mixed;
    auto* java = new DocCppClass(DocOptions(), 2);
    java->setName("Circle");
    java->setPackage("shapes");
    mixed.addClass(java);
    CppClass* circle = add(mixed, "geo::Circle", "", "class", "cpp");
    add(mixed, "geo::Point", "", "class", "cpp");
    circle->addMember("Circle", "Circle(Point centre);", "public", "", true, "", {},
                      new DocCppClassMember(circle), false);
    mixed.prepare();
    EXPECT_EQ(circle->getMembers()[0]->getType(),
              "<a href=\"../cpp/geo..Circle.html\">Circle</a>(<a href=\"../cpp/geo..Point.html\">"
              "Point</a> centre);");

    list.clear();
    EXPECT_FALSE(list.isPrepared());
    EXPECT_EQ(list.size(), 0u);
}

}  // namespace
