#include "platform/gui/FolderBrowser.h"

#include "platform/gui/Backend.h"

namespace gui {

bool browseForFolder(CDialog* owner, std::string& result, const std::string& initialFolder,
                     const std::string& title) {
    std::string chosen;
    if (!backend().chooseFolder(owner, title, initialFolder, chosen) || chosen.empty()) return false;
    result = chosen;
    return true;
}

}  // namespace gui
