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

// The names a source file imports, in the order written.
struct SourceImports {
    // Single classes: "a.E", "a.Outer.Inner" (Java's "import a.E;").
    std::vector<std::string> classes;
    // Packages or namespaces whose every class is in view: Java's
    // "import a.*;" and C#'s "using a;" (not "using static", not an alias).
    std::vector<std::string> packages;
    // The text reached the first declaration, after which no import can
    // stand: no text after it holds more.
    bool complete = false;
};

// The imports of a Java (language value 2) or C# (1) source, read from its
// text (or the start of it) up to its first declaration; nothing for
// another language. Static imports and aliases are left out, as they name
// no class.
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
