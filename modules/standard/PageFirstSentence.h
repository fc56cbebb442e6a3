// The first sentence of a documentation block, kept well-formed, for
// summary tables, summaries and the master index.
#pragma once

#include <string>
#include <string_view>

// The text cut after its first sentence: at the first "." outside quotes
// and brackets that is not followed by a digit (skipping one dot right after
// skipWord, so "<B>Deprecated.</B>" is no sentence), or at the first
// "<br>"/"<p>"/"<dl>" when that comes first. Closing tags right after the
// cut are kept; elements opened but not closed (i, b, a, u, table, code,
// pre, blockquote, dl) are extended to their closing tag in the full text,
// or closed at the end. Trimmed. A text without an end comes back whole.
std::string firstSentence(const std::string& text, const std::string& skipWord);

// firstSentence of a text known only by its head: the text is head alone,
// or head followed by a tag list starting "<DL>", and head ends in "\r\n".
// Puts the sentence in out and returns true when head alone decides it
// (whichever the text is); returns false, out unspecified, when the
// sentence may reach past head.
bool firstSentenceOfHead(std::string_view head, std::string_view skipWord, std::string& out);

// Appends to out, innermost first, the end tags of the elements that text
// opens and leaves open (those whose end tag HTML requires: a, b, code,
// pre, ul, table ...), so that a piece of comment text cannot swallow the
// page around it. Nothing for a text that closes what it opens. text may
// be a view of out.
void appendMissingEndTags(std::string& out, std::string_view text);
