#include "ui/VantryDialogTemplate.h"

namespace ui {

namespace {

using gui::ControlKind;
using gui::IDSTATIC;
constexpr unsigned G = gui::StyleGroup;
constexpr unsigned T = gui::StyleTabStop;

// In tab order. The first radio of each Default/None/Custom row carries the
// group style, so each row is a radio group of its own.
constexpr gui::ControlTemplate controls[] = {
    {IDC_CUSTOMIZATION_GROUP, ControlKind::GroupBox, "Output Customization", {7, 7, 363, 178}, 0},
    {IDSTATIC, ControlKind::Label, "Title:", {14, 20, 50, 8}, 0},
    {IDC_TITLE, ControlKind::Edit, "", {70, 18, 120, 12}, T | G},
    {IDSTATIC, ControlKind::Label, "Company name:", {196, 20, 50, 8}, 0},
    {IDC_COMPANY, ControlKind::Edit, "", {248, 18, 115, 12}, T | G},

    {IDC_HEADER_LABEL, ControlKind::Label, "HTML header:", {14, 38, 80, 8}, 0},
    {IDC_HEADER_DEFAULT, ControlKind::Radio, "Default", {100, 37, 40, 10}, T | G},
    {IDC_HEADER_NONE, ControlKind::Radio, "None", {142, 37, 32, 10}, 0},
    {IDC_HEADER_CUSTOM, ControlKind::Radio, "Custom:", {176, 37, 38, 10}, 0},
    {IDC_HEADER_TEXT, ControlKind::Edit, "", {216, 36, 100, 12}, T | G},
    {IDC_HEADER_BROWSE, ControlKind::Button, "Browse...", {320, 35, 43, 14}, T},

    {IDC_ITEM_LABEL, ControlKind::Label, "Item HTML (index frame):", {14, 56, 84, 8}, 0},
    {IDC_ITEM_DEFAULT, ControlKind::Radio, "Default", {100, 55, 40, 10}, T | G},
    {IDC_ITEM_NONE, ControlKind::Radio, "None", {142, 55, 32, 10}, 0},
    {IDC_ITEM_CUSTOM, ControlKind::Radio, "Custom:", {176, 55, 38, 10}, 0},
    {IDC_ITEM_TEXT, ControlKind::Edit, "", {216, 54, 100, 12}, T | G},
    {IDC_ITEM_BROWSE, ControlKind::Button, "Browse...", {320, 53, 43, 14}, T},

    {IDC_FOOTER_LABEL, ControlKind::Label, "HTML footer:", {14, 74, 80, 8}, 0},
    {IDC_FOOTER_DEFAULT, ControlKind::Radio, "Default", {100, 73, 40, 10}, T | G},
    {IDC_FOOTER_NONE, ControlKind::Radio, "None", {142, 73, 32, 10}, 0},
    {IDC_FOOTER_CUSTOM, ControlKind::Radio, "Custom:", {176, 73, 38, 10}, 0},
    {IDC_FOOTER_TEXT, ControlKind::Edit, "", {216, 72, 100, 12}, T | G},
    {IDC_FOOTER_BROWSE, ControlKind::Button, "Browse...", {320, 71, 43, 14}, T},

    {IDC_SOURCE_LABEL, ControlKind::Label, "Source code links:", {14, 92, 80, 8}, 0},
    {IDC_SOURCE_DEFAULT, ControlKind::Radio, "Default", {100, 91, 40, 10}, T | G},
    {IDC_SOURCE_NONE, ControlKind::Radio, "None", {142, 91, 32, 10}, 0},
    {IDC_SOURCE_CUSTOM, ControlKind::Radio, "Custom", {176, 91, 38, 10}, 0},
    {IDC_SOURCE_TEXT, ControlKind::Edit, "", {216, 90, 100, 12}, T | G},
    {IDC_SOURCE_BROWSE, ControlKind::Button, "Browse...", {320, 89, 43, 14}, T},

    {IDC_HIERARCHICAL, ControlKind::CheckBox, "In index frame, print class list hierarchically",
     {14, 110, 200, 10}, T | G},
    {IDC_INSERT_BR, ControlKind::CheckBox, "Append <BR> to each documentation line",
     {14, 124, 200, 10}, T | G},

    {IDC_INPUT_GROUP, ControlKind::GroupBox, "Input", {7, 190, 180, 70}, 0},
    {IDC_PROJECT_LIST, ControlKind::MultiLineEdit, "", {14, 202, 120, 52}, T | G},
    {IDC_ADD_DIRECTORY, ControlKind::Button, "Add Directory...", {138, 202, 45, 14}, T},
    {IDC_ADD_FILES, ControlKind::Button, "Add Files...", {138, 220, 45, 14}, T},

    {IDC_OUTPUT_GROUP, ControlKind::GroupBox, "Output", {190, 190, 180, 36}, 0},
    {IDC_OUTPUT_LABEL, ControlKind::Label, "Main HTML page:", {196, 202, 60, 8}, 0},
    {IDC_OUTPUT_FILE, ControlKind::Edit, "", {196, 210, 100, 12}, T | G},
    {IDC_OUTPUT_BROWSE, ControlKind::Button, "Browse...", {298, 209, 36, 14}, T},
    {IDC_VIEW, ControlKind::Button, "View", {336, 209, 30, 14}, T},

    {IDC_OPTIONS_GROUP, ControlKind::GroupBox, "Options", {190, 228, 180, 32}, 0},
    {IDC_MODULE_LABEL, ControlKind::Label, "Module:", {196, 240, 30, 8}, 0},
    {IDC_MODULE_LIST, ControlKind::DropDownList, "", {226, 238, 80, 60}, T | G | gui::StyleSorted},
    {IDC_MODULE_OPTIONS, ControlKind::Button, "Module Options...", {310, 237, 56, 14}, T},
    {IDC_FILE_EXTENSIONS, ControlKind::Button, "File Extensions...", {14, 264, 70, 14}, T},
    {IDC_PREPROCESSOR_DEFS, ControlKind::Button, "Preprocessor Defs...", {88, 264, 70, 14}, T},
    {IDC_OTHER, ControlKind::Button, "Other...", {162, 264, 50, 14}, T},
    {IDC_ADVANCED, ControlKind::Button, "<<", {216, 264, 50, 14}, T},

    {IDC_PROCESSING_LABEL, ControlKind::Label, "Processing:", {14, 284, 40, 8}, 0},
    {IDC_STATUS_LINE1, ControlKind::ReadOnlyEdit, "", {56, 282, 314, 12}, 0},
    {IDC_PROGRESS_LABEL, ControlKind::Label, "Progress:", {14, 298, 40, 8}, 0},
    {IDC_STATUS_LINE2, ControlKind::ReadOnlyEdit, "", {56, 296, 314, 12}, 0},
    {IDC_PROGRESS, ControlKind::ProgressBar, "", {14, 310, 356, 8}, 0},

    {IDC_RUN, ControlKind::DefaultButton, "Go", {14, 320, 50, 14}, T | G},
    {gui::IDOK, ControlKind::Button, "Close", {68, 320, 50, 14}, T},
    {gui::IDHELP, ControlKind::Button, "&Help", {122, 320, 50, 14}, T},
    {IDC_FEEDBACK, ControlKind::Button, "Feedback...", {176, 320, 50, 14}, T},
    {IDC_UPDATE, ControlKind::Button, "Update...", {230, 320, 50, 14}, T},
    {IDC_WEB_LINK, ControlKind::Link, "https://vantry.velkdask.example/", {286, 323, 84, 8}, 0},
};

}  // namespace

const gui::DialogTemplate vantryDialogTemplate{IDD_VANTRY_DIALOG, "Vantry", 377, 337, controls};

const char* const productWebAddress = "https://vantry.velkdask.example/";

}  // namespace ui
