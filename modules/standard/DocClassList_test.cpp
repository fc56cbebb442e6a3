#include "modules/standard/DocClassList.h"

#include "model/CppClassMember.h"
#include "modules/standard/DocCppClass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

class DocClassListTest : public ::testing::Test {
protected:
    DocClassList list{nullptr};

    // Registers a class; bases as a base-list text ("A,f|I,t").
    CppClass* add(const std::string& package, const std::string& name,
                  const std::string& bases = "", const std::string& kind = "class",
                  int language = 2, const std::string& container = "") {
        auto* cls = new DocCppClass(&list, DocOptions(), language);
        cls->setName(name);
        cls->setPackage(package);
        cls->setKind(kind);
        cls->setText(container);
        setBasesFromText(*cls, bases);
        return list.addClass(cls);
    }
    static std::vector<std::string> names(const std::vector<CppClass*>& classes) {
        std::vector<std::string> result;
        for (const CppClass* c : classes) result.push_back(c->getName());
        return result;
    }
};

using Names = std::vector<std::string>;

TEST_F(DocClassListTest, ProjectsAndSortedListings) {
    EXPECT_TRUE(list.projectNames().empty());
    add("b", "zebra");
    add("a", "Apple");
    add("b", "apple");
    add("B", "x");
    EXPECT_EQ(list.projectNames(), (Names{"B", "a", "b"}));
    EXPECT_EQ(names(list.classesInProject("b")), (Names{"apple", "zebra"}));
    Names all = names(list.classesInProject(""));
    EXPECT_EQ(all.back(), "zebra");
    EXPECT_EQ(all.size(), 4u);
}

// The listings' order is compareClassNames with ties in key order, however
// the names mix case, share prefixes or hold bytes above 127.
TEST_F(DocClassListTest, SortingByNameKeepsTheComparisonsOrder) {
    const char* const parts[] = {"a", "A", "b", "Ab", "ab", "_", "z", "Z9", "\xc3\xa9", "~"};
    std::uint32_t state = 7;
    for (int i = 0; i < 400; ++i) {
        std::string name;
        for (int n = 1 + static_cast<int>((state >> 3) % 3); n > 0; --n) {
            state = state * 1664525u + 1013904223u;
            name += parts[(state >> 8) % 10];
        }
        add("p" + std::to_string(i % 3), name + "#" + std::to_string(i % 7));
        add("q", name);
    }
    for (const char* project : {"", "q", "p1"}) {
        std::vector<CppClass*> expected;
        for (const auto& [key, cls] : list.getClasses())
            if (!*project || key.first == project) expected.push_back(cls);
        std::stable_sort(expected.begin(), expected.end(), [](const CppClass* a, const CppClass* b) {
            return DocClassList::compareClassNames(a, b) < 0;
        });
        EXPECT_EQ(names(list.classesInProject(project)), names(expected)) << project;
    }
}

TEST_F(DocClassListTest, HeldListingsFollowAddsAndClear) {
    add("q", "b");
    add("p", "B");
    add("p", "a");
    add("q", "A");
    // Names equal but for case keep key order: package p before q.
    EXPECT_EQ(names(list.sortedClasses("")), (Names{"a", "A", "B", "b"}));
    EXPECT_EQ(list.sortedClasses("")[0]->getPackage(), "p");
    EXPECT_EQ(names(list.sortedClasses("q")), (Names{"A", "b"}));
    EXPECT_TRUE(list.sortedClasses("none").empty());
    add("q", "0");
    EXPECT_EQ(names(list.sortedClasses("q")), (Names{"0", "A", "b"}));
    EXPECT_EQ(list.sortedClasses("").size(), 5u);
    add("r", "x");
    EXPECT_EQ(list.projectNames(), (Names{"p", "q", "r"}));
    list.clear();
    EXPECT_TRUE(list.sortedClasses("").empty());
    EXPECT_TRUE(list.sortedClasses("q").empty());
    add("q", "z");
    EXPECT_EQ(names(list.sortedClasses("q")), (Names{"z"}));
}

