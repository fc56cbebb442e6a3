// The templates of the dialogs that the main dialog opens: Command Line,
// Module Options with its option row, File Extensions, Preprocessor
// Defines, Other Options and Syntax Coloring. Their controls, ids and texts
// as data.
#pragma once

#include "platform/gui/DialogTemplate.h"

namespace ui {

enum SecondaryDialogId : int {
    IDD_MODULE_OPTIONS = 135,
    IDD_OPTION_PANEL = 136,
    IDD_PREPROCESSOR_DEFINES = 138,
    IDD_FILE_EXTENSIONS = 139,
    IDD_COMMAND_LINE = 141,
    IDD_OTHER_OPTIONS = 143,
    IDD_SYNTAX_COLORING = 146,
};

// Command Line (141).
enum CommandLineControlId : int {
    IDC_CMD_AUTORUN = 1060,
    IDC_CMD_AUTOQUIT = 1061,
    IDC_CMD_AUTOVIEW = 1062,
    IDC_CMD_OVERWRITE = 1063,
    IDC_CMD_COMMAND = 1064,
    IDC_CMD_PERCENT = 1065,
    IDC_CMD_VERBOSE = 1066,
    IDC_CMD_QUIET = 1067,
    IDC_CMD_PAUSE = 1069,
    IDC_CMD_SAVE = 1046,
    IDC_CMD_STANDARD = 1097,
    IDC_CMD_PURE = 1098,
};

// Module Options (135) and its option row (136).
enum ModuleOptionsControlId : int {
    IDC_OPT_RESET = 1081,
    IDC_PANEL_EDIT = 1034,
    IDC_PANEL_CHECK = 1051,
    IDC_PANEL_LIST = 1052,
    IDC_PANEL_LABEL = 1053,
    IDC_PANEL_COLOR = 1079,
    IDC_PANEL_CHOOSE = 1080,
};

// File Extensions (139) and Preprocessor Defines (138).
enum SmallDialogControlId : int {
    IDC_EXT_TEXT = 1056,
    IDC_DEFINES_TEXT = 1054,
};

// Other Options (143).
enum OtherOptionsControlId : int {
    IDC_OTHER_DETAIL_DIR = 1036,
    IDC_OTHER_INCLUDE_CONST = 1078,
    IDC_OTHER_BLOCK_MIDDLE = 1086,
    IDC_OTHER_BLOCK_START = 1087,
    IDC_OTHER_LINE_START = 1088,
    IDC_OTHER_LINE_MIDDLE = 1089,
    IDC_OTHER_BLOCK_EXAMPLE = 1090,
    IDC_OTHER_LINE_EXAMPLE = 1091,
    IDC_OTHER_USE_BLOCK = 1092,
    IDC_OTHER_LINE_END = 1093,
    IDC_OTHER_USE_LINE = 1094,
    IDC_OTHER_NAMESPACES_GLOBAL = 1095,
    IDC_OTHER_INCLUDE_ANONYMOUS = 1096,
    IDC_OTHER_CPP_MAP = 1099,
    IDC_OTHER_JAVA_MAP = 1100,
    IDC_OTHER_CSHARP_MAP = 1101,
    IDC_OTHER_ADDITIONAL_HEADER = 1102,
    IDC_OTHER_SYNTAX_COLORING = 1103,
    IDC_OTHER_COLORS = 1104,
    IDC_OTHER_TAB_SIZE = 1116,
    IDC_OTHER_MIX_CPP_CSHARP = 1117,
    IDC_OTHER_DISABLE_TOOLTIPS = 1120,
    IDC_OTHER_DOCUMENT_PREPROCESSOR = 1121,
};

// Syntax Coloring (146).
enum SyntaxColoringControlId : int {
    IDC_SYN_COMMENT = 1105,
    IDC_SYN_USER_KEYWORD = 1106,
    IDC_SYN_KEYWORD = 1107,
    IDC_SYN_STRING = 1108,
    IDC_SYN_NUMBER = 1109,
    IDC_SYN_COMMENT_CHOOSE = 1110,
    IDC_SYN_KEYWORD_CHOOSE = 1111,
    IDC_SYN_USER_KEYWORD_CHOOSE = 1112,
    IDC_SYN_STRING_CHOOSE = 1113,
    IDC_SYN_NUMBER_CHOOSE = 1114,
    IDC_SYN_USER_KEYWORDS = 1115,
    IDC_SYN_OPERATOR = 1116,
    IDC_SYN_OPERATOR_CHOOSE = 1117,
    IDC_SYN_PAREN = 1118,
    IDC_SYN_PAREN_CHOOSE = 1119,
};

extern const gui::DialogTemplate commandLineDialogTemplate;
extern const gui::DialogTemplate moduleOptionsDialogTemplate;
// One option row, 351 by 15 units; its controls overlap and the row shows
// those of its option's kind.
extern const gui::DialogTemplate optionPanelTemplate;
extern const gui::DialogTemplate fileExtensionsDialogTemplate;
extern const gui::DialogTemplate preprocessorDefinesDialogTemplate;
extern const gui::DialogTemplate otherOptionsDialogTemplate;
extern const gui::DialogTemplate syntaxColoringDialogTemplate;

}  // namespace ui
