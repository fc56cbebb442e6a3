// The colour chooser that the option rows and the Syntax Coloring dialog
// share, over the table of colour names of the run's settings.
//
// The chooser writes names in lower case and values as "#" and six
// upper-case digits.
#pragma once

#include <string>

#include "run/ColorText.h"

namespace gui {
class CDialog;
}

namespace ui {

using ::ColorName;
using ::colorNameOfValue;
using ::colorNames;
using ::colorOfText;
using ::colorValueOfName;
using ::isColorText;
using ::textOfColor;

// Opens the backend's colour chooser on the colour of text; when the user
// picks one, text becomes textOfColor of it and the dialog's edit editId
// shows it. Returns false when the user cancelled (nothing changes).
bool chooseColor(std::string& text, gui::CDialog& dialog, int editId);

}  // namespace ui