TEST_F(DocClassListTest, NestedSiblingIsResolvedUnderTheOuterScopeFirst) {
    CppClass* inner = add("p", "Outer.Inner", "", "class", 2, "Outer");
    CppClass* sibling = add("p", "Outer.Other");
    CppClass* top = add("p", "Other");
    EXPECT_EQ(list.resolveLinkTarget("p", inner, "Other", true), sibling);
    EXPECT_EQ(list.resolveLinkTarget("p", top, "Other", true), top);
    EXPECT_EQ(list.resolveLinkTarget("q", nullptr, "Other", false), nullptr);
    CppClass* ns = add("p", "ns::Shape", "", "class", 0);
    EXPECT_EQ(list.resolveLinkTarget("p", nullptr, "ns::Shape", false), ns);

    // The scope is cut at the last whole separator: a lone ":" is no
    // scope, and the joined name may be longer than any stack buffer.
    CppClass* cppInner = add("p", "a:b::In", "", "class", 0, "a:b");
    CppClass* cppSibling = add("p", "a:b::Sib", "", "class", 0);
    EXPECT_EQ(list.resolveLinkTarget("p", cppInner, "Sib", false), cppSibling);
    const std::string longScope(300, 'L');
    CppClass* longInner = add("p", longScope + "::In", "", "class", 0, longScope);
    CppClass* longSibling = add("p", longScope + "::" + longScope, "", "class", 0);
    EXPECT_EQ(list.resolveLinkTarget("p", longInner, longScope, false), longSibling);
}

TEST_F(DocClassListTest, AncestorChainFollowsClassBasesAndPrefersTheLongest) {
    add("p", "Root");
    add("p", "Mid", "Root,f");
    add("p", "I1", "", "interface");
    add("p", "I2", "I1,t", "interface");
    CppClass* leaf = add("p", "Leaf", "I2,t|Mid,f|Zed,f");
    EXPECT_EQ(names(list.longestAncestorChain(*leaf)), (Names{"Root", "Mid"}));
    CppClass* onlyInterfaces = add("p", "Impl", "I2,t");
    EXPECT_TRUE(list.longestAncestorChain(*onlyInterfaces).empty());
    CppClass* iface = add("p", "I3", "I1,t|I2,t", "interface");
    EXPECT_EQ(names(list.longestAncestorChain(*iface)), (Names{"I1", "I2"}));
    // Unresolved bases stay as placeholders in the walks.
    ClassLevels levels = list.resolveInClassHierarchy(*leaf);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(names(levels[0]), (Names{"I2", "Mid", "Zed"}));
    EXPECT_EQ(names(levels[1]), (Names{"I1", "Root"}));
    EXPECT_TRUE(levels[0][2]->isUnresolved());
    EXPECT_EQ(names(list.resolvedBases(*leaf)), (Names{"I2", "Mid"}));
}

TEST_F(DocClassListTest, CyclesTerminateAndDiamondsAreListedOnce) {
    CppClass* a = add("p", "A", "B,f");
    CppClass* b = add("p", "B", "A,f");
    EXPECT_EQ(names(list.longestAncestorChain(*a)), (Names{"B"}));
    // Asked for the other class of the cycle afterwards, the remembered
    // chains must not chase each other round the cycle.
    EXPECT_LE(list.longestAncestorChain(*b).size(), 1u);
    EXPECT_EQ(list.resolveInClassHierarchy(*b).size(), 1u);
    EXPECT_EQ(list.collectHierarchyLinks(*a).size(), 1u);

    CppClass* top = add("q", "Top");
    add("q", "L", "Top,f");
    add("q", "R", "Top,f");
    CppClass* bottom = add("q", "Bottom", "L,f|R,f");
    ClassLevels up = list.resolveInClassHierarchy(*bottom);
    ASSERT_EQ(up.size(), 2u);
    EXPECT_EQ(names(up[0]), (Names{"L", "R"}));
    EXPECT_EQ(names(up[1]), (Names{"Top"}));
    ClassLevels down = list.collectHierarchyLinks(*top);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_EQ(names(down[0]), (Names{"L", "R"}));
    EXPECT_EQ(names(down[1]), (Names{"Bottom"}));
}

