// How much one page may draw of what grows with the input: a page of a
// class in a chain of thousands of classes would otherwise be as long as
// the chain, and the site grow with the square of it.
#pragma once

#include <cstddef>

// The most ancestors a class page draws, the nearest ones; a line "..."
// stands for the rest, and the module warns naming the class.
inline constexpr std::size_t maxAncestorsShown = 200;

// The longest constant value (a literal as written) that {@value} copies
// into a text; a longer one is shown as a link to its constant, so that a
// text naming a long constant many times cannot grow a page by the product
// of the two.
inline constexpr std::size_t maxCopiedValue = 1000;
