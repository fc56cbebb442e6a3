// How much one page may draw of what grows with the input: a page of a
// class in a chain of thousands of classes would otherwise be as long as
// the chain, and the site grow with the square of it.
#pragma once

#include <cstddef>

// The most ancestors a class page draws, the nearest ones; a line "..."
// stands for the rest, and the module warns naming the class.
inline constexpr std::size_t maxAncestorsShown = 200;
