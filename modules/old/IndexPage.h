// The index page: the page head, a "Last Updated" line, one entry per class
// (alphabetical under a table of letters, or a tree of classes and then of
// interfaces) and the page end. Each class's page is written right after
// its first entry.
#pragma once

#include <optional>
#include <string>

class CppClass;
class DateTime;

namespace vantry_old {

class DocClassList;

// Renders the built-in head, entry template and foot into the list's three
// buffers, from the title, the company, the program's version text and the
// time (title and company escaped: they are the user's text, not HTML),
// and the list's settings (detail directory, tree listing).
void renderPageBuffers(DocClassList& list, const std::string& title, const std::string& company,
                       const std::string& versionText, const DateTime& now);

// The value of an entry-template variable for the class, or nothing when
// the letter is no variable: C name, D documentation comment (HTML as
// written, through shownComment), F and G first and second source file, H page file, J package,
// P base list, R source directory setting. All but D are escaped.
std::optional<std::string> entryVariable(const DocClassList& list, const CppClass& cls,
                                         char letter);

// The text a header, footer or template setting stands for: the built-in
// piece for "", nothing for "?", else the fragment or the file it names
// (copyTextFileIntoPage, which throws VelkFileError for a missing file).
std::string pieceText(const std::string& setting, const std::string& builtIn);

// Writes the index page to list.settings.outputFile and, with
// writeDetailPages, every listed class's page once; prepares the list
// first. Throws VelkFileError when a page cannot be opened or written or a
// setting names a missing file, VelkError for a detail directory that
// cannot be made or a template without its closing marker (the entries
// before it stay written).
void writeIndexPage(DocClassList& list, const DateTime& now);

// writeIndexPage with every page written under a temporary name beside its
// place; when all are written, the program is asked
// (VANTRY_PROGRESS_MOVE_IN) whether they may replace the previous site, and
// they are moved in or removed (StagedSite). Throws what writeIndexPage
// throws, VelkFileError when a page cannot be put in place, and
// RunCancelled when the run is asked to stop (between the class entries,
// and while the pages move in); the new pages are removed then, so the
// previous site stays as it was.
void writeSite(DocClassList& list, const DateTime& now);

}  // namespace vantry_old
