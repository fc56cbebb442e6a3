// The colours and user keywords of the source listings.
#pragma once

#include <set>
#include <string>

struct SyntaxColorSettings {
    // Colour texts (ColorText.h): a colour name or "#" and six hexadecimal
    // digits; the command line and the dialogs take no other.
    std::string comment = "green";
    std::string keyword = "blue";
    std::string userKeyword = "purple";
    std::string string = "maroon";
    std::string number = "maroon";
    std::string op = "black";
    std::string separator = "black";  // brackets and separators
    // Exact, case-sensitive words coloured as user keywords.
    std::set<std::string> userKeywords;

    bool operator==(const SyntaxColorSettings&) const = default;
};
