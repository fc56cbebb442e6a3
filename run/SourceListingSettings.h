// The parse and listing settings of one run.
#pragma once

#include <string>

#include "reader/ParserSettings.h"
#include "run/SyntaxColorSettings.h"

// The tab sizes a user may set, from the Other Options dialog and the
// command line alike.
inline constexpr int kTabSizeSettingMin = 1;
inline constexpr int kTabSizeSettingMax = 99;

struct SourceListingSettings {
    bool includeConst = false;          // include-const
    bool namespacesGlobal = false;      // namespaces-global
    bool includeAnonymous = false;      // include-anonymous
    bool documentPreprocessor = false;  // document-preprocessor
    std::string noDocumentMarker;       // nodocument-marker
    std::string onlyDocumentMarker;     // onlydocument-marker
    bool syntaxColor = true;            // off with suppress-syntax-color
    SyntaxColorSettings colors;
    bool mixCppCsharp = false;          // mix-cpp-csharp
    int tabSize = 4;                    // source-code-tab-size

    // The part of the settings that the parser reads.
    ParserSettings parserSettings() const {
        ParserSettings parser;
        parser.includeConst = includeConst;
        parser.namespacesGlobal = namespacesGlobal;
        parser.includeAnonymous = includeAnonymous;
        parser.noDocumentMarker = noDocumentMarker;
        parser.onlyDocumentMarker = onlyDocumentMarker;
        parser.mixCppCsharp = mixCppCsharp;
        parser.documentMacros = documentPreprocessor;
        return parser;
    }
};
