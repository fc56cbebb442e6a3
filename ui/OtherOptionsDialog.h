// The "Other Options" dialog: the detail-pages directory, the inclusion
// flags, the documentation-comment styles with a live example of each, the
// additional header text, the source-listing options (with the Syntax
// Coloring dialog behind "Colors and Keywords...") and the mapping of file
// extensions to languages.
#pragma once

#include <map>
#include <string>

#include "platform/gui/Dialog.h"
#include "reader/DocCommentFormat.h"
#include "run/SyntaxColorSettings.h"

class OtherOptionsDialog : public gui::CDialog {
public:
    // Reads the two comment styles out of the format: a primary triple that
    // opens with "//" is the line style and the secondary one the block
    // style; a style whose start text does not read "/*" or "//" is off and
    // shows its default characters. Texts shorter than expected give empty
    // characters, never an out-of-range read.
    explicit OtherOptionsDialog(const DocCommentFormat& format);

    // Fills the mapping boxes from languageMap (the extensions of each
    // language, one per line) and shows the examples.
    bool OnInitDialog() override;
    void DoDataExchange(gui::CDataExchange& dx) override;
    // Refuses a tab size outside 1 to 99 and a comment character longer
    // than one character, and a format the comment reader refuses (each
    // with a message; the dialog stays open); otherwise takes the comment
    // format and the language map back and closes.
    void OnOK() override;
    bool OnCommand(int id, unsigned notification) override;
    // From the program's tool-tip table.
    bool OnToolTipNeedText(int id, std::string& text) override;

    // Reads the controls, enables each style's boxes with its check box,
    // shows the examples of complete styles, enables "Colors and
    // Keywords..." with syntax colouring, and enables OK exactly when a
    // style is on and every style that is on is complete.
    void updateExample();
    // Runs the Syntax Coloring dialog over syntaxColors.
    void editSyntaxColors();

    // The format text of the styles that are on, as OnOK parses it.
    std::string formatText() const;

    std::string detailDirectory;
    int includeConst = 0;
    std::string lineEndChar;
    std::string blockMiddleChar;
    std::string lineMiddleChar;
    std::string blockStartChar;
    std::string lineStartChar;
    int useBlockStyle = 0;
    int useLineStyle = 0;
    std::string blockExample;
    std::string lineExample;
    int namespacesGlobal = 0;
    std::string cppMapText;
    std::string csharpMapText;
    std::string javaMapText;
    int includeAnonymous = 0;
    std::string additionalHeader;
    int useSyntaxColoring = 0;
    int mixCppCSharp = 0;
    int tabSize = 4;
    int disableToolTips = 0;
    int documentPreprocessor = 0;
    DocCommentFormat commentFormat;
    SyntaxColorSettings syntaxColors;
    std::map<std::string, int> languageMap;  // extension -> 0 C++, 1 C#, 2 Java

private:
    std::string tabSizeText;
};
