#include "ui/SecondaryDialogTemplates.h"

namespace ui {

namespace {

using gui::ControlKind;
using gui::IDCANCEL;
using gui::IDOK;
using gui::IDSTATIC;
constexpr unsigned G = gui::StyleGroup;
constexpr unsigned T = gui::StyleTabStop;
constexpr unsigned R = gui::StyleReadOnly;
constexpr unsigned F = gui::StyleFixedFont;
constexpr unsigned H = gui::StyleHidden;

// The two radios come first and side by side: a radio group is a run of
// radios, so no check box may stand between them.
constexpr gui::ControlTemplate commandLineControls[] = {
    {IDC_CMD_COMMAND, ControlKind::MultiLineEdit, "", {7, 7, 352, 90}, T | G},
    {IDC_CMD_STANDARD, ControlKind::Radio, "Standard Interface", {7, 103, 170, 10}, T | G},
    {IDC_CMD_PURE, ControlKind::Radio, "Pure Command Line Interface", {187, 103, 172, 10}, 0},
    {IDC_CMD_AUTORUN, ControlKind::CheckBox, "Begin processing on startup", {17, 117, 160, 10}, T | G},
    {IDC_CMD_AUTOVIEW, ControlKind::CheckBox, "Launch HTML viewer when done processing",
     {17, 130, 160, 10}, T | G},
    {IDC_CMD_AUTOQUIT, ControlKind::CheckBox, "Quit when done", {17, 143, 160, 10}, T | G},
    {IDC_CMD_OVERWRITE, ControlKind::CheckBox, "Overwrite output without prompting",
     {17, 156, 160, 10}, T | G},
    {IDC_CMD_PERCENT, ControlKind::CheckBox, "Print percent-complete messages",
     {192, 117, 167, 10}, T | G},
    {IDC_CMD_VERBOSE, ControlKind::CheckBox, "Verbose (print all intermediate status messages)",
     {192, 130, 167, 10}, T | G},
    {IDC_CMD_QUIET, ControlKind::CheckBox, "Quiet (suppress file status messages)",
     {192, 143, 167, 10}, T | G},
    {IDC_CMD_PAUSE, ControlKind::CheckBox, "Pause at end", {192, 156, 167, 10}, T | G},
    {IDC_CMD_SAVE, ControlKind::Button, "Save...", {255, 185, 50, 14}, T | G},
    {IDOK, ControlKind::DefaultButton, "Close", {309, 185, 50, 14}, T},
};

// The buttons' places are worked out when the dialog opens.
constexpr gui::ControlTemplate moduleOptionsControls[] = {
    {IDOK, ControlKind::DefaultButton, "OK", {0, 0, 50, 14}, T | G},
    {IDCANCEL, ControlKind::Button, "Cancel", {0, 0, 50, 14}, T},
    {IDC_OPT_RESET, ControlKind::Button, "Reset to Defaults", {0, 0, 70, 14}, T},
};

constexpr gui::ControlTemplate optionPanelControls[] = {
    {IDC_PANEL_LABEL, ControlKind::Label, "", {5, 3, 100, 8}, 0},
    {IDC_PANEL_EDIT, ControlKind::Edit, "", {110, 1, 236, 12}, T | G | H},
    {IDC_PANEL_CHECK, ControlKind::CheckBox, "", {5, 2, 341, 10}, T | G | H},
    {IDC_PANEL_LIST, ControlKind::DropDownList, "", {110, 1, 236, 80}, T | G | H},
    {IDC_PANEL_COLOR, ControlKind::Edit, "", {110, 1, 170, 12}, T | G | H},
    {IDC_PANEL_CHOOSE, ControlKind::Button, "Choose...", {286, 0, 60, 14}, T | H},
};

constexpr gui::ControlTemplate fileExtensionsControls[] = {
    {IDSTATIC, ControlKind::Label,
     "Enter file extensions to process, separated by commas.  The \".\" is optional.",
     {7, 7, 356, 8}, 0},
    {IDC_EXT_TEXT, ControlKind::Edit, "", {7, 20, 356, 12}, T | G},
    {IDOK, ControlKind::DefaultButton, "OK", {259, 42, 50, 14}, T | G},
    {IDCANCEL, ControlKind::Button, "Cancel", {313, 42, 50, 14}, T},
};

constexpr gui::ControlTemplate preprocessorDefinesControls[] = {
    {IDSTATIC, ControlKind::Label, "Enter preprocessor defines, separated by return characters.",
     {7, 7, 198, 8}, 0},
    {IDSTATIC, ControlKind::Label, "On each line, you may enter just a symbol, or a symbol and",
     {7, 15, 198, 8}, 0},
    {IDSTATIC, ControlKind::Label, "value, separated by '='.  The symbol '__cplusplus' is always",
     {7, 23, 198, 8}, 0},
    {IDSTATIC, ControlKind::Label, "defined automatically.", {7, 31, 198, 8}, 0},
    {IDC_DEFINES_TEXT, ControlKind::MultiLineEdit, "", {7, 44, 198, 184}, T | G},
    {IDOK, ControlKind::DefaultButton, "OK", {101, 234, 50, 14}, T | G},
    {IDCANCEL, ControlKind::Button, "Cancel", {155, 234, 50, 14}, T},
};

constexpr gui::ControlTemplate otherOptionsControls[] = {
    {IDSTATIC, ControlKind::Label, "Directory name for detail HTML pages:", {7, 9, 130, 8}, 0},
    {IDC_OTHER_DETAIL_DIR, ControlKind::Edit, "", {140, 7, 236, 12}, T | G},
    {IDC_OTHER_INCLUDE_CONST, ControlKind::CheckBox,
     "Include global \"const\" and \"static const\" variables", {7, 24, 185, 10}, T | G},
    {IDC_OTHER_NAMESPACES_GLOBAL, ControlKind::CheckBox, "Make contents of namespaces global",
     {7, 36, 185, 10}, T | G},
    {IDC_OTHER_INCLUDE_ANONYMOUS, ControlKind::CheckBox, "Include anonymous enums and unions",
     {7, 48, 185, 10}, T | G},
    {IDC_OTHER_DOCUMENT_PREPROCESSOR, ControlKind::CheckBox,
     "Document preprocessor symbols and macros", {196, 24, 180, 10}, T | G},
    {IDC_OTHER_MIX_CPP_CSHARP, ControlKind::CheckBox, "Mix C++ and C#", {196, 36, 180, 10}, T | G},
    {IDC_OTHER_DISABLE_TOOLTIPS, ControlKind::CheckBox, "Disable Vantry tool tips",
     {196, 48, 180, 10}, T | G},

    {IDSTATIC, ControlKind::GroupBox, "Documentation Comments", {7, 62, 369, 92}, 0},
    {IDC_OTHER_USE_BLOCK, ControlKind::CheckBox, "", {14, 75, 12, 10}, T | G},
    {IDSTATIC, ControlKind::Label, "/*", {27, 77, 10, 8}, 0},
    {IDC_OTHER_BLOCK_START, ControlKind::Edit, "", {38, 75, 14, 12}, T | G},
    {IDC_OTHER_BLOCK_MIDDLE, ControlKind::Edit, "", {38, 91, 14, 12}, T | G},
    {IDSTATIC, ControlKind::Label, "*/", {38, 109, 10, 8}, 0},
    {IDC_OTHER_BLOCK_EXAMPLE, ControlKind::MultiLineEdit, "", {60, 75, 124, 74}, R | F},
    {IDC_OTHER_USE_LINE, ControlKind::CheckBox, "", {196, 75, 12, 10}, T | G},
    {IDSTATIC, ControlKind::Label, "//", {209, 77, 10, 8}, 0},
    {IDC_OTHER_LINE_START, ControlKind::Edit, "", {220, 75, 14, 12}, T | G},
    {IDSTATIC, ControlKind::Label, "//", {208, 93, 10, 8}, 0},
    {IDC_OTHER_LINE_MIDDLE, ControlKind::Edit, "", {220, 91, 14, 12}, T | G},
    {IDSTATIC, ControlKind::Label, "//", {208, 109, 10, 8}, 0},
    {IDC_OTHER_LINE_END, ControlKind::Edit, "", {220, 107, 14, 12}, T | G},
    {IDC_OTHER_LINE_EXAMPLE, ControlKind::MultiLineEdit, "", {242, 75, 127, 74}, R | F},

    {IDSTATIC, ControlKind::GroupBox, "Additional Header Text (inside <HEAD>)", {7, 158, 184, 106}, 0},
    {IDC_OTHER_ADDITIONAL_HEADER, ControlKind::MultiLineEdit, "", {14, 170, 170, 88}, T | G},

    {IDSTATIC, ControlKind::GroupBox, "Source Code Links", {196, 158, 180, 50}, 0},
    {IDC_OTHER_SYNTAX_COLORING, ControlKind::CheckBox, "Use syntax coloring in source code links",
     {203, 170, 168, 10}, T | G},
    {IDC_OTHER_COLORS, ControlKind::Button, "Colors and Keywords...", {203, 186, 90, 14}, T | G},
    {IDSTATIC, ControlKind::Label, "Tab Size:", {300, 189, 34, 8}, 0},
    {IDC_OTHER_TAB_SIZE, ControlKind::Edit, "", {336, 187, 30, 12}, T | G},

    {IDSTATIC, ControlKind::GroupBox, "Language Mappings", {196, 210, 180, 54}, 0},
    {IDSTATIC, ControlKind::Label, "C++", {203, 221, 52, 8}, 0},
    {IDC_OTHER_CPP_MAP, ControlKind::MultiLineEdit, "", {203, 230, 52, 28}, T | G},
    {IDSTATIC, ControlKind::Label, "Java", {261, 221, 52, 8}, 0},
    {IDC_OTHER_JAVA_MAP, ControlKind::MultiLineEdit, "", {261, 230, 52, 28}, T | G},
    {IDSTATIC, ControlKind::Label, "C#", {319, 221, 50, 8}, 0},
    {IDC_OTHER_CSHARP_MAP, ControlKind::MultiLineEdit, "", {319, 230, 50, 28}, T | G},

    {IDOK, ControlKind::DefaultButton, "OK", {272, 270, 50, 14}, T | G},
    {IDCANCEL, ControlKind::Button, "Cancel", {326, 270, 50, 14}, T},
};

constexpr gui::ControlTemplate syntaxColoringControls[] = {
    {IDSTATIC, ControlKind::Label, "Comment color:", {7, 9, 80, 8}, 0},
    {IDC_SYN_COMMENT, ControlKind::Edit, "", {90, 7, 50, 12}, T | G},
    {IDC_SYN_COMMENT_CHOOSE, ControlKind::Button, "Choose...", {144, 6, 37, 14}, T},
    {IDSTATIC, ControlKind::Label, "Keyword color:", {7, 25, 80, 8}, 0},
    {IDC_SYN_KEYWORD, ControlKind::Edit, "", {90, 23, 50, 12}, T | G},
    {IDC_SYN_KEYWORD_CHOOSE, ControlKind::Button, "Choose...", {144, 22, 37, 14}, T},
    {IDSTATIC, ControlKind::Label, "User keyword color:", {7, 41, 80, 8}, 0},
    {IDC_SYN_USER_KEYWORD, ControlKind::Edit, "", {90, 39, 50, 12}, T | G},
    {IDC_SYN_USER_KEYWORD_CHOOSE, ControlKind::Button, "Choose...", {144, 38, 37, 14}, T},
    {IDSTATIC, ControlKind::Label, "String color:", {7, 57, 80, 8}, 0},
    {IDC_SYN_STRING, ControlKind::Edit, "", {90, 55, 50, 12}, T | G},
    {IDC_SYN_STRING_CHOOSE, ControlKind::Button, "Choose...", {144, 54, 37, 14}, T},
    {IDSTATIC, ControlKind::Label, "Number color:", {7, 73, 80, 8}, 0},
    {IDC_SYN_NUMBER, ControlKind::Edit, "", {90, 71, 50, 12}, T | G},
    {IDC_SYN_NUMBER_CHOOSE, ControlKind::Button, "Choose...", {144, 70, 37, 14}, T},
    {IDSTATIC, ControlKind::Label, "Operator color:", {7, 89, 80, 8}, 0},
    {IDC_SYN_OPERATOR, ControlKind::Edit, "", {90, 87, 50, 12}, T | G},
    {IDC_SYN_OPERATOR_CHOOSE, ControlKind::Button, "Choose...", {144, 86, 37, 14}, T},
    {IDSTATIC, ControlKind::Label, "Parens (etc.) color:", {7, 105, 80, 8}, 0},
    {IDC_SYN_PAREN, ControlKind::Edit, "", {90, 103, 50, 12}, T | G},
    {IDC_SYN_PAREN_CHOOSE, ControlKind::Button, "Choose...", {144, 102, 37, 14}, T},
    {IDSTATIC, ControlKind::Label, "User Keywords", {7, 124, 100, 8}, 0},
    {IDC_SYN_USER_KEYWORDS, ControlKind::MultiLineEdit, "", {7, 134, 174, 100}, T | G},
    {IDOK, ControlKind::DefaultButton, "OK", {77, 241, 50, 14}, T | G},
    {IDCANCEL, ControlKind::Button, "Cancel", {131, 241, 50, 14}, T},
};

}  // namespace

const gui::DialogTemplate commandLineDialogTemplate{IDD_COMMAND_LINE, "Command Line", 366, 206,
                                                    commandLineControls};
const gui::DialogTemplate moduleOptionsDialogTemplate{IDD_MODULE_OPTIONS, "Module Options", 361,
                                                      60, moduleOptionsControls};
const gui::DialogTemplate optionPanelTemplate{IDD_OPTION_PANEL, "", 351, 15, optionPanelControls};
const gui::DialogTemplate fileExtensionsDialogTemplate{IDD_FILE_EXTENSIONS, "File Extensions", 370,
                                                       63, fileExtensionsControls};
const gui::DialogTemplate preprocessorDefinesDialogTemplate{
    IDD_PREPROCESSOR_DEFINES, "Preprocessor Defines", 212, 255, preprocessorDefinesControls};
const gui::DialogTemplate otherOptionsDialogTemplate{IDD_OTHER_OPTIONS, "Other Options", 383, 289,
                                                     otherOptionsControls};
const gui::DialogTemplate syntaxColoringDialogTemplate{IDD_SYNTAX_COLORING, "Syntax Coloring", 188,
                                                       262, syntaxColoringControls};

}  // namespace ui
