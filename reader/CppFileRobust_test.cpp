// The parser must end every file, whatever it holds: newer language
// features, broken code, deep nesting and random token soup.
#include <gtest/gtest.h>
#include <unistd.h>

#include <random>
#include <sstream>

#include "VelkLib/VelkError.h"
#include "reader/ParserTestSupport.h"

namespace {

// Parses; an error that ends the file is an acceptable outcome, a crash,
// a hang or a sanitizer report is not.
void parseToEnd(const std::string& name, const std::string& text) {
    ParsedSource p;
    p.settings.includeAnonymous = name.size() % 2 == 0;
    try {
        p.parse(name, text);
    } catch (const VelkError&) {
    }
}

const char* const kModernCpp = R"(
module;
export module shapes;
template <typename T> concept Drawable = requires(T t) { t.draw(); };
template <Drawable... Ts> struct Scene : Ts... { using Ts::draw...; };
inline namespace v2 { constexpr auto square = [](auto x) constexpr { return x * x; }; }
struct alignas(16) [[deprecated("no")]] Vec { float v[4]{}; auto operator<=>(const Vec&) const = default; };
auto [a, b] = std::pair{1, 2};
template <class T> requires std::integral<T> T twice(T x) noexcept(noexcept(x + x)) { return x + x; }
enum class Colour : std::uint8_t { Red, Green = Red + 1 };
static_assert(sizeof(Vec) == 16, "size");
int (*table[3])(int) = {nullptr};
void f() -> decltype(a > b);
operator""_km(long double);
class A { A() try : x(1) {} catch (...) {} int x; };
)";

const char* const kModernCSharp = R"(
namespace Acme.Modern;
public record Person(string Name, int Age);
public readonly struct Money { public decimal Amount { get; init; } }
public partial class Form1 : Form { partial void OnLoad(); }
public static class Ext { public static int Twice(this int x) => x * 2; }
[Flags] public enum Bits { A = 1 << 0, B = 1 << 1 }
public class Gen<T> where T : class, new() {
    public T this[int i] { get => default; set { } }
    public async Task<int> RunAsync() { await Task.Delay(1); return 1; }
    public string Text => $"{Name} is {Age}";
    private (int, string) pair = (1, "x");
    public event Action<int>? Changed;
}
)";

const char* const kModernJava = R"(
package org.example.modern;
import static java.util.Map.entry;
@FunctionalInterface public interface Op { int apply(int a); }
public sealed interface Shape permits Circle, Square {}
public record Point(int x, int y) { public Point { if (x < 0) throw new IllegalArgumentException(); } }
public @interface Marker { String value() default ""; }
public class Lambdas<T extends Comparable<? super T>> {
    private final Op twice = a -> a * 2;
    java.util.function.Supplier<String> s = () -> { return "}"; };
    var list = java.util.List.of(1, 2);
    @Override @Deprecated(since = "9") public String toString() { return switch (1) { case 1 -> "one"; default -> "x"; }; }
    enum E { A { int f() { return 1; } }, B; abstract int f(); }
}
)";

TEST(CppFileRobustTest, ModernSourcesEnd) {
    parseToEnd("modern.cpp", kModernCpp);
    parseToEnd("modern.cs", kModernCSharp);
    parseToEnd("Modern.java", kModernJava);
    // Cut anywhere, the same sources still end.
    for (const char* text : {kModernCpp, kModernCSharp, kModernJava}) {
        std::string source = text;
        for (std::size_t cut = 1; cut < source.size(); cut += 37) {
            parseToEnd("cut.cpp", source.substr(0, cut));
            parseToEnd("cut.cs", source.substr(0, cut));
            parseToEnd("Cut.java", source.substr(0, cut));
        }
    }
}

TEST(CppFileRobustTest, DeepNestingAndLongStatementsEnd) {
    const std::size_t n = 20000;
    std::string braces(n, '{'), classes, angles = "int x = f<", arrows = "auto f() ";
    for (std::size_t i = 0; i < n; ++i) classes += "class C" + std::to_string(i % 10) + " { ";
    for (std::size_t i = 0; i < n; ++i) angles += "a<";
    for (std::size_t i = 0; i < n; ++i) arrows += "-> b > c ";
    parseToEnd("braces.cpp", braces);
    parseToEnd("classes.cpp", classes + std::string(n, '}') + ";");
    parseToEnd("angles.cpp", angles + ";\n");
    parseToEnd("arrows.cpp", arrows + ";\n");
    parseToEnd("template.cpp", "template " + std::string(n, '<'));
    parseToEnd("parens.cs", "class A { void f" + std::string(n, '(') + " }");

    // A class stays readable after a long statement of unpaired brackets.
    ParsedSource p;
    p.parse("after.cpp", arrows + ";\nclass After { int x; };\n");
    EXPECT_NE(p.cls("proj", "After"), nullptr);
}

TEST(CppFileRobustTest, RandomTokenSoupEnds) {
    static const char* const vocabulary[] = {
        "class", "struct", "union", "enum", "typedef", "namespace", "interface", "template",
        "public", "private", "protected", ":", "::", ";", ",", "{", "}", "(", ")", "<", ">",
        "[", "]", "[[", "=", "*", "&", "~", "operator", "friend", "static", "extern \"C\"",
        "using", "package", "import", "@", "A", "B", "x", "y", "int", "void", "0", "\"s\"",
        "'c'", "/** doc */", "/// line\n", "->", "STDMETHOD", "STDMETHOD_", "BEGIN_MSG_MAP",
        "END_MSG_MAP", "DECLARE_DYNAMIC", "where", "extends", "implements", "final", "\n",
        "#define M(a) a\n", "#if 0\n", "#endif\n", "throw", "unsigned", "const", "virtual"};
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(vocabulary) - 1);
    for (int file = 0; file < 150; ++file) {
        std::string text;
        for (int i = 0; i < 400; ++i) {
            text += vocabulary[pick(random)];
            text += ' ';
        }
        static const char* const names[] = {"soup.cpp", "soup.cs", "Soup.java"};
        parseToEnd(names[file % 3], text);
    }
}

// A stream handed in instead of the file is read as it stands: its
// documentation comments still document what follows them.
TEST(CppFileRobustTest, AnOutsideStreamKeepsItsComments) {
    std::istringstream source("/** A shape. */\nclass Shape {\n    /** Its width. */\n    int width;\n};\n");
    DocGenClassList classes;
    PreprocessorDefines defines;
    CppFile file("shape.h", "proj", nullptr, nullptr, nullptr, defines, DocCommentFormat(), nullptr, nullptr);
    file.setOutsideStream(&source);
    file.parse(classes, true, nullptr, nullptr);
    auto found = classes.getClasses().find({"proj", "Shape"});
    ASSERT_NE(found, classes.getClasses().end());
    const CppClass* shape = found->second;
    EXPECT_EQ(shape->getComment(), "A shape.<BR>\n");
    ASSERT_NE(ParsedSource::member(shape, "width"), nullptr);
    EXPECT_EQ(ParsedSource::member(shape, "width")->getComment(), "Its width.<BR>\n");
}

}  // namespace
