#include "ui/ToolTips.h"

#include <array>

namespace ui {

bool toolTipsEnabled = true;
bool toolTipsLoaded = false;

namespace {

struct ToolTipText {
    int id;
    const char* text;
};

// The main dialog's controls, then those of the Other Options dialog.
constexpr ToolTipText toolTipTexts[] = {
    {1003, "The HTML placed at the top of every page: an HTML fragment, or the name of a file "
           "that holds it."},
    {1004, "The HTML placed at the bottom of every page: an HTML fragment, or the name of a file "
           "that holds it."},
    {1005, "The template of each entry in the index frame: an HTML fragment, or the name of a "
           "file that holds it."},
    {1006, "The directory that the links to source code point to. Leave the row on Default to "
           "write the source listings with the documentation."},
    {1007, "The main page of the documentation. The other pages are written beside it."},
    {1008, "The directories and files to document, one to a line. A directory is searched with "
           "its subdirectories; add \"=\" and a name to name its project."},
    {1011, "Shows the class list of the index frame as a tree of base and derived classes."},
    {1018, "Adds source files to the input list."},
    {1019, "Changes the options of the selected documentation module."},
    {1021, "The title shown on the pages of the documentation."},
    {1023, "Uses the built-in header on every page."},
    {1024, "Puts no header on the pages."},
    {1025, "Uses your own header: type an HTML fragment or the name of a file."},
    {1026, "Writes no source listings and no links to them."},
    {1027, "Links to source code in a directory of your choice."},
    {1028, "Uses the built-in template for the entries of the index frame."},
    {1029, "Shows the entries of the index frame without a template."},
    {1030, "Uses your own template for the entries of the index frame: type an HTML fragment or "
           "the name of a file."},
    {1031, "Uses the built-in footer on every page."},
    {1032, "Puts no footer on the pages."},
    {1033, "Uses your own footer: type an HTML fragment or the name of a file."},
    {1034, "The company name shown on the pages of the documentation."},
    {1035, "Writes syntax-coloured listings of the sources with the documentation and links to "
           "them."},
    {1036, "The directory, beside the main page, that the class and project pages are written "
           "into. It must be a relative path."},
    {1037, "Defines preprocessor symbols and macros for reading the sources."},
    {1038, "Views the HTML output in your default web browser."},
    {1039, "Sends your comments or a problem report to the makers of Vantry."},
    {1040, "Adds a directory to the input list."},
    {1041, "Ends every line of a documentation comment with a line break in the pages."},
    {1042, "Chooses which file extensions are read as sources."},
    {1043, "Checks the web site for a newer version of Vantry."},
    {1044, "Toggles the Advanced view of this dialog."},
    {1045, "More options: the documentation comment style, source listings, language mappings "
           "and more."},
    {1049, "The documentation module that writes the pages."},
    {1078, "Documents global variables declared \"const\" or \"static const\"."},
    {1095, "Documents the contents of namespaces as globals instead of as members of their "
           "namespace."},
    {1096, "Documents enums and unions that have no name."},
    {1099, "Files whose extensions appear in this box will be parsed as C++ source code."},
    {1100, "Files whose extensions appear in this box will be parsed as Java source code."},
    {1101, "Files whose extensions appear in this box will be parsed as C# source code."},
    {1102, "Text added inside the <HEAD> element of every page, such as a style sheet link."},
    {1103, "Colours keywords, strings, numbers and comments in the source listings."},
    {1104, "Allows you to configure the syntax colors used for generated source code files."},
    {1116, "How many columns a tab character stands for in the source listings."},
    {1117, "Reads C++ and C# sources together, for projects that mix the two."},
};

std::array<const char*, toolTipIdLimit>& table() {
    static std::array<const char*, toolTipIdLimit> texts{};
    return texts;
}

void loadTable() {
    table().fill(nullptr);
    // Only ids of 1000 and more carry a text.
    for (const ToolTipText& entry : toolTipTexts)
        if (entry.id >= 1000 && entry.id < toolTipIdLimit) table()[static_cast<std::size_t>(entry.id)] = entry.text;
}

}  // namespace

bool onToolTipNeedText(int id, std::string& text) {
    if (!toolTipsEnabled) return false;
    if (!toolTipsLoaded) {
        loadTable();
        toolTipsLoaded = true;
    }
    if (id <= 0 || id >= toolTipIdLimit) return false;
    const char* found = table()[static_cast<std::size_t>(id)];
    text = found != nullptr ? found : "";
    return true;
}

}  // namespace ui
