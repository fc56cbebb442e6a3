// {@value} on the old module's pages, which otherwise show a comment's
// tags as written: what the tag stands for, the constant's value, is shown
// in its place.
#pragma once

#include <string>
#include <string_view>

class CppClassEntity;

namespace vantry_old {

class DocClassList;

// Appends what "{@value text}" in the comment of entity shows, on a page
// whose links to class pages begin with linkPrefix (unescaped): for the
// constant that text names ("#NAME", "Class#NAME", "package.Class#NAME",
// found in the class and then its ancestors; the entity itself, when it is
// a field, for an empty text) the literal its source initialises it with,
// escaped, when that is at most maxCopiedValue characters; else the
// constant's name in code, linked to its entry. A text that names no
// documented constant is shown in code ("Class.NAME"); a bare tag on what
// is no field shows nothing. Needs a prepared list.
void appendConstantValue(std::string& out, const DocClassList& list, const CppClassEntity& entity,
                         std::string_view text, const std::string& linkPrefix);

// documentationText of the entity's comment, its {@value} tags read by
// appendConstantValue.
std::string shownComment(const DocClassList& list, const CppClassEntity& entity,
                         const std::string& linkPrefix);

}  // namespace vantry_old
