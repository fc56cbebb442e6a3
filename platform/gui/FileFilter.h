// File chooser filters. The dialogs give them in one text of pairs:
// "HTML Files (*.htm;*.html)|*.htm; *.html|All Files (*.*)|*.*||", each a
// description and its patterns (separated by ";", blanks around them
// ignored); an empty description ends the list. A chooser shows one entry
// per pair.
#pragma once

#include <string>
#include <vector>

namespace gui {

struct FilterEntry {
    std::string description;            // as given
    std::vector<std::string> patterns;  // trimmed, empty ones dropped
};

// The pairs of a filter text, in order. A description without patterns
// (the text ends after it) gets the pattern "*".
std::vector<FilterEntry> parseFileFilter(const std::string& filter);

// One entry as a Qt chooser's name filter: the description with its
// parenthesised part (or, without one, an added one) holding the patterns
// joined by blanks, "*.*" written "*" (a name without a dot matches too).
// "HTML Files (*.htm;*.html)" with *.htm and *.html gives
// "HTML Files (*.htm *.html)".
std::string nameFilter(const FilterEntry& entry);

}  // namespace gui
