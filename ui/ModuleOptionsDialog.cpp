#include "ui/ModuleOptionsDialog.h"

#include <algorithm>

#include "platform/TerminalText.h"
#include "platform/gui/Backend.h"
#include "run/ColorText.h"
#include "ui/SecondaryDialogTemplates.h"

using namespace ui;

namespace {

constexpr int margin = 10;

}  // namespace

ModuleOptionsDialog::ModuleOptionsDialog(const std::string& moduleName)
    : CDialog(moduleOptionsDialogTemplate), title("Module Options (" + moduleName + ")") {}

ModuleOptionsDialog::~ModuleOptionsDialog() = default;

void ModuleOptionsDialog::addOption(const std::string& label, OptionKind kind,
                                    const std::string& defaultValue,
                                    const std::string& currentValue) {
    int y = margin;
    for (const auto& panel : panels) y += panel->height();
    panels.push_back(std::make_unique<ModuleOptionsPanel>(label, kind, defaultValue, currentValue));
    panels.back()->create(*this, static_cast<int>(panels.size() - 1), y);
}

bool ModuleOptionsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(title);
    gui::Rect window = GetWindowRect();

    int y = margin;
    int widestLabel = 0;
    for (const auto& panel : panels) {
        widestLabel = std::max(widestLabel, panel->labelWidth());
        y += panel->height();
    }
    for (auto& panel : panels) {
        panel->alignValue(widestLabel);
        window.width = std::max(window.width, panel->width() + margin);
    }

    const int buttons[] = {gui::IDOK, gui::IDCANCEL, IDC_OPT_RESET};
    int total = 0;
    int tallest = 0;
    for (int id : buttons) {
        total += GetControlRect(id).width;
        tallest = std::max(tallest, GetControlRect(id).height);
    }
    int x = (window.width - total - 2 * margin) / 2;
    for (int id : buttons) {
        gui::Rect rect = GetControlRect(id);
        MoveControl(id, gui::Rect{x, y + margin, rect.width, rect.height});
        x += rect.width + margin;
    }
    window.height = y + margin + tallest + margin;
    SetWindowRect(window);
    return true;
}

void ModuleOptionsDialog::DoDataExchange(gui::CDataExchange&) {}

void ModuleOptionsDialog::OnOK() {
    // A colour lands in an attribute of the pages: only colour texts pass.
    for (const auto& panel : panels) {
        if (panel->getKind() != ColorOption || isColorText(panel->value())) continue;
        GotoDlgCtrl(panel->controlId(IDC_PANEL_COLOR));
        gui::messageBox(terminalText(panel->getLabel()) + " \"" + terminalText(panel->value()) + "\" must be " + colorRule() + ".", "Vantry", gui::Buttons::Ok,
                        gui::Icon::Error);
        return;
    }
    values.clear();
    for (const auto& panel : panels) values.push_back(panel->value());
    CDialog::OnOK();
}

void ModuleOptionsDialog::resetToDefaults() {
    for (auto& panel : panels) panel->resetToDefault();
}

bool ModuleOptionsDialog::OnCommand(int id, unsigned notification) {
    if (notification == gui::BN_CLICKED) {
        if (id == IDC_OPT_RESET) {
            resetToDefaults();
            return true;
        }
        for (auto& panel : panels) {
            if (panel->ownsControl(id) && id == panel->controlId(IDC_PANEL_CHOOSE)) {
                panel->onChooseColor();
                return true;
            }
        }
    }
    return CDialog::OnCommand(id, notification);
}
