// Code text in pages is shown, not parsed: names, declarations and
// signatures pass through these before they meet the HTML of a page.
// Documentation comments are HTML by design and never pass through here.
#pragma once

#include <string>
#include <string_view>

// escapeHtml ("&", "<", ">" and '"' as entities) lives with the module's
// text services.
#include "modules/common/ModuleText.h"

// A page path made safe as an href: bytes that would end or redirect a URL
// path ("%", "#", "?", blanks, control bytes, quotes, "<", ">") are
// percent-encoded and "&" becomes "&amp;". "/" and "." are kept, so
// relative paths stay relative. Apply to the path only, never to an anchor.
std::string hrefEscape(const std::string& path);
// hrefEscape appended to out.
void appendHrefEscaped(std::string& out, std::string_view path);
