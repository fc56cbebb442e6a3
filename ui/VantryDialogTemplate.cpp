#include "ui/VantryDialogTemplate.h"

namespace ui {

namespace {

using gui::ControlKind;
using gui::IDSTATIC;
constexpr unsigned G = gui::StyleGroup;
constexpr unsigned T = gui::StyleTabStop;

// In tab order. The first radio of each Default/None/Custom row carries the
// group style, so each row is a radio group of its own. The template holds
// the Advanced layout; the simple one hides the four rows and the two check
// boxes under the title row and moves everything below up by advancedShift.
constexpr gui::ControlTemplate controls[] = {
    {IDC_CUSTOMIZATION_GROUP, ControlKind::GroupBox, "Output Customization", {7, 4, 363, 112}, 0},
    {IDSTATIC, ControlKind::Label, "Title:", {14, 18, 26, 8}, 0},
    {IDC_TITLE, ControlKind::Edit, "", {42, 16, 134, 12}, T | G},
    {IDSTATIC, ControlKind::Label, "Company name:", {184, 18, 58, 8}, 0},
    {IDC_COMPANY, ControlKind::Edit, "", {244, 16, 119, 12}, T | G},

    {IDC_HEADER_LABEL, ControlKind::Label, "HTML header:", {14, 32, 92, 8}, 0},
    {IDC_HEADER_DEFAULT, ControlKind::Radio, "Default", {108, 31, 40, 10}, T | G},
    {IDC_HEADER_NONE, ControlKind::Radio, "None", {150, 31, 32, 10}, 0},
    {IDC_HEADER_CUSTOM, ControlKind::Radio, "Custom:", {184, 31, 42, 10}, 0},
    {IDC_HEADER_TEXT, ControlKind::Edit, "", {228, 30, 91, 12}, T | G},
    {IDC_HEADER_BROWSE, ControlKind::Button, "Browse...", {322, 29, 41, 14}, T},

    {IDC_ITEM_LABEL, ControlKind::Label, "Item HTML (index frame):", {14, 47, 92, 8}, 0},
    {IDC_ITEM_DEFAULT, ControlKind::Radio, "Default", {108, 46, 40, 10}, T | G},
    {IDC_ITEM_NONE, ControlKind::Radio, "None", {150, 46, 32, 10}, 0},
    {IDC_ITEM_CUSTOM, ControlKind::Radio, "Custom:", {184, 46, 42, 10}, 0},
    {IDC_ITEM_TEXT, ControlKind::Edit, "", {228, 45, 91, 12}, T | G},
    {IDC_ITEM_BROWSE, ControlKind::Button, "Browse...", {322, 44, 41, 14}, T},

    {IDC_FOOTER_LABEL, ControlKind::Label, "HTML footer:", {14, 62, 92, 8}, 0},
    {IDC_FOOTER_DEFAULT, ControlKind::Radio, "Default", {108, 61, 40, 10}, T | G},
    {IDC_FOOTER_NONE, ControlKind::Radio, "None", {150, 61, 32, 10}, 0},
    {IDC_FOOTER_CUSTOM, ControlKind::Radio, "Custom:", {184, 61, 42, 10}, 0},
    {IDC_FOOTER_TEXT, ControlKind::Edit, "", {228, 60, 91, 12}, T | G},
    {IDC_FOOTER_BROWSE, ControlKind::Button, "Browse...", {322, 59, 41, 14}, T},

    {IDC_SOURCE_LABEL, ControlKind::Label, "Source code links:", {14, 77, 92, 8}, 0},
    {IDC_SOURCE_DEFAULT, ControlKind::Radio, "Default", {108, 76, 40, 10}, T | G},
    {IDC_SOURCE_NONE, ControlKind::Radio, "None", {150, 76, 32, 10}, 0},
    {IDC_SOURCE_CUSTOM, ControlKind::Radio, "Custom", {184, 76, 42, 10}, 0},
    {IDC_SOURCE_TEXT, ControlKind::Edit, "", {228, 75, 91, 12}, T | G},
    {IDC_SOURCE_BROWSE, ControlKind::Button, "Browse...", {322, 74, 41, 14}, T},

    {IDC_HIERARCHICAL, ControlKind::CheckBox, "In index frame, print class list hierarchically",
     {14, 91, 250, 10}, T | G},
    {IDC_INSERT_BR, ControlKind::CheckBox, "Append <BR> to each documentation line",
     {14, 102, 250, 10}, T | G},

    {IDC_INPUT_GROUP, ControlKind::GroupBox, "Input", {7, 120, 182, 102}, 0},
    {IDC_PROJECT_LIST, ControlKind::MultiLineEdit, "", {14, 133, 104, 82}, T | G},
    {IDC_ADD_DIRECTORY, ControlKind::Button, "Add Directory...", {121, 133, 62, 14}, T},
    {IDC_ADD_FILES, ControlKind::Button, "Add Files...", {121, 151, 62, 14}, T},

    {IDC_OUTPUT_GROUP, ControlKind::GroupBox, "Output", {193, 120, 177, 46}, 0},
    {IDC_OUTPUT_LABEL, ControlKind::Label, "Main HTML page:", {200, 132, 70, 8}, 0},
    {IDC_OUTPUT_FILE, ControlKind::Edit, "", {200, 145, 86, 12}, T | G},
    {IDC_OUTPUT_BROWSE, ControlKind::Button, "Browse...", {289, 144, 41, 14}, T},
    {IDC_VIEW, ControlKind::Button, "View", {333, 144, 31, 14}, T},

    {IDC_OPTIONS_GROUP, ControlKind::GroupBox, "Options", {193, 170, 177, 52}, 0},
    {IDC_MODULE_LABEL, ControlKind::Label, "Module:", {200, 184, 32, 8}, 0},
    {IDC_MODULE_LIST, ControlKind::DropDownList, "", {234, 182, 130, 60}, T | G | gui::StyleSorted},
    {IDC_MODULE_OPTIONS, ControlKind::Button, "Module Options...", {287, 201, 77, 14}, T},
    {IDC_FILE_EXTENSIONS, ControlKind::Button, "File Extensions...", {7, 228, 78, 14}, T},
    {IDC_PREPROCESSOR_DEFS, ControlKind::Button, "Preprocessor Defs...", {89, 228, 88, 14}, T},
    {IDC_OTHER, ControlKind::Button, "Other...", {181, 228, 48, 14}, T},
    {IDC_ADVANCED, ControlKind::Button, "<<", {322, 228, 48, 14}, T},

    {IDC_PROCESSING_LABEL, ControlKind::Label, "Processing:", {7, 252, 48, 8}, 0},
    {IDC_STATUS_LINE1, ControlKind::ReadOnlyEdit, "", {57, 250, 313, 12}, 0},
    {IDC_PROGRESS_LABEL, ControlKind::Label, "Progress:", {7, 268, 48, 8}, 0},
    {IDC_STATUS_LINE2, ControlKind::ReadOnlyEdit, "", {57, 266, 313, 12}, 0},
    {IDC_PROGRESS, ControlKind::ProgressBar, "", {7, 284, 363, 10}, 0},

    {IDC_RUN, ControlKind::DefaultButton, "Go", {7, 308, 46, 14}, T | G},
    {gui::IDOK, ControlKind::Button, "Close", {57, 308, 46, 14}, T},
    {gui::IDHELP, ControlKind::Button, "&Help", {107, 308, 46, 14}, T},
    {IDC_FEEDBACK, ControlKind::Button, "Feedback...", {157, 308, 54, 14}, T},
    {IDC_UPDATE, ControlKind::Button, "Update...", {215, 308, 50, 14}, T},
    {IDC_WEB_LINK, ControlKind::Link, "vantry.example.invalid", {272, 311, 98, 8}, 0},
};

}  // namespace

const gui::DialogTemplate vantryDialogTemplate{IDD_VANTRY_DIALOG, "Vantry", 377, 337, controls};


const int advancedOnlyControls[26] = {
    IDC_HEADER_LABEL, IDC_HEADER_DEFAULT, IDC_HEADER_NONE, IDC_HEADER_CUSTOM, IDC_HEADER_TEXT,
    IDC_HEADER_BROWSE, IDC_ITEM_LABEL, IDC_ITEM_DEFAULT, IDC_ITEM_NONE, IDC_ITEM_CUSTOM,
    IDC_ITEM_TEXT, IDC_ITEM_BROWSE, IDC_FOOTER_LABEL, IDC_FOOTER_DEFAULT, IDC_FOOTER_NONE,
    IDC_FOOTER_CUSTOM, IDC_FOOTER_TEXT, IDC_FOOTER_BROWSE, IDC_SOURCE_LABEL, IDC_SOURCE_DEFAULT,
    IDC_SOURCE_NONE, IDC_SOURCE_CUSTOM, IDC_SOURCE_TEXT, IDC_SOURCE_BROWSE, IDC_INSERT_BR,
    IDC_HIERARCHICAL,
};

const int layoutMovedControls[28] = {
    IDC_INPUT_GROUP, IDC_PROJECT_LIST, IDC_ADD_DIRECTORY, IDC_ADD_FILES, IDC_OUTPUT_GROUP,
    IDC_OUTPUT_FILE, IDC_OUTPUT_LABEL, IDC_OUTPUT_BROWSE, IDC_VIEW, IDC_OPTIONS_GROUP,
    IDC_PREPROCESSOR_DEFS, IDC_FILE_EXTENSIONS, IDC_MODULE_LABEL, IDC_MODULE_LIST,
    IDC_MODULE_OPTIONS, IDC_STATUS_LINE1, IDC_PROCESSING_LABEL, IDC_STATUS_LINE2,
    IDC_PROGRESS_LABEL, IDC_PROGRESS, IDC_RUN, gui::IDOK, gui::IDHELP, IDC_FEEDBACK, IDC_UPDATE,
    IDC_ADVANCED, IDC_OTHER, IDC_WEB_LINK,
};

}  // namespace ui
