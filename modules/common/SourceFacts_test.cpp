#include "modules/common/SourceFacts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Names = std::vector<std::string>;

// Each directive as a line: its kind, its name, an alias's own name, and
// where it holds ("in Acme.Shop", "everywhere").
Names written(const SourceImports& imports) {
    Names lines;
    for (const ImportDirective& d : imports.directives) {
        std::string line;
        switch (d.kind) {
        case ImportDirective::Kind::type: line = "type "; break;
        case ImportDirective::Kind::package: line = "package "; break;
        case ImportDirective::Kind::members: line = "members of "; break;
        case ImportDirective::Kind::member: line = "member "; break;
        case ImportDirective::Kind::alias: line = "alias " + d.alias + " = "; break;
        }
        line += d.name;
        if (!d.scope.empty()) line += " in " + d.scope;
        if (d.global) line += " everywhere";
        lines.push_back(line);
    }
    return lines;
}

// A Java file's imports as written: single classes, whole packages, a
// static import's member and a type's members; what comments and text in
// quotes hold is no import.
TEST(SourceFacts, JavaImportsAsWritten) {
    const SourceImports imports = readSourceImports(
        "/*\n * Copyright (c) the authors. import not.This;\n */\n"
        "package org.acme.app;\n\n"
        "import java.util.List;\n"
        "import java.util.Map.Entry;  // a nested class\n"
        "import static java.util.Objects.requireNonNull;\n"
        "import static org.acme.net.Limits.*;\n"
        "import org.acme.net.*;\n"
        "import   org.acme . util.Helper ;\n"
        "import module java.base;\n\n"
        "/** Uses them; import not.That; */\n"
        "@SuppressWarnings(\"import x.Y;\")\n"
        "public class Client {\n    String s = \"import not.Either;\";\n}\n"
        "import after.TheClass;\n",
        2);
    EXPECT_EQ(written(imports),
              (Names{"type java.util.List", "type java.util.Map.Entry",
                     "member java.util.Objects.requireNonNull", "members of org.acme.net.Limits",
                     "package org.acme.net", "type org.acme.util.Helper"}));
    EXPECT_TRUE(imports.complete);
    // A text that ends among the imports may hold more further on.
    EXPECT_FALSE(readSourceImports("package a;\nimport b.C;\nimport d.", 2).complete);
    EXPECT_EQ(written(readSourceImports("import b.C;", 0)), Names{});
}

// A C# file's using directives, at its start and in its namespaces' heads
// (a block after a declaration too), each with the namespace whose block
// holds it; a using statement names nothing.
TEST(SourceFacts, CSharpUsingDirectivesAsWritten) {
    const SourceImports imports = readSourceImports(
        "// using Not.This;\n"
        "global using System.Numerics;\n"
        "using System;\n"
        "#if DEBUG\nusing System.Diagnostics;\n#endif\n"
        "using static System.Math;\n"
        "using Legacy = Acme.Legacy.Tariff;\n"
        "using Pairs = System.Collections.Generic.Dictionary<string, int>;\n"
        "using global::Acme.Common;\n"
        "[assembly: InternalsVisibleTo(\"Acme.Tests\")]\n"
        "extern alias Old;\n\n"
        "namespace Acme\n{\n    using Acme.Pricing;\n\n"
        "    namespace Shop.Cart\n    {\n        using Core = Acme.Core;\n    }\n"
        "    using After.Block;\n\n"
        "    /// <summary>A cart.</summary>\n"
        "    public class Cart\n    {\n        void F() { using (var x = Open()) {} }\n    }\n}\n"
        "namespace Acme.Later\n{\n    using Later.Tools;\n    enum Kind { A, B }\n}\n",
        1);
    EXPECT_EQ(written(imports),
              (Names{"package System.Numerics everywhere", "package System",
                     "package System.Diagnostics", "members of System.Math",
                     "alias Legacy = Acme.Legacy.Tariff",
                     "alias Pairs = System.Collections.Generic.Dictionary<string,int>",
                     "package Acme.Common", "package Acme.Pricing in Acme",
                     "alias Core = Acme.Core in Acme.Shop.Cart", "package After.Block in Acme",
                     "package Later.Tools in Acme.Later"}));
    // Each directive holds in its own block, and each block lies in the
    // one around it: Acme (1), Acme.Shop.Cart within it (2), Acme.Later (3).
    std::vector<int> blocks;
    for (const ImportDirective& d : imports.directives) blocks.push_back(d.block);
    EXPECT_EQ(blocks, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 1, 2, 1, 3}));
    EXPECT_EQ(imports.blockParents, (std::vector<int>{-1, 0, 1, 0}));
    EXPECT_EQ((std::map<std::string, int>(imports.typeBlocks.begin(), imports.typeBlocks.end())),
              (std::map<std::string, int>{{"Acme.Cart", 1}, {"Acme.Later.Kind", 3}}));
    // A type declared in two blocks (a partial class, twins) lies in no
    // one of them.
    const SourceImports twice = readSourceImports(
        "namespace A { using X; public partial class P {} }\n"
        "namespace A { public partial class P {} public record struct R(int V); }\n", 1);
    EXPECT_EQ((std::map<std::string, int>(twice.typeBlocks.begin(), twice.typeBlocks.end())),
              (std::map<std::string, int>{{"A.P", -1}, {"A.R", 2}}));
    EXPECT_EQ(written(readSourceImports("using static Acme.Store<int, List<string>>;\n", 1)),
              Names{"members of Acme.Store<int,List<string>>"});
    EXPECT_EQ(written(readSourceImports("namespace Acme.Shop;\nusing Acme.Pricing;\nclass Cart {}\n", 1)),
              Names{"package Acme.Pricing in Acme.Shop"});
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
