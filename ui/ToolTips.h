// The tool-tip texts of the program's dialogs: one process-wide table,
// indexed by control id, that every dialog with tool tips answers from.
#pragma once

#include <string>

namespace ui {

// The ids that can have a text: 1 to 1999.
constexpr int toolTipIdLimit = 2000;

// Whether tips are shown at all (the main dialog sets it from its
// "disable tool tips" setting); on at start.
extern bool toolTipsEnabled;
// Whether the table has been filled; it is filled on the first request
// while tips are enabled.
extern bool toolTipsLoaded;

// The answer to a tool tip's text request for the control id: false (no
// tip) while tips are disabled or for an id of 0 or less, or of
// toolTipIdLimit or more; otherwise true with the table's text for the id
// ("" when it has none).
bool onToolTipNeedText(int id, std::string& text);

}  // namespace ui
