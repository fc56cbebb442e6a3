// An entity's documentation comment rendered as the HTML shown under its
// heading: the description, an optional deprecation note and the tag
// sections (Parameters, Returns, Throws, Version, Author, Since, See Also).
#pragma once

#include "modules/standard/DeprecatedItemMap.h"

#include <string>

class CppClassEntity;
class DocClassList;

// The description, tag sections and deprecation text of the entity's
// comment, with links written for linkPrefix (the deprecation text's too:
// each page that shows it parses the comment for its own prefix).
struct DocBlockParts {
    std::string description;  // followed by the tags of no section, one paragraph each
    std::string sections;     // "<DL>...</DL>\r\n", or "" when no section has text
    std::string deprecation;  // raw; "" when the entity is not deprecated or gives no note
};
DocBlockParts parseDocComment(const CppClassEntity& entity, const DocClassList* classList,
                              const std::string& linkPrefix, const std::string& sourceLocation);

// The rendered block: with enable-deprecations on, a deprecated entity's
// description starts with "<B>Deprecated.</B>&nbsp;<I>" and its note; the
// description, followed by the tags of no section (a paragraph each), is
// wrapped in wrapTag and followed by "\r\n" and the tag sections in their
// fixed order. When `deprecated` is given, a deprecated
// entity is entered into it under deprecationKey. Writes no file.
std::string writeDocBlock(const CppClassEntity& entity, const DocClassList* classList,
                          const std::string& wrapTag, const std::string& sourceLocation,
                          DeprecatedItemMap* deprecated, const std::string& linkPrefix);
// writeDocBlock appended to out.
void appendDocBlock(std::string& out, const CppClassEntity& entity, const DocClassList* classList,
                    const std::string& wrapTag, const std::string& sourceLocation,
                    DeprecatedItemMap* deprecated, const std::string& linkPrefix);

// "" tag: the text; "p" in any case: "<p>" text "<p>"; else <tag>text</tag>.
std::string wrapInTag(const std::string& text, const std::string& tag);

// Appends "<DT><B>label: </B><DD>" text "</DD>\r\n" when the section under
// key has text.
void writeTagSection(std::string& out, const std::string& sectionText, const std::string& label);

// The key of an entity in the deprecated-item map: its name-order key
// first, so the map walks in the site's name order, then what tells equal
// names apart (project, class, signature), so that every entity has one
// entry and two runs give the same order.
std::string deprecationKey(const CppClassEntity& entity);

// The first sentence of the entity's documentation (skipping a leading
// "Deprecated."), wrapped in tag: firstSentence of the writeDocBlock text
// without the tags of no section.
// The tag sections are built only when the sentence may reach them.
std::string summarySentence(const CppClassEntity& entity, const DocClassList* classList,
                            const std::string& sourceLocation, const std::string& tag,
                            const std::string& linkPrefix);
