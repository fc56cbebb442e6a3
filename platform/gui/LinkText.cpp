#include "platform/gui/LinkText.h"

#include "platform/ProductSite.h"
#include "platform/ProgramPath.h"
#include "platform/Shell.h"
#include "platform/VersionRecord.h"
#include "platform/gui/Backend.h"
#include "platform/gui/WaitCursor.h"

namespace gui {

CLinkText::CLinkText(bool underlined) : underline(underlined) {}

void CLinkText::OnAttached(CDialog& owner, int controlId) {
    dialog = &owner;
    id = controlId;
    dialog->SetTextColor(id, visited ? visitedColor : linkColor);
}

bool CLinkText::OnReflectedCommand(unsigned notification) {
    if (notification != BN_CLICKED) return false;
    OnClicked();
    return true;
}

void CLinkText::OnClicked() {
    CWaitCursor wait;
    if (url.empty() && dialog != nullptr) url = dialog->GetDlgItemText(id);
    if (!platform::shell().open(url, nullptr)) {
        MessageBeep();
        return;
    }
    visited = true;
    if (dialog != nullptr) dialog->SetTextColor(id, visitedColor);
}

std::string productPageAddress(const std::string& dottedVersion) {
    return std::string(platform::productSiteAddress) + "/vantry?" + dottedVersion;
}

VantryLinkText::VantryLinkText() : CLinkText(false) {
    platform::FileVersion version;
    platform::readVersionRecord(platform::programPath(), &version);
    url = productPageAddress(std::to_string(version.major) + "." + std::to_string(version.minor) +
                             "." + std::to_string(version.build) + "." +
                             std::to_string(version.revision));
}

}  // namespace gui
