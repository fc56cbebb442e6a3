// One row of the Module Options dialog: the label and the control of one
// option of the module, which is a text box, a list, a check box or a
// colour box with a "Choose..." button.
//
// The row is built from the option row's template; its controls live in
// the dialog that holds it, under ids of the row's own (controlId), placed
// at the row's top.
#pragma once

#include <string>

namespace gui {
class CDialog;
}

enum OptionKind { TextOption = 0, ComboOption = 1, CheckBoxOption = 2, ColorOption = 3 };

// The kind of an option's kind word, compared in lower case: "checkbox",
// "combo", "color"; any other word is a text option.
OptionKind optionKindOf(const std::string& word);

class ModuleOptionsPanel {
public:
    // label: the text shown; for a combo option the label and the list's
    // items separated by "/". The values are kept as given (file names are
    // case-sensitive); only a check box's "true" is matched without regard
    // to letter case.
    ModuleOptionsPanel(std::string label, OptionKind kind, std::string defaultValue,
                       std::string currentValue);

    // Adds the row's controls to the dialog (before the dialog's Create) as
    // row number index with its top at y, and shows the current value. Once
    // only.
    void create(gui::CDialog& dialog, int index, int y);

    // The row's id for a control of the row's template (IDC_PANEL_...).
    int controlId(int templateId) const;
    // True when the id is one of this row's controls.
    bool ownsControl(int id) const;

    // Shows the value in the control of the row's kind and hides the other
    // controls. A combo row refills its list from the label and selects the
    // first item that begins with the value; a check box is ticked when the
    // value is "true" in any letter case.
    void showValue(const std::string& value);
    void resetToDefault() { showValue(defaultValue); }

    // The width of the label text in dialog units (for a combo row the
    // whole label, items included); 0 for a check box, whose label is its
    // caption.
    int labelWidth() const;
    // Makes the label width units wide and moves the value control's left
    // edge to 5 units after it, keeping its right edge while at least
    // minimumValueWidth units remain (beyond that the control, and the
    // "Choose..." button beside a colour box, move right). A check box
    // becomes as wide as its caption and box (checkBoxMargin units).
    void alignValue(int width);
    static constexpr int minimumValueWidth = 40;
    static constexpr int checkBoxMargin = 16;

    // The right edge of the row's rightmost visible control plus the
    // template's margin, in dialog units.
    int width() const;
    int height() const;

    // The row's value: the text box's text, the selected item ("" when none),
    // "true" or "false", or the colour box's text.
    std::string value() const;

    // The "Choose..." button: the colour chooser on the colour box's text.
    void onChooseColor();

    const std::string& getLabel() const { return label; }
    OptionKind getKind() const { return kind; }

private:
    int valueControl() const;

    std::string label;
    OptionKind kind;
    std::string defaultValue;
    std::string currentValue;
    gui::CDialog* dialog = nullptr;
    int index = -1;
};
