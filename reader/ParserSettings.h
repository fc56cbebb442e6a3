// The run settings that decide how the parser reads declarations. The run's
// source-listing settings carry these fields (and more); the parser reads
// only this view, so it does not depend on the run's code.
#pragma once

#include <string>

class InputRoots;

struct ParserSettings {
    // Global variables marked const ("const", "static const",
    // "constexpr") are documented; when clear they are left out.
    bool includeConst = false;
    // "namespace" opens no class: C++ namespaces read as if at file level.
    bool namespacesGlobal = false;
    // Types without a name are documented under generated names; when
    // clear their bodies are skipped.
    bool includeAnonymous = false;
    // A class head whose first word after the class keyword is this marker
    // is skipped with its body. Empty: no marker.
    std::string noDocumentMarker;
    // When not empty, only file-level class heads that carry this marker
    // as their first word are documented.
    std::string onlyDocumentMarker;
    // C++ files are read under the rules of C# and Java ("." as scope
    // separator, package from the source).
    bool mixCppCsharp = false;
    // The #defines are recorded, with their comments, for the pages; when
    // clear they are not (nor are their comments checked).
    bool documentMacros = true;
    // When given, the source file opened must lie inside these (the run's
    // inputs; readWholeFile checks the file actually opened).
    const InputRoots* inputRoots = nullptr;
};
