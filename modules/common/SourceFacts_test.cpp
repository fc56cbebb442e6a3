#include "modules/common/SourceFacts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Names = std::vector<std::string>;

// A Java file's imports as written: single classes, whole packages; what
// comments, text in quotes and static imports hold is no import.
TEST(SourceFacts, JavaImportsAsWritten) {
    const SourceImports imports = readSourceImports(
        "/*\n * Copyright (c) the authors. import not.This;\n */\n"
        "package org.acme.app;\n\n"
        "import java.util.List;\n"
        "import java.util.Map.Entry;  // a nested class\n"
        "import static java.util.Objects.requireNonNull;\n"
        "import org.acme.net.*;\n"
        "import   org.acme . util.Helper ;\n\n"
        "/** Uses them; import not.That; */\n"
        "@SuppressWarnings(\"import x.Y;\")\n"
        "public class Client {\n    String s = \"import not.Either;\";\n}\n"
        "import after.TheClass;\n",
        2);
    EXPECT_EQ(imports.classes, (Names{"java.util.List", "java.util.Map.Entry", "org.acme.util.Helper"}));
    EXPECT_EQ(imports.packages, (Names{"org.acme.net"}));
    EXPECT_TRUE(imports.complete);
    // A text that ends among the imports may hold more further on.
    EXPECT_FALSE(readSourceImports("package a;\nimport b.C;\nimport d.", 2).complete);
    EXPECT_EQ(readSourceImports("import b.C;", 0).classes, Names{});
}

// A C# file's using directives, at its start and in its namespaces' heads;
// an alias, a static class and a using statement name no namespace.
TEST(SourceFacts, CSharpUsingDirectivesAsWritten) {
    const SourceImports imports = readSourceImports(
        "// using Not.This;\n"
        "global using System.Numerics;\n"
        "using System;\n"
        "#if DEBUG\nusing System.Diagnostics;\n#endif\n"
        "using static System.Math;\n"
        "using Legacy = Acme.Legacy.Tariff;\n"
        "[assembly: InternalsVisibleTo(\"Acme.Tests\")]\n"
        "extern alias Old;\n\n"
        "namespace Acme.Shop\n{\n    using Acme.Pricing;\n\n"
        "    /// <summary>A cart.</summary>\n"
        "    public class Cart\n    {\n        void F() { using (var x = Open()) {} }\n    }\n}\n",
        1);
    EXPECT_EQ(imports.classes, Names{});
    EXPECT_EQ(imports.packages,
              (Names{"System.Numerics", "System", "System.Diagnostics", "Acme.Pricing"}));
    EXPECT_TRUE(imports.complete);
    EXPECT_EQ(readSourceImports("namespace Acme.Shop;\nusing Acme.Pricing;\nclass Cart {}\n", 1).packages,
              Names{"Acme.Pricing"});
}

// The literal that initialises a constant, as written; nothing when the
// initialiser is no literal, or when the name is assigned more than once.
TEST(SourceFacts, TheLiteralThatInitialisesAConstant) {
    const std::string source =
        "public class Limits {\n"
        "    // LIMIT = 5 was too low.\n"
        "    public static final int LIMIT = 100, STEP = 0x10;\n"
        "    public static final long FLOOR = -1L;\n"
        "    public static final double RATE = 1.5e-3;\n"
        "    public static final String AGENT = \"acme/1.0 \\\"beta\\\"\";\n"
        "    public static final char SEPARATOR = ';';\n"
        "    public static final boolean STRICT = true;\n"
        "    public static final int TWICE = LIMIT * 2;\n"
        "    private int count = 0;\n"
        "    void reset() { if (count == 3) count = 0; String s = \"STRICT = false\"; }\n"
        "    int Size => LIMIT;\n"
        "    static int low, high;\n"
        "    static { low = high = 7; }\n"
        "}\n";
    const std::map<std::string, std::string> literals{
        {"LIMIT", "100"},     {"STEP", "0x10"},    {"FLOOR", "-1L"},
        {"RATE", "1.5e-3"},   {"AGENT", "\"acme/1.0 \\\"beta\\\"\""},
        {"SEPARATOR", "';'"}, {"STRICT", "true"},    {"high", "7"},
        {"s", "\"STRICT = false\""}};
    const ConstantLiterals table = initialisingLiterals(source);
    for (const char* name : {"TWICE", "count", "Size", "MISSING", "low"})
        EXPECT_FALSE(table.contains(name)) << name;
    EXPECT_EQ(table, ConstantLiterals(literals.begin(), literals.end()));
}

}  // namespace
