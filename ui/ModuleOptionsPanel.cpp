#include "ui/ModuleOptionsPanel.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "VelkLib/VelkTokenizer.h"
#include "platform/gui/Backend.h"
#include "platform/gui/Dialog.h"
#include "ui/ColorNames.h"
#include "ui/SecondaryDialogTemplates.h"

using namespace ui;

namespace {

// Ids of the rows' controls: a block of slots per row, one slot per control
// of the row's template, above every id of the dialogs' templates.
constexpr int firstRowId = 20000;
constexpr int slotsPerRow = 8;

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int slotOf(int templateId) {
    const auto& controls = optionPanelTemplate.controls;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].id == templateId) return static_cast<int>(i);
    return -1;
}

const int valueControls[] = {IDC_PANEL_EDIT, IDC_PANEL_CHECK, IDC_PANEL_LIST, IDC_PANEL_COLOR,
                             IDC_PANEL_CHOOSE};

// The label's parts at "/": the label shown, then a combo's items.
std::vector<std::string> labelParts(const std::string& label) {
    std::vector<std::string> parts;
    VelkTokenizer tokens(label, "/");
    while (tokens.hasMoreTokens()) parts.push_back(tokens.nextToken('\0', '\\'));
    if (parts.empty()) parts.push_back("");
    return parts;
}

}  // namespace

OptionKind optionKindOf(const std::string& word) {
    std::string lower = lowerCase(word);
    if (lower == "checkbox") return CheckBoxOption;
    if (lower == "combo") return ComboOption;
    if (lower == "color") return ColorOption;
    return TextOption;
}

ModuleOptionsPanel::ModuleOptionsPanel(std::string labelText, OptionKind optionKind,
                                       std::string defaultText, std::string currentText)
    : label(std::move(labelText)),
      kind(optionKind),
      defaultValue(std::move(defaultText)),
      currentValue(std::move(currentText)) {}

int ModuleOptionsPanel::controlId(int templateId) const {
    return firstRowId + index * slotsPerRow + slotOf(templateId);
}

bool ModuleOptionsPanel::ownsControl(int id) const {
    int first = firstRowId + index * slotsPerRow;
    return index >= 0 && id >= first && id < first + static_cast<int>(optionPanelTemplate.controls.size());
}

void ModuleOptionsPanel::create(gui::CDialog& owner, int rowIndex, int y) {
    dialog = &owner;
    index = rowIndex;
    for (const gui::ControlTemplate& item : optionPanelTemplate.controls) {
        gui::ControlTemplate placed = item;
        placed.id = controlId(item.id);
        placed.rect.y += y;
        owner.addControl(placed);
    }
    showValue(currentValue);
}

void ModuleOptionsPanel::showValue(const std::string& value) {
    for (int id : valueControls) dialog->ShowControl(controlId(id), false);
    int labelId = controlId(IDC_PANEL_LABEL);
    dialog->ShowControl(labelId, kind != CheckBoxOption);
    switch (kind) {
        case TextOption:
            dialog->SetDlgItemText(labelId, label);
            dialog->SetDlgItemText(controlId(IDC_PANEL_EDIT), value);
            dialog->ShowControl(controlId(IDC_PANEL_EDIT), true);
            break;
        case ComboOption: {
            std::vector<std::string> parts = labelParts(label);
            int list = controlId(IDC_PANEL_LIST);
            dialog->SetDlgItemText(labelId, parts[0]);
            // Emptied first, so that a reset does not list the items twice.
            dialog->ResetEntries(list);
            int selection = -1;
            for (std::size_t i = 1; i < parts.size(); ++i) {
                int at = dialog->AddEntry(list, parts[i]);
                if (selection < 0 && parts[i].rfind(value, 0) == 0) selection = at;
            }
            dialog->SetSelection(list, selection);
            dialog->ShowControl(list, true);
            break;
        }
        case CheckBoxOption: {
            int box = controlId(IDC_PANEL_CHECK);
            dialog->SetDlgItemText(box, label);
            dialog->CheckDlgButton(box, lowerCase(value) == "true" ? 1 : 0);
            dialog->ShowControl(box, true);
            break;
        }
        case ColorOption:
            dialog->SetDlgItemText(labelId, label);
            dialog->SetDlgItemText(controlId(IDC_PANEL_COLOR), value);
            dialog->ShowControl(controlId(IDC_PANEL_COLOR), true);
            dialog->ShowControl(controlId(IDC_PANEL_CHOOSE), true);
            break;
    }
}

int ModuleOptionsPanel::labelWidth() const {
    // A colour row shows its label beside the value too, so it is measured
    // like the others; only a check box carries its label itself.
    if (kind == CheckBoxOption) return 0;
    return gui::backend().textWidth(label);
}

int ModuleOptionsPanel::valueControl() const {
    switch (kind) {
        case ComboOption: return IDC_PANEL_LIST;
        case CheckBoxOption: return IDC_PANEL_CHECK;
        case ColorOption: return IDC_PANEL_COLOR;
        default: return IDC_PANEL_EDIT;
    }
}

void ModuleOptionsPanel::alignValue(int width) {
    int labelId = controlId(IDC_PANEL_LABEL);
    gui::Rect labelRect = dialog->GetControlRect(labelId);
    labelRect.width = width;
    dialog->MoveControl(labelId, labelRect);

    int valueId = controlId(valueControl());
    gui::Rect rect = dialog->GetControlRect(valueId);
    int right = rect.x + rect.width;
    int left = labelRect.x + width + 5;
    int shift = std::max(0, left + minimumValueWidth - right);
    int valueWidth = right + shift - left;
    // A check box is only as wide as its box and caption: a click beside
    // the caption would not tick it.
    if (kind == CheckBoxOption)
        valueWidth = std::min(valueWidth, gui::backend().textWidth(label) + checkBoxMargin);
    dialog->MoveControl(valueId, gui::Rect{left, rect.y, valueWidth, rect.height});
    if (kind == ColorOption && shift > 0) {
        int choose = controlId(IDC_PANEL_CHOOSE);
        gui::Rect button = dialog->GetControlRect(choose);
        button.x += shift;
        dialog->MoveControl(choose, button);
    }
}

int ModuleOptionsPanel::width() const {
    int right = 0;
    int margin = optionPanelTemplate.width;
    for (const gui::ControlTemplate& item : optionPanelTemplate.controls)
        margin = std::min(margin, optionPanelTemplate.width - (item.rect.x + item.rect.width));
    for (const gui::ControlTemplate& item : optionPanelTemplate.controls) {
        int id = controlId(item.id);
        if (!dialog->IsControlVisible(id)) continue;
        gui::Rect rect = dialog->GetControlRect(id);
        right = std::max(right, rect.x + rect.width);
    }
    return std::max(optionPanelTemplate.width, right + margin);
}

int ModuleOptionsPanel::height() const { return optionPanelTemplate.height; }

std::string ModuleOptionsPanel::value() const {
    switch (kind) {
        case ComboOption: return dialog->GetDlgItemText(controlId(IDC_PANEL_LIST));
        case CheckBoxOption:
            return dialog->IsDlgButtonChecked(controlId(IDC_PANEL_CHECK)) != 0 ? "true" : "false";
        case ColorOption: return dialog->GetDlgItemText(controlId(IDC_PANEL_COLOR));
        default: return dialog->GetDlgItemText(controlId(IDC_PANEL_EDIT));
    }
}

void ModuleOptionsPanel::onChooseColor() {
    int id = controlId(IDC_PANEL_COLOR);
    std::string text = dialog->GetDlgItemText(id);
    chooseColor(text, *dialog, id);
}
