// Java and C# declarations met in real libraries that were read as
// something else or lost with what followed them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader/CppFile.h"
#include "reader/ParserTestSupport.h"

using ::testing::ElementsAre;

namespace {

TEST(CppFileJavaCSharpTest, JavaEnumImplementingInterfacesIsAClass) {
    ParsedSource p;
    p.parse("Outer.java", R"(package p;
public class Outer {
    /** How it runs. */
    enum Mode implements Runnable, java.io.Serializable { ON; public void run() { } }
    int after;
}
public enum Top implements Comparator<Object> {
    INSTANCE { public int compare(Object a, Object b) { return 0; } };
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    ASSERT_NE(p.cls("p", "Outer"), nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(p.cls("p", "Outer")), ElementsAre("after"));
    CppClass* mode = p.cls("p", "Outer.Mode");
    ASSERT_NE(mode, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_EQ(mode->getKind(), "enum");
    EXPECT_EQ(mode->getText(), "Outer");
    EXPECT_EQ(mode->getComment(), "How it runs.<BR>\n");
    EXPECT_TRUE(mode->getBases().at("Runnable")->isInterface());
    EXPECT_TRUE(mode->getBases().at("java.io.Serializable")->isInterface());
    EXPECT_THAT(p.memberNames(mode), ElementsAre("ON", "run"));
    EXPECT_TRUE(p.member(mode, "run")->hasArgumentList());

    CppClass* top = p.cls("p", "Top");
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->getBases().at("Comparator")->isInterface());
    EXPECT_THAT(p.memberNames(top), ElementsAre("INSTANCE"));
    // Nothing of the heads is left to the package's globals.
    EXPECT_EQ(p.cls("p", "(p  globals)"), nullptr);
}

// Editors indent with a no-break space and other blanks beyond ASCII.
TEST(CppFileJavaCSharpTest, UnicodeBlanksAreBlanks) {
    const std::string nbsp = "\xC2\xA0", thin = "\xE2\x80\x89", ideographic = "\xE3\x80\x80",
                      narrow = "\xE2\x80\xAF", lineSeparator = "\xE2\x80\xA8";
    ParsedSource p;
    p.parse("Nb.cs", "namespace N\n{\n" + nbsp + nbsp + "/** A class. */\n" + nbsp + nbsp +
                         "public" + thin + "class Nb" + narrow + ":" + ideographic + "Base\n" +
                         nbsp + nbsp + "{\n" + ideographic + "#region Fields\n" +
                         "        public int X;" + lineSeparator + "\n" + nbsp + "#endregion\n" +
                         nbsp + "public void Say(string s = \"a" + nbsp + "b\u2192\") { }\n" +
                         nbsp + nbsp + "}\n}\n");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* nb = p.cls("N", "Nb");
    ASSERT_NE(nb, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_EQ(nb->getComment(), "A class.<BR>\n");
    EXPECT_TRUE(nb->getBases().count("Base"));
    EXPECT_THAT(p.memberNames(nb), ElementsAre("X", "Say"));
    EXPECT_EQ(p.member(nb, "X")->getAccess(), "public");
    // Inside a literal the characters stay as written.
    EXPECT_THAT(p.member(nb, "Say")->getArguments(),
                ElementsAre("string s = \"a" + nbsp + "b\u2192\""));
}

TEST(CppFileJavaCSharpTest, ExplicitInterfaceImplementationsAreMembersOfTheirOwn) {
    ParsedSource p;
    p.parse("Bag.cs", R"(namespace N
{
    public class Bag : IEnumerable<string>, ICollection, IList<string>
    {
        /** The public one. */
        public Enumerator GetEnumerator() => new Enumerator();
        /** For the generic interface. */
        IEnumerator<string> IEnumerable<string>.GetEnumerator() => GetEnumerator();
        IEnumerator IEnumerable.GetEnumerator() => GetEnumerator();
        void System.IDisposable.Dispose() { }
        public int Count => 0;
        int ICollection.Count => 1;
        public string this[int i] { get => ""; set { } }
        string IList<string>.this[int index] { get => ""; set { } }
        event EventHandler INotify.Changed { add { } remove { } }
        public Bag(int x) : this(x, 0) { }
        public static int Twice(this int x) => x * 2;
    }
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* bag = p.cls("N", "Bag");
    ASSERT_NE(bag, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(bag),
                ElementsAre("GetEnumerator", "IEnumerable<string>.GetEnumerator",
                            "IEnumerable.GetEnumerator", "System.IDisposable.Dispose", "Count",
                            "ICollection.Count", "this", "IList<string>.this", "INotify.Changed", "Bag",
                            "Twice"));
    CppClassMember* generic = p.member(bag, "IEnumerable<string>.GetEnumerator");
    ASSERT_NE(generic, nullptr);
    EXPECT_EQ(generic->getDeclaration(), "IEnumerator<string> IEnumerable<string>.GetEnumerator();");
    EXPECT_EQ(generic->getComment(), "For the generic interface.<BR>\n");
    EXPECT_TRUE(generic->hasArgumentList());
    // The expression body is not part of the declaration.
    EXPECT_EQ(p.member(bag, "GetEnumerator")->getDeclaration(), "Enumerator GetEnumerator();");
    EXPECT_EQ(p.member(bag, "GetEnumerator")->getComment(), "The public one.<BR>\n");
    EXPECT_EQ(p.member(bag, "GetEnumerator")->getAccess(), "public");
    ASSERT_NE(p.member(bag, "ICollection.Count"), nullptr);
    EXPECT_EQ(p.member(bag, "ICollection.Count")->getDeclaration(), "int ICollection.Count;");
    EXPECT_FALSE(p.member(bag, "ICollection.Count")->hasArgumentList());
    CppClassMember* indexer = p.member(bag, "this");
    ASSERT_NE(indexer, nullptr);
    ASSERT_NE(p.member(bag, "IList<string>.this"), nullptr);
    EXPECT_EQ(indexer->getDeclaration(), "string this[int i];");
    EXPECT_THAT(indexer->getArguments(), ElementsAre("int i"));
    EXPECT_THAT(p.member(bag, "IList<string>.this")->getArguments(), ElementsAre("int index"));
    EXPECT_THAT(p.member(bag, "Twice")->getArguments(), ElementsAre("this int x"));
}

TEST(CppFileJavaCSharpTest, OperatorsAreNamedWhole) {
    ParsedSource p;
    p.parse("Money.cs", R"(public readonly struct Money
{
    public static Money operator +(Money a, Money b) => a;
    public static Money operator checked +(Money a, Money b) => a;
    public static explicit operator checked int(Money m) => 0;
    public static implicit operator Pair<Money, System.Decimal>(Money m) => default;
    public static explicit operator decimal?(Money m) => null;
}
)");
    CppClass* money = p.cls("(default)", "Money");
    ASSERT_NE(money, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(money),
                ElementsAre("operator+", "operator checked+", "operator checked int",
                            "operator Pair<Money, System.Decimal>", "operator decimal?"));
    ASSERT_NE(p.member(money, "operator checked+"), nullptr);
    EXPECT_EQ(p.member(money, "operator checked+")->getDeclaration(),
              "static Money operator checked+(Money a, Money b);");
    EXPECT_THAT(p.member(money, "operator checked+")->getArguments(), ElementsAre("Money a", "Money b"));
}

TEST(CppFileJavaCSharpTest, GlobalUsingsAndTypesWithoutABody) {
    ParsedSource p;
    p.parse("Clocks.cs", R"(extern alias Legacy;
global using System.Text;
global using static System.Math;
global using Alias = System.Collections.Generic.List<int>;
namespace N;
public abstract class Clock { }
/** The system's clock. */
sealed class SystemClock : Clock, IClock;
public class Empty;
public struct Pair<T> where T : struct;
public class After { public int Y; }
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.classNames(),
                ElementsAre("N/After", "N/Clock", "N/Empty", "N/Pair", "N/SystemClock"));
    CppClass* clock = p.cls("N", "SystemClock");
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->getKind(), "class");
    EXPECT_EQ(clock->getComment(), "The system's clock.<BR>\n");
    EXPECT_TRUE(clock->getBases().count("Clock"));
    EXPECT_TRUE(clock->getBases().count("IClock"));
    EXPECT_TRUE(clock->getMembers().empty());
    EXPECT_THAT(p.memberNames(p.cls("N", "After")), ElementsAre("Y"));
}

}  // namespace
