#include "model/ClassList.h"
#include "model/CppClassMember.h"
#include "model/DocGenClassList.h"
#include "model/DocGenCppClass.h"
#include "model/DocGenCppClassMember.h"

#include <gtest/gtest.h>

namespace {

DocGenCppClass* newClass(const std::string& package, const std::string& name,
                         int language = 0) {
    auto* c = new DocGenCppClass(nullptr, DocOptions(), language, false, false);
    c->setName(name);
    if (!package.empty()) c->setPackage(package);
    return c;
}

}  // namespace

TEST(ClassList, SameKeyMergesIntoTheFirst) {
    DocGenClassList list;
    CppClass* first = list.addClass(newClass("p", "A"));
    first->addFileName("a.h");
    EXPECT_EQ(list.addClass(first), first);  // same object: unchanged, not freed
    EXPECT_EQ(list.size(), 1u);

    DocGenCppClass* second = newClass("p", "A");
    second->addFileName("a.cpp");
    second->setComment("doc");
    second->addBase("Base", false);
    EXPECT_EQ(list.addClass(second), first);  // second is freed here
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(first->getFileNameList(), "a.h|a.cpp|");
    EXPECT_EQ(first->getComment(), "doc");
    ASSERT_EQ(first->getBases().count("Base"), 1u);
    EXPECT_TRUE(first->getBases().at("Base")->isUnresolved());
    EXPECT_EQ(list.addClass(nullptr), nullptr);
}

TEST(ClassList, MembersThroughTheListLandInTheHeldClass) {
    ClassList list;
    CppClass* first = nullptr;
    for (int i = 0; i < 2; ++i) {
        DocGenCppClass* c = newClass("", "");
        CppClassMember* m = list.addClassMember(
            "src/util", "U", "f", "void f();", "public", i ? "" : "doc", true,
            i ? "u.cpp" : "u.h", {}, c, new DocGenCppClassMember(c), false);
        if (!first) first = m->getOwner();
        EXPECT_EQ(m->getOwner(), first);
        EXPECT_EQ(m->getComment(), "doc");
    }
    EXPECT_EQ(first->getPackage(), "util");
    ASSERT_EQ(first->getMembers().size(), 1u);
    EXPECT_EQ(first->getMembers()[0]->getFileNameList(), "u.h|u.cpp|");
    EXPECT_EQ(list.findClass("util", "U", false), first);
}

TEST(ClassList, LookupOrderAndFallback) {
    ClassList list;
    CppClass* nodeA = list.addClass(newClass("a", "Node"));
    CppClass* nodeB = list.addClass(newClass("b", "Node"));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list.findClass("a", "Node", false), nodeA);
    EXPECT_EQ(list.findClass("z", "Node", true), nodeB);
    EXPECT_EQ(list.findClass("z", "Node", false), nullptr);

    CppClass* qualified = list.addClass(newClass("x", "util.List"));
    EXPECT_EQ(list.findClass("x", "util.List", false), qualified);
    CppClass* split = list.addClass(newClass("util", "List"));
    EXPECT_EQ(list.findClass("x", "util.List", false), split);
    CppClass* deep = list.addClass(newClass("a.b", "C"));
    EXPECT_EQ(list.findClass("", "a.b.C", false), deep);
    EXPECT_EQ(list.findClass("", ".", false), nullptr);

    // Key order: package, then name.
    std::vector<std::string> order;
    for (const auto& [key, cls] : list.getClasses()) order.push_back(key.first + "/" + key.second);
    EXPECT_EQ(order, (std::vector<std::string>{"a/Node", "a.b/C", "b/Node", "util/List",
                                               "x/util.List"}));
    list.clear();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.findClass("a", "Node", true), nullptr);
    EXPECT_NE(list.addClass(newClass("a", "Node")), nullptr);
}

TEST(ClassList, EveryRegisteredNameIsFoundWhateverItsShape) {
    // Names of every length and edge character, so that no quick rejection
    // of unknown names ever turns a registered one away.
    ClassList list;
    std::vector<std::pair<std::string, CppClass*>> added;
    const std::string edges[] = {"", "A", "z", "_", "~", "\xff", ":"};
    for (std::size_t length = 0; length < 80; length += 7)
        for (const std::string& first : edges)
            for (const std::string& last : edges) {
                std::string name = first + std::string(length, 'm') + last;
                if (list.findClass("p", name, false)) continue;
                added.emplace_back(name, list.addClass(newClass("p", name)));
            }
    for (const auto& [name, cls] : added) {
        EXPECT_EQ(list.findClass("p", name, false), cls) << name;
        EXPECT_EQ(list.findClass("elsewhere", name, true), cls) << name;
        EXPECT_EQ(list.findClass("", "p." + name, false), cls) << name;
    }
    EXPECT_EQ(list.findClass("p", "mm", false), nullptr);
    EXPECT_EQ(list.findClass("q", "A", false), nullptr);
}
