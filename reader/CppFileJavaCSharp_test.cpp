// Java and C# declarations met in real libraries that were read as
// something else or lost with what followed them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader/CppFile.h"
#include "reader/ParserTestSupport.h"

using ::testing::ElementsAre;

namespace {

// What a member of the class says, "(none)" when the class has no such member.
std::string declarationOf(const CppClass* c, const std::string& name) {
    const CppClassMember* m = ParsedSource::member(c, name);
    return m ? m->getDeclaration() : "(none)";
}
std::string commentOf(const CppClass* c, const std::string& name) {
    const CppClassMember* m = ParsedSource::member(c, name);
    return m ? m->getComment() : "(none)";
}
std::vector<std::string> argumentsOf(const CppClass* c, const std::string& name) {
    const CppClassMember* m = ParsedSource::member(c, name);
    return m ? m->getArguments() : std::vector<std::string>{"(none)"};
}

TEST(CppFileJavaCSharpTest, JavaEnumImplementingInterfacesIsAClass) {
    ParsedSource p;
    p.parse("Outer.java", R"(package p;
public class Outer {
    /** How it runs. */
    enum Mode implements Runnable, java.io.Serializable { ON; public void run() { } }
    int after;
}
)");
    EXPECT_THAT(p.classNames(), ElementsAre("p/Outer", "p/Outer.Mode"));
    EXPECT_THAT(p.memberNames(p.cls("p", "Outer")), ElementsAre("after"));
    CppClass* mode = p.cls("p", "Outer.Mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->getComment(), "How it runs.<BR>\n");
    EXPECT_TRUE(mode->getBases().at("Runnable")->isInterface());
    EXPECT_TRUE(mode->getBases().at("java.io.Serializable")->isInterface());
    EXPECT_THAT(p.memberNames(mode), ElementsAre("ON", "run"));
}

// A constant with a class body of its own is declared by its name and
// arguments; the body, comments in it included, belongs to no constant.
TEST(CppFileJavaCSharpTest, JavaEnumConstantBodiesAreNotTheirDeclarations) {
    ParsedSource p;
    p.parse("Planet.java", R"(package p;
public enum Planet {
    /** Small and hot. */
    MERCURY(3.3e23) {
        /** Nearest the sun. */
        @Override double tilt() { return 0.03; }
    },
    /** Ours. */
    EARTH(5.97e24) { @Override double tilt() { return 23.4; } },
    /** Far away. */
    NEPTUNE(1.02e26);
    private final double mass;
    Planet(double mass) { this.mass = mass; }
    /** The axial tilt. */
    double tilt() { return 0; }
}
)");
    CppClass* planet = p.cls("p", "Planet");
    ASSERT_NE(planet, nullptr);
    EXPECT_THAT(p.memberNames(planet), ElementsAre("MERCURY", "EARTH", "NEPTUNE", "mass", "Planet", "tilt"));
    EXPECT_EQ(declarationOf(planet, "MERCURY"), "MERCURY(3.3e23);");
    EXPECT_EQ(declarationOf(planet, "EARTH"), "EARTH(5.97e24);");
    EXPECT_EQ(commentOf(planet, "MERCURY"), "Small and hot.<BR>\n");
    EXPECT_EQ(commentOf(planet, "EARTH"), "Ours.<BR>\n");
    EXPECT_EQ(commentOf(planet, "NEPTUNE"), "Far away.<BR>\n");
    EXPECT_EQ(commentOf(planet, "tilt"), "The axial tilt.<BR>\n");
}

TEST(CppFileJavaCSharpTest, JavaModuleDeclarationDeclaresNothing) {
    ParsedSource p;
    p.parse("module-info.java", "@Deprecated\nopen module java.base {\n    exports java.io;\n"
                                "    provides p.S with p.Impl;\n}\n");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.classNames(), ElementsAre());
}

// Editors indent with a no-break space and other blanks beyond ASCII.
TEST(CppFileJavaCSharpTest, UnicodeBlanksAreBlanks) {
    const std::string nbsp = "\xC2\xA0", thin = "\xE2\x80\x89", ideographic = "\xE3\x80\x80";
    ParsedSource p;
    p.parse("Nb.cs", "namespace N\n{\n" + nbsp + "/** A class. */\n" + nbsp + "public" + thin +
                         "class Nb :" + ideographic + "Base\n" + nbsp + "{\n" + ideographic +
                         "#region Fields\n" + nbsp + "public void Say(string s = \"a" + nbsp +
                         "b\") { }\n" + nbsp + "}\n}\n");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* nb = p.cls("N", "Nb");
    ASSERT_NE(nb, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_EQ(nb->getComment(), "A class.<BR>\n");
    EXPECT_TRUE(nb->getBases().count("Base"));
    // Inside a literal the characters stay as written.
    EXPECT_THAT(argumentsOf(nb, "Say"), ElementsAre("string s = \"a" + nbsp + "b\""));
}

TEST(CppFileJavaCSharpTest, ExplicitInterfaceImplementationsAreMembersOfTheirOwn) {
    ParsedSource p;
    p.parse("Bag.cs", R"(public class Bag : IEnumerable<string>, IList<string>
{
    /** The public one. */
    public Enumerator GetEnumerator() => new Enumerator();
    IEnumerator<string> IEnumerable<string>.GetEnumerator() => GetEnumerator();
    IEnumerator IEnumerable.GetEnumerator() => GetEnumerator();
    int ICollection.Count => 1;
    public string this[int i] { get => ""; set { } }
    string IList<string>.this[int index] { get => ""; set { } }
}
)");
    CppClass* bag = p.cls("(default)", "Bag");
    ASSERT_NE(bag, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(bag),
                ElementsAre("GetEnumerator", "IEnumerable<string>.GetEnumerator", "IEnumerable.GetEnumerator",
                            "ICollection.Count", "this", "IList<string>.this"));
    // The expression body is not part of the declaration.
    EXPECT_EQ(declarationOf(bag, "GetEnumerator"), "Enumerator GetEnumerator();");
    EXPECT_EQ(commentOf(bag, "GetEnumerator"), "The public one.<BR>\n");
    EXPECT_EQ(declarationOf(bag, "IEnumerable<string>.GetEnumerator"),
              "IEnumerator<string> IEnumerable<string>.GetEnumerator();");
    EXPECT_EQ(declarationOf(bag, "ICollection.Count"), "int ICollection.Count { get; }");
    EXPECT_EQ(declarationOf(bag, "this"), "string this[int i] { get; set; }");
    EXPECT_THAT(argumentsOf(bag, "IList<string>.this"), ElementsAre("int index"));
}

TEST(CppFileJavaCSharpTest, OperatorsAreNamedWhole) {
    ParsedSource p;
    p.parse("Money.cs", R"(public readonly struct Money
{
    public static Money operator checked +(Money a, Money b) => a;
    public static implicit operator Pair<Money, System.Decimal>(Money m) => default;
    public static explicit operator decimal?(Money m) => null;
}
)");
    CppClass* money = p.cls("(default)", "Money");
    ASSERT_NE(money, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(money),
                ElementsAre("operator checked+", "operator Pair<Money, System.Decimal>", "operator decimal?"));
    EXPECT_THAT(argumentsOf(money, "operator checked+"), ElementsAre("Money a", "Money b"));
}

TEST(CppFileJavaCSharpTest, DirectivesAndTypesWithoutABody) {
    ParsedSource p;
    p.parse("Clocks.cs", R"(extern alias Legacy;
global using System.Text;
global using Alias = System.Collections.Generic.List<int>;
namespace N;
/** The system's clock. */
sealed class SystemClock : Clock, IClock;
public class Empty;
public struct Pair<T> where T : struct;
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    EXPECT_THAT(p.classNames(), ElementsAre("N/Empty", "N/Pair<T>", "N/SystemClock"));
    CppClass* clock = p.cls("N", "SystemClock");
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->getComment(), "The system's clock.<BR>\n");
    EXPECT_TRUE(clock->getBases().count("Clock"));
    EXPECT_TRUE(clock->getBases().count("IClock"));
}

}  // namespace

// Words that only C++ reserves are ordinary names in Java: parameters,
// fields and methods so named keep their own declarations.
TEST(CppFileJavaCSharpTest, CppOnlyKeywordsAreNamesInJava) {
    ParsedSource p;
    p.parse("Words.java", R"(package p;
public class Words {
    Words(String name, Operator operator, int size) { }
    void replace(UnaryOperator<E> operator, int from) { }
    int template = 1;
    int typedef, struct;
    String namespace() { return ""; }
    void using(Object friend, int delete, long typename, int noexcept, int decltype) { }
    boolean inline(int union, int signed, int unsigned, int auto, int register) { return true; }
    int virtual(int explicit, int mutable, int constexpr, int sizeof, int extern) { return 0; }
    int after;
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* words = p.cls("p", "Words");
    ASSERT_NE(words, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(words), ElementsAre("Words", "replace", "template", "typedef", "struct",
                                                  "namespace", "using", "inline", "virtual", "after"));
    EXPECT_THAT(argumentsOf(words, "Words"), ElementsAre("String name", "Operator operator", "int size"));
    EXPECT_THAT(argumentsOf(words, "replace"), ElementsAre("UnaryOperator<E> operator", "int from"));
    EXPECT_THAT(argumentsOf(words, "using"), ElementsAre("Object friend", "int delete", "long typename",
                                                         "int noexcept", "int decltype"));
    EXPECT_THAT(argumentsOf(words, "inline"), ElementsAre("int union", "int signed", "int unsigned",
                                                          "int auto", "int register"));
    EXPECT_THAT(argumentsOf(words, "virtual"), ElementsAre("int explicit", "int mutable",
                                                           "int constexpr", "int sizeof", "int extern"));
    EXPECT_EQ(declarationOf(words, "template"), "int template;");
}

TEST(CppFileJavaCSharpTest, CppOnlyKeywordsAreNamesInCSharp) {
    ParsedSource p;
    p.parse("Words.cs", R"(namespace N {
public class Words {
    public int template;
    public int typedef, union;
    public void Using(object friend, int delete, long typename, int noexcept, int decltype) { }
    public bool Inline(int signed, int unsigned, int auto, int register, int template) { return true; }
    public int after;
}
}
)");
    EXPECT_TRUE(p.warnings.empty()) << p.warnings.front();
    CppClass* words = p.cls("N", "Words");
    ASSERT_NE(words, nullptr) << ::testing::PrintToString(p.classNames());
    EXPECT_THAT(p.memberNames(words), ElementsAre("template", "typedef", "union", "Using", "Inline", "after"));
    EXPECT_THAT(argumentsOf(words, "Using"), ElementsAre("object friend", "int delete", "long typename",
                                                         "int noexcept", "int decltype"));
    EXPECT_THAT(argumentsOf(words, "Inline"), ElementsAre("int signed", "int unsigned", "int auto",
                                                          "int register", "int template"));
}

// "record" opens a type only where a type can begin; elsewhere it is a name
// like any other ("public final Name record;" of a compiler's name table).
TEST(CppFileJavaCSharpTest, RecordIsANameWhereNoTypeBegins) {
    ParsedSource java;
    java.parse("Names.java", R"(package p;
public class Names {
    public final Name record;
    Name record(Name record, int size) { return record; }
    record Point(int x, int y) { }
    public Name after;
}
)");
    EXPECT_TRUE(java.warnings.empty()) << java.warnings.front();
    CppClass* names = java.cls("p", "Names");
    ASSERT_NE(names, nullptr) << ::testing::PrintToString(java.classNames());
    EXPECT_THAT(java.memberNames(names), ElementsAre("record", "record", "after"));
    EXPECT_EQ(declarationOf(names, "record"), "final Name record;");
    EXPECT_NE(java.cls("p", "Names.Point"), nullptr) << ::testing::PrintToString(java.classNames());

    ParsedSource cs;
    cs.parse("Names.cs", R"(namespace N {
public class Names {
    public Name record;
    public record Point(int X, int Y);
    public Name after;
}
}
)");
    EXPECT_TRUE(cs.warnings.empty()) << cs.warnings.front();
    CppClass* csNames = cs.cls("N", "Names");
    ASSERT_NE(csNames, nullptr) << ::testing::PrintToString(cs.classNames());
    EXPECT_THAT(cs.memberNames(csNames), ElementsAre("record", "after"));
    // C# keeps the access words out of the declaration, as for any field.
    EXPECT_EQ(declarationOf(csNames, "record"), "Name record;");
    EXPECT_EQ(declarationOf(csNames, "after"), "Name after;");
    EXPECT_NE(cs.cls("N", "Names.Point"), nullptr) << ::testing::PrintToString(cs.classNames());
}

// Java and C# names may hold any letter: the bytes of a character beyond
// ASCII are part of the name they stand in.
TEST(CppFileJavaCSharpTest, NamesBeyondAsciiAreNames) {
    const std::string body = "    int länge;\n    public void 計算(int größe) { }\n    Größe ändern() { return this; }\n";
    ParsedSource java;
    java.parse("Größe.java", "package maße;\n/** Eine Größe. */\npublic class Größe extends Maß {\n" + body +
                                 "    class Innen {}\n}\n");
    EXPECT_TRUE(java.warnings.empty()) << java.warnings.front();
    CppClass* size = java.cls("maße", "Größe");
    ASSERT_NE(size, nullptr) << ::testing::PrintToString(java.classNames());
    EXPECT_EQ(size->getComment(), "Eine Größe.<BR>\n");
    EXPECT_TRUE(size->getBases().count("Maß"));
    EXPECT_THAT(java.memberNames(size), ElementsAre("länge", "計算", "ändern"));
    EXPECT_EQ(declarationOf(size, "länge"), "int länge;");
    EXPECT_EQ(declarationOf(size, "計算"), "void 計算(int größe);");
    EXPECT_THAT(argumentsOf(size, "計算"), ElementsAre("int größe"));
    EXPECT_EQ(declarationOf(size, "ändern"), "Größe ändern();");
    EXPECT_NE(java.cls("maße", "Größe.Innen"), nullptr);

    ParsedSource cs;
    cs.parse("Größe.cs", "namespace Maße {\n/** Eine Größe. */\npublic class Größe : Maß {\n" + body + "}\n}\n");
    EXPECT_TRUE(cs.warnings.empty()) << cs.warnings.front();
    size = cs.cls("Maße", "Größe");
    ASSERT_NE(size, nullptr) << ::testing::PrintToString(cs.classNames());
    EXPECT_TRUE(size->getBases().count("Maß"));
    EXPECT_THAT(cs.memberNames(size), ElementsAre("länge", "計算", "ändern"));
    EXPECT_EQ(declarationOf(size, "計算"), "void 計算(int größe);");
}
