// The folder chooser as the dialogs call it.
#pragma once

#include <string>

namespace gui {

class CDialog;

// Shows the folder chooser over owner (may be null) with title, starting
// at initialFolder when it exists; only file-system folders can be chosen.
// Returns true with the chosen folder's path in result; false, result
// unchanged, when the user cancelled.
bool browseForFolder(CDialog* owner, std::string& result, const std::string& initialFolder,
                     const std::string& title);

}  // namespace gui
