// What the pages of both modules read from the sources themselves, where
// the model that the program sends holds nothing of it: the names a Java or
// C# file brings into view with its imports or using directives, and the
// literals that initialise constants.
//
// The texts are read as the languages write them: comments, text in quotes
// and preprocessor lines are passed over, so that nothing inside them is
// taken for a declaration.
#pragma once

#include "VelkLib/VelkFile.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One import statement of Java or using directive of C#.
struct ImportDirective {
    enum class Kind {
        // Java's "import a.E;": the class a.E (a nested one too, "a.Outer.Inner")
        // by its simple name.
        type,
        // Java's "import a.*;", C#'s "using a;": every class of the package
        // or namespace.
        package,
        // Java's "import static a.B.*;", C#'s "using static a.B;": what the
        // type a.B declares (its nested classes, and for C# its members).
        members,
        // Java's "import static a.B.m;": a.B's member m, which may be a
        // nested class.
        member,
        // C#'s "using Name = a.B;": Name stands for the namespace or type a.B.
        alias,
    };
    Kind kind = Kind::type;
    // As written, dotted, without blanks: "a.E", "a", "a.B", the alias's
    // target ("global::" taken off).
    std::string name;
    // The alias's own name (alias only).
    std::string alias;
    // C#: the namespace whose block holds the directive ("" at the file's
    // level, and always for Java).
    std::string scope;
    // C#: the namespace block that holds the directive, numbered in the
    // order the blocks open (0: the file's level, a file-scoped namespace
    // included); it holds for the declarations of that block alone.
    int block = 0;
    // C#'s "global using": the directive holds in every source.
    bool global = false;
};

// The imports a source file writes, in the order written.
struct SourceImports {
    std::vector<ImportDirective> directives;
    // Java: the text reached the first declaration, after which no import
    // can stand, so no text after it holds more. (A C# text is read whole.)
    bool complete = false;
    // C#: the block around each namespace block, by its number (-1 for the
    // file's level, 0).
    std::vector<int> blockParents{-1};
    // C#: the block that declares each type of a namespace's level, by its
    // name with the namespace ("Garden.Shed", type parameters left out);
    // -1 for a name declared in several blocks.
    std::unordered_map<std::string, int> typeBlocks;
};

// The imports of a Java (language value 2) source, read from its text (or
// the start of it) up to its first declaration; the using directives of a
// C# (1) source, at its head and at the head of each namespace block;
// nothing for another language. A using statement ("using (var x = ...)")
// and an extern alias are no directive.
SourceImports readSourceImports(std::string_view text, int language);

// The imports of the source file at path, as readSourceImports reads them,
// from as much of the file as they take; a file that cannot be read, or
// lies outside roots, has none.
SourceImports readSourceFileImports(const std::string& path, int language,
                                    const InputRoots& roots);

// The literals that initialise fields and constants in a source, by name:
// for each name that the text assigns to exactly once with a single
// literal (or a minus sign and a number) for its whole initialiser, that
// literal as written ("100", "0x1F", "-1L", "\"text\"", "'c'", "true").
// Read in one pass over the text.
using ConstantLiterals = std::unordered_map<std::string, std::string>;
ConstantLiterals initialisingLiterals(std::string_view text);
