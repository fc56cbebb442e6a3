// The output switches that every class and member carries.
//
// An entity copies the record when it is created and keeps that copy: later
// changes to the creator's record do not reach it. (Entities with equal
// switches share one copy; entities never change a record in place, they
// replace it.) The program never changes
// the defaults; an output module fills its own record from its options.
#pragma once

#include <string>

struct DocOptions {
    bool includeProtected = true;          // include-protected
    bool includePrivate = false;           // include-private
    bool enableAuthor = false;             // enable-author
    bool enableVersion = false;            // enable-version
    bool enableDeprecated = true;          // enable-deprecations
    bool generateDeprecationsList = true;  // generate-deprecations-list
    bool enableSince = true;               // enable-since
    bool generateHierarchy = true;         // generate-hierarchy
    std::string headerBackgroundDark = "#CCCCFF";   // header-background-dark
    std::string headerBackgroundLight = "#EEEEFF";  // header-background-light
    std::string tableBackground = "white";          // table-background
    std::string selectedTextBackground = "navy";    // selected-text-background
    std::string selectedTextForeground = "white";   // selected-text-foreground
    bool fileLinksForGlobals = false;      // file-links-for-globals
    bool showVersion = false;              // show-vantry-version
    bool showTimestamp = false;            // show-timestamp
    // Set by the module from an init argument (no option key): when on, "."
    // separates scopes in every language.
    bool dotScope = false;
    bool suppressFramesLinks = false;      // suppress-frames-links
    bool wrapLongLines = false;            // wrap-long-lines

    bool operator==(const DocOptions&) const = default;
};
