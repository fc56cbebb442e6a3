// The main dialog's template (id 102): its controls, ids and texts as data.
#pragma once

#include "platform/gui/DialogTemplate.h"

namespace ui {

enum VantryDialogId : int {
    IDD_VANTRY_DIALOG = 102,
    IDR_MAINFRAME = 128,  // the big icon

    IDC_PROGRESS = 1000,
    IDC_HEADER_TEXT = 1003,
    IDC_FOOTER_TEXT = 1004,
    IDC_ITEM_TEXT = 1005,
    IDC_SOURCE_TEXT = 1006,
    IDC_OUTPUT_FILE = 1007,
    IDC_PROJECT_LIST = 1008,
    IDC_STATUS_LINE2 = 1009,
    IDC_RUN = 1010,
    IDC_HIERARCHICAL = 1011,
    IDC_HEADER_BROWSE = 1014,
    IDC_FOOTER_BROWSE = 1015,
    IDC_ITEM_BROWSE = 1016,
    IDC_OUTPUT_BROWSE = 1017,
    IDC_ADD_FILES = 1018,
    IDC_MODULE_OPTIONS = 1019,
    IDC_SOURCE_BROWSE = 1020,
    IDC_TITLE = 1021,
    IDC_STATUS_LINE1 = 1022,
    IDC_HEADER_DEFAULT = 1023,
    IDC_HEADER_NONE = 1024,
    IDC_HEADER_CUSTOM = 1025,
    IDC_SOURCE_NONE = 1026,
    IDC_SOURCE_CUSTOM = 1027,
    IDC_ITEM_DEFAULT = 1028,
    IDC_ITEM_NONE = 1029,
    IDC_ITEM_CUSTOM = 1030,
    IDC_FOOTER_DEFAULT = 1031,
    IDC_FOOTER_NONE = 1032,
    IDC_FOOTER_CUSTOM = 1033,
    IDC_COMPANY = 1034,
    IDC_SOURCE_DEFAULT = 1035,
    IDC_PREPROCESSOR_DEFS = 1037,
    IDC_VIEW = 1038,
    IDC_FEEDBACK = 1039,
    IDC_ADD_DIRECTORY = 1040,
    IDC_INSERT_BR = 1041,
    IDC_FILE_EXTENSIONS = 1042,
    IDC_UPDATE = 1043,
    IDC_ADVANCED = 1044,
    IDC_OTHER = 1045,
    IDC_MODULE_LIST = 1049,
    IDC_WEB_LINK = 1055,
    IDC_INPUT_GROUP = 1065,
    IDC_OPTIONS_GROUP = 1066,
    IDC_MODULE_LABEL = 1068,
    IDC_PROCESSING_LABEL = 1069,
    IDC_PROGRESS_LABEL = 1070,
    IDC_OUTPUT_GROUP = 1071,
    IDC_OUTPUT_LABEL = 1072,
    IDC_CUSTOMIZATION_GROUP = 1073,
    IDC_HEADER_LABEL = 1074,
    IDC_ITEM_LABEL = 1075,
    IDC_FOOTER_LABEL = 1076,
    IDC_SOURCE_LABEL = 1077,

    // The menu command that runs like the Go button.
    ID_RUN_COMMAND = 32771,

    // The window menu's "&Generate Command Line..." (WM_SYSCOMMAND).
    ID_GENERATE_COMMAND_LINE = 0x20,
};

// The template: caption "Vantry", 377 by 337 dialog units, in the
// Advanced layout (the simple one hides part of it).
extern const gui::DialogTemplate vantryDialogTemplate;

// The two layouts: the controls shown only in the Advanced one, the
// controls below them that move, and how far (in dialog units: the 125
// pixels of the 13-pixel line that these sizes were drawn for).
extern const int advancedOnlyControls[26];
extern const int layoutMovedControls[28];
constexpr int advancedShift = 77;

}  // namespace ui
