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

namespace {

struct Call {
    std::string name, declaration, access, comment, file;
    bool hasArguments;
    std::vector<std::string> arguments;
    bool dotted = false;  // "::" made "."
    std::string after{};  // a comment written after the declaration
};

void make(CppClass& cls, const Call& c) {
    CppClassMember* m = cls.addMember(c.name, c.declaration, c.access, c.comment, c.hasArguments, c.file,
                                      c.arguments, new DocGenCppClassMember(&cls), c.dotted);
    if (m && !c.after.empty()) cls.appendMemberComment(*m, c.after);
}

std::string describe(const CppClass& cls) {
    std::string text = cls.getFileNameList() + "\n";
    for (const CppClassMember* m : cls.getMembers()) {
        text += m->getName() + "|" + m->getDeclaration() + "|" + m->getAccess() + "|" + m->getComment() +
                "|" + m->getFileNameList() + "|" + (m->hasArgumentList() ? "(" : "-");
        for (const std::string& a : m->getArguments()) text += a + ",";
        text += "\n";
    }
    return text;
}

}  // namespace

// Declarations made in a scope parsed apart and made again in the scope held
// leave it exactly as making them there in the first place, whatever merged
// on either side (overloads, also those set apart by "const" or by their
// own template parameters alone, static and plain declarations, comments and
// access words completed by later declarations, comments written after a
// declaration, "::" made "." or kept), and whether or not the members the
// calls made are still there.
TEST(ClassList, ReplayedMemberCallsEndAsIfMadeInTheHeldClass) {
    const std::vector<std::vector<std::string>> argumentLists = {
        {}, {"int a"}, {"int b"}, {"double a"}, {"const Point p"}, {"const Size s"}};
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::uint32_t state = seed * 2654435761u + 1;
        auto next = [&state](std::uint32_t n) {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) % n;
        };
        std::vector<Call> calls;
        for (int i = 0, n = 2 + static_cast<int>(next(10)); i < n; ++i) {
            Call c;
            c.name = std::string(1, "fgx"[next(3)]);
            c.hasArguments = next(4) != 0;
            if (c.hasArguments) c.arguments = argumentLists[next(argumentLists.size())];
            c.dotted = next(4) == 0;
            c.declaration = next(4) == 0 ? "template<class U> " : "";
            c.declaration += (next(3) == 0 ? "static " : "") + std::string(next(3) ? "int " : "N::T ");
            c.declaration += c.name;
            if (c.hasArguments) c.declaration += "(" + (c.arguments.empty() ? "" : c.arguments[0]) + ")";
            c.declaration += next(2) ? ";" : " const;";
            c.access = std::vector<std::string>{"", "public", "protected", "private"}[next(4)];
            c.comment = std::vector<std::string>{"", "", "one", "two"}[next(4)];
            c.file = next(2) ? "a.h" : "b.h";
            c.after = std::vector<std::string>{"", "", "after", "later"}[next(4)];
            calls.push_back(c);
        }
        const std::size_t split = next(static_cast<std::uint32_t>(calls.size()) + 1);

        DocGenCppClass direct(nullptr, DocOptions(), 0, false, true);
        for (const Call& c : calls) make(direct, c);

        DocGenCppClass held(nullptr, DocOptions(), 0, false, true);
        DocGenCppClass apart(nullptr, DocOptions(), 0, false, true);
        apart.recordMemberCalls(true);
        for (std::size_t i = 0; i < calls.size(); ++i) make(i < split ? held : apart, calls[i]);
        ASSERT_EQ(apart.keptMemberCalls(), calls.size() - split) << "seed " << seed;
        // The calls are kept apart from the members they made.
        if (next(3) == 0) apart.deleteMembers();
        held.replayMemberCallsOf(apart);

        ASSERT_EQ(describe(held), describe(direct)) << "seed " << seed << ", split " << split;
        EXPECT_TRUE(apart.getMembers().empty());
    }
}

// What a parse apart may carry into the run's list: records it made itself,
// and records held there that it reached first by making its own.
TEST(ClassList, TakeOverJoinsOnlyRecordsTheParseMadeItself) {
    using Join = ClassList::Join;
    DocGenClassList run;
    CppClass* ns = run.addClass(newClass("p", "lib"));
    ns->setKind("namespace");
    make(*ns, {"f", "int f(int a);", "public", "", "a.h", true, {"int a"}});
    run.addClass(newClass("p", "Other"));

    auto namespacesOnly = [](const CppClass& held, const CppClass& theirs, bool found) {
        return !found && held.isNamespace() && theirs.isNamespace() ? Join::Registered : Join::Refuse;
    };
    auto parseApart = [](DocGenClassList& list, std::vector<ClassList::KeyEvent>& log, bool askOther) {
        list.setKeyLog(&log);
        if (askOther) list.findClass("p", "Other", false);
        DocGenCppClass* own = newClass("p", "lib");
        own->setKind("namespace");
        own->addFileName("b.h");
        CppClass* kept = list.addClass(own);
        make(*kept, {"f", "int f(int x);", "public", "f's comment", "b.h", true, {"int x"}});
        make(*kept, {"g", "void g();", "public", "", "b.h", true, {}});
        list.addClass(newClass("p", "New"));
        list.setKeyLog(nullptr);
    };

    DocGenClassList apart;
    std::vector<ClassList::KeyEvent> log;
    parseApart(apart, log, false);
    EXPECT_FALSE(run.holdsNoneOf(log));
    ASSERT_TRUE(run.canTakeOver(apart, log, namespacesOnly));
    std::vector<CppClass*> registered;
    run.takeOver(apart, log, namespacesOnly, &registered);
    ASSERT_EQ(registered.size(), 1u) << "the joined namespace is the run's own record";
    EXPECT_EQ(registered[0]->getName(), "New");
    EXPECT_EQ(apart.size(), 0u);
    EXPECT_EQ(run.size(), 3u);
    EXPECT_EQ(ns->getFileNameList(), "a.h|b.h|");
    ASSERT_EQ(ns->getMembers().size(), 2u);
    EXPECT_EQ(ns->getMembers()[0]->getComment(), "f's comment");  // one f, its comment completed
    EXPECT_EQ(ns->getMembers()[1]->getName(), "g");
    EXPECT_NE(run.findClass("p", "New", false), nullptr);

    // A parse that asked for a record held here saw an answer this list
    // would not have given.
    DocGenClassList asked;
    std::vector<ClassList::KeyEvent> askedLog;
    parseApart(asked, askedLog, true);
    EXPECT_FALSE(run.canTakeOver(asked, askedLog, namespacesOnly));
    // A rule that refuses refuses.
    DocGenClassList refused;
    std::vector<ClassList::KeyEvent> refusedLog;
    parseApart(refused, refusedLog, false);
    EXPECT_FALSE(run.canTakeOver(refused, refusedLog,
                                 [](const CppClass&, const CppClass&, bool) { return Join::Refuse; }));
}
