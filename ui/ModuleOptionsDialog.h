// The Module Options dialog: one row per option that the module describes,
// laid out when the dialog opens (its height follows the number of rows,
// the label column the widest label), "Reset to Defaults", and on OK the
// rows' values in the order the options were added.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Dialog.h"
#include "ui/ModuleOptionsPanel.h"

class ModuleOptionsDialog : public gui::CDialog {
public:
    // The caption is "Module Options (" + moduleName + ")".
    explicit ModuleOptionsDialog(const std::string& moduleName);
    ~ModuleOptionsDialog() override;

    // Appends a row below the others; call before the dialog opens.
    void addOption(const std::string& label, OptionKind kind, const std::string& defaultValue,
                   const std::string& currentValue);

    // With the rows placed from the top (10 units, then one row after
    // another), aligns their value controls after the widest label, widens the
    // dialog to its widest row plus 10 units, and puts OK, Cancel and
    // "Reset to Defaults" centred in a line 10 units below the last row;
    // the dialog ends 10 units below the buttons.
    bool OnInitDialog() override;
    void DoDataExchange(gui::CDataExchange& dx) override;
    // Collects every row's value into values, then closes.
    void OnOK() override;
    bool OnCommand(int id, unsigned notification) override;

    // Shows every row's default value.
    void resetToDefaults();

    const std::vector<std::unique_ptr<ModuleOptionsPanel>>& getPanels() const { return panels; }

    // Filled by OK: one value per option, in the order of addOption.
    std::vector<std::string> values;
    std::string title;

private:
    std::vector<std::unique_ptr<ModuleOptionsPanel>> panels;
};
