// How a class page's head shows a base: as the author wrote it, type
// arguments kept, so that "class StringHandler : Handler<string>" reads
// "extends Handler<string>" whichever generic twin the name leads to.
#pragma once

#include <string>

class CppClass;

// The base entry baseName of cls as its head writes it
// (CppClass::writtenBase), named as the page of resolved (the class it
// leads to) names it: of its parts (split at the scope separator of
// resolved, outside angle brackets) as many of the last as the name of
// resolved has ("java.util.AbstractList<E>" shows "AbstractList<E>" for the
// class AbstractList, "Map.Entry<K, V>" all of it for Map.Entry), after
// the first parts of that name where it has fewer ("Shape<int>" shows
// "geo::Shape<int>" for geo::Shape). Whole when resolved is null or a
// placeholder. Plain text, not escaped.
std::string shownBaseText(const CppClass& cls, const std::string& baseName,
                          const CppClass* resolved);
