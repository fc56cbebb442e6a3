// The first sentence of a documentation block, kept well-formed, for
// summary tables, summaries and the master index.
#pragma once

#include <string>

// The text cut after its first sentence: at the first "." outside quotes
// and brackets that is not followed by a digit (skipping one dot right after
// skipWord, so "<B>Deprecated.</B>" is no sentence), or at the first
// "<br>"/"<p>"/"<dl>" when that comes first. Closing tags right after the
// cut are kept; elements opened but not closed (i, b, a, u, table, code,
// pre, blockquote, dl) are extended to their closing tag in the full text,
// or closed at the end. Trimmed. A text without an end comes back whole.
std::string firstSentence(const std::string& text, const std::string& skipWord);

// One element of the closing step of firstSentence: does nothing when the
// first cut does not open `element` or also closes it; otherwise extends
// `sentence` to the first closing tag in the full text, or appends one.
// The lowered texts are the first cut and the full text in lower case.
void closeUnclosedTag(std::string& sentence, const std::string& loweredCut,
                      const std::string& element, const std::string& fullText,
                      const std::string& loweredFull);