TEST_F(DocClassListTest, DeepHierarchiesNeedNoDeepRecursion) {
    const int depth = 20000;
    add("p", "C0");
    for (int i = 1; i < depth; ++i) add("p", "C" + std::to_string(i), "C" + std::to_string(i - 1) + ",f");
    CppClass* last = list.findClass("p", "C" + std::to_string(depth - 1), false);
    EXPECT_EQ(list.longestAncestorChain(*last).size(), size_t(depth - 1));
    EXPECT_EQ(list.resolveInClassHierarchy(*last).size(), size_t(depth - 1));
}

TEST_F(DocClassListTest, SubclassesAndNestedClasses) {
    CppClass* shape = add("geo", "Shape");
    add("geo", "Circle", "Shape,f");
    add("geo", "Square", "geo.Shape,f");
    add("geo", "Blob", "gfx::Shape,f", "class", 0);  // another Shape
    add("geo", "Other", "Shapes,f");
    EXPECT_EQ(names(list.directSubclasses(*shape)), (Names{"Circle", "Square"}));
    CppClass* outer = add("geo", "Outer");
    add("geo", "Outer.In", "", "class", 2, "Outer");
    add("other", "Outer.In2", "", "class", 2, "Outer");
    EXPECT_EQ(names(list.nestedClasses(*outer)), (Names{"Outer.In"}));
    // A class added later is seen by the next question; classes found
    // under different spellings of the base come in key order.
    add("geo", "Late", "Shape,f");
    add("geo", "Arc", "geo.Shape,f");
    add("geo", "Both", "Shape,f|geo.Shape,f");
    EXPECT_EQ(names(list.directSubclasses(*shape)), (Names{"Arc", "Both", "Circle", "Late", "Square"}));
    CppClass* nameless = add("geo", "", "");
    EXPECT_TRUE(list.directSubclasses(*nameless).empty());
}

TEST_F(DocClassListTest, SubclassesOfAnotherClassOfTheSameNameAreNotListed) {
    // Two projects, each with its own Shape: each Circle derives only from
    // the Shape that its base resolves to.
    CppClass* cppShape = add("cpp", "geo::Shape", "", "class", 0, "geo");
    add("cpp", "geo::Circle", "Shape,f", "class", 0, "geo");
    CppClass* javaShape = add("shapes", "Shape", "", "interface", 2);
    add("shapes", "Circle", "Shape,t", "class", 2);
    add("shapes", "Loose", "Missing,f", "class", 2);
    EXPECT_EQ(names(list.directSubclasses(*cppShape)), (Names{"geo::Circle"}));
    EXPECT_EQ(names(list.directSubclasses(*javaShape)), (Names{"Circle"}));
}

TEST_F(DocClassListTest, ClearAsksForMemberEntriesAgain) {
    // One run: the member's declaration becomes linked HTML once.
    auto fill = [&] {
        CppClass* a = add("p", "A");
        add("p", "B");
        return a->addMember("b", "B b;", "public", "", false, "", {},
                            new DocCppClassMember(a), false);
    };
    const std::string linked = "<a href=\"../p/B.html\">B</a> b;";
    CppClassMember* first = fill();
    list.prepareMemberEntries();
    ASSERT_EQ(first->getDeclaration(), linked);

    // The next run's classes, received after clear, are linked again.
    list.clear();
    EXPECT_EQ(list.size(), 0u);
    CppClassMember* second = fill();
    ASSERT_EQ(second->getDeclaration(), "B b;");
    list.prepareMemberEntries();
    EXPECT_EQ(second->getDeclaration(), linked);
}

}  // namespace
