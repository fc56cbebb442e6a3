// The head and tail of every page: the rendered template, or on content
// pages the user's header and footer (empty: the rendered one; "?":
// nothing; otherwise an HTML fragment or the name of a file holding one).
//
// A fragment naming a file that cannot be read raises the VelkFileError of
// copyTextFileIntoPage; it ends the site.
#pragma once

#include <ostream>
#include <string>

struct StandardModule;

// Writes the head chosen for module.headerText; with framePage set always
// the rendered head (module.pageHeadBuffer).
void writeHeaderFragment(const StandardModule& module, std::ostream& out, bool framePage);
// The same for module.footerText and the rendered tail.
void writeFooterFragment(const StandardModule& module, std::ostream& out, bool framePage);

// The head of a class or namespace page: with an empty header it renders
// the template for a content page (documentTitle + ": " + pageTitle, with
// body, bold items, target "classFrame", no link base) and returns the
// rendered head; "" for "?"; otherwise the header fragment's text.
std::string classPageHeadText(StandardModule& module, const std::string& pageTitle);
inline std::string pageHeadText(StandardModule& module, const std::string& pageTitle) {
    return classPageHeadText(module, pageTitle);
}

// What writeFooterFragment writes on a content page, as a text (the tail as
// last rendered when the footer is empty; it renders nothing itself).
std::string pageFooterText(const StandardModule& module);
inline std::string footerText(const StandardModule& module) { return pageFooterText(module); }
