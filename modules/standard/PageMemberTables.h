// A class page's member summary tables and detail sections.
#pragma once

#include "modules/standard/DeprecatedItemMap.h"

#include <string>
#include <unordered_set>
#include <string_view>
#include <vector>

class CppClass;
class CppClassMember;

// A copy of the list with functions before the rest, then by names
// compared case-insensitively; equal names keep their list order.
std::vector<CppClassMember*> sortedMembers(const std::vector<CppClassMember*>& members);

// One summary table appended to out (nothing for an empty list): a row per
// member, in the order given (sortedMembers order on class pages), with the
// access and type in a left column (constructor tables only when some
// constructor is not public; never on enum pages), the declaration from the
// name on with the name linked to its detail entry, and the first sentence
// of its documentation.
void writeMemberSummaryTable(std::string& out, const CppClass& cls, std::string_view title,
                             std::string_view anchor,
                             const std::vector<CppClassMember*>& members,
                             const std::string& sourceDirectory, bool constructorTable);

// One detail section appended to out (nothing for an empty list): per
// member, in the order given, its anchors, its name, its declaration with
// the name in bold, and its documentation block. Deprecated members are
// entered into `deprecated` when given. Each entry carries the member's own
// anchor and the anchor of its name; with pageAnchors (the anchors of every
// member entry on the page, and the name anchors written so far) an entry
// carries its name's anchor only when the name is its own anchor or no
// entry of the page carries that anchor yet, so that a reference to a name
// leads to its first entry, whatever overloads follow.
void writeMemberDetailSection(std::string& out, const CppClass& cls, std::string_view title,
                              std::string_view anchor,
                              const std::vector<CppClassMember*>& members,
                              DeprecatedItemMap* deprecated, const std::string& sourceDirectory,
                              std::unordered_set<std::string>* pageAnchors = nullptr);

// The HTML text of the member's declaration, whole or from its name on,
// with the member's name replaced by replacement where the declaration
// declares it (declaredNameAt); a type or a parameter of the same name
// stays as written.
std::string highlightName(const std::string& text, const CppClassMember& member,
                          const std::string& replacement);
// The same text appended to out; name is the member's name as
// appendEscapedName writes it.
void appendHighlightedName(std::string& out, std::string_view text, const CppClassMember& member,
                           std::string_view name, std::string_view replacement);

// 'a'..'z' turned to upper case; other bytes unchanged.
std::string toUpperCase(const std::string& text);

// The HTML text without the ";" characters that end declarations, entities
// kept whole; those inside braces stay, as an accessor list is written
// ("Count { get; private set; }").
std::string removeSemicolons(const std::string& text);
// The same text written over out (which must not be text itself).
void removeSemicolons(const std::string& text, std::string& out);
