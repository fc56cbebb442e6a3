// Documentation comments are HTML by design and reach the pages as their
// authors wrote them; but a page must never run script that came with a
// source. This finds the tags of a comment that could run script and turns
// them into visible text, leaving all other markup alone.
#pragma once

#include <string>

// Rewrites every tag of text that could run script so that it shows as text
// ("<" and ">" of the tag as "&lt;" and "&gt;"): an element that runs or
// embeds content (script, style, iframe, frame, frameset, object, embed,
// applet, base, meta, link, svg, math, template, noscript), a tag with an event
// attribute (a name beginning with "on"), and a tag with an attribute whose
// value is a URL of the schemes javascript:, vbscript: or data: (other than
// data:image/ in PNG, GIF, JPEG or WebP), read as a browser reads it: in any
// letter case, with character references decoded and blanks and control
// characters dropped; a style attribute that holds "expression(" or such a
// URL too. Tag and attribute names are matched in any letter case. An
// element whose tag is not closed before the end of the text counts as
// closed there. What "{@code ...}" and "{@literal ...}" hold is left alone:
// the pages show it as text. Returns true when anything was rewritten.
bool defuseCommentScript(std::string& text);
