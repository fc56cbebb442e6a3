// Dialog templates as data: a dialog's caption and size and, per control,
// its id, kind, text, rectangle and styles. A backend builds real windows
// from them; the headless backend keeps the controls' state in memory.
#pragma once

#include <span>

namespace gui {

// Rectangles are in dialog units (a quarter of the average character width
// across, an eighth of the character height down); a backend scales them.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

enum class ControlKind {
    Label,          // static text
    GroupBox,
    Link,           // static text that opens an address when clicked
    Edit,           // one line
    MultiLineEdit,  // several lines, Enter gives a line break
    ReadOnlyEdit,
    Button,
    DefaultButton,  // the button that Enter presses
    CheckBox,
    Radio,          // ticked alone in its group when clicked
    DropDownList,   // a closed list to choose one entry from
    ProgressBar,    // range 0 to 100 unless set otherwise
    Icon,           // the program's icon
};

// Style bits of a control.
enum ControlStyle : unsigned {
    StyleNone = 0,
    StyleGroup = 1u << 0,     // begins a group (of radios, for tab order)
    StyleSorted = 1u << 1,    // a list that keeps its entries sorted
    StyleDisabled = 1u << 2,  // starts disabled
    StyleHidden = 1u << 3,    // starts hidden
    StyleTabStop = 1u << 4,
    StyleReadOnly = 1u << 5,    // an edit the user cannot change
    StyleScrollBars = 1u << 6,  // a multi-line edit with both scroll bars, lines unwrapped
    StyleWordWrap = 1u << 7,    // a label whose text wraps onto further lines
    StyleFixedFont = 1u << 8,   // an edit in a fixed-pitch font (examples of code)
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    Rect rect;
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int width;
    int height;
    std::span<const ControlTemplate> controls;
};

// Command ids of the standard buttons and answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDHELP = 9;
// Controls that have no id of their own (plain labels).
constexpr int IDSTATIC = -1;

}  // namespace gui
