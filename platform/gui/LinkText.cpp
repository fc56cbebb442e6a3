#include "platform/gui/LinkText.h"

#include "platform/Shell.h"
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

VantryLinkText::VantryLinkText() : CLinkText(false) {}

}  // namespace gui
