#include "ui/FileExtensionsDialog.h"

#include "platform/gui/Backend.h"
#include "run/VantryBase.h"
#include "ui/SecondaryDialogTemplates.h"

using namespace ui;

FileExtensionsDialog::FileExtensionsDialog() : CDialog(fileExtensionsDialogTemplate) {}

bool FileExtensionsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    updateOk();
    return true;
}

void FileExtensionsDialog::DoDataExchange(gui::CDataExchange& dx) {
    gui::DDX_Text(dx, IDC_EXT_TEXT, extensions);
}

bool FileExtensionsDialog::OnCommand(int id, unsigned notification) {
    if (id == IDC_EXT_TEXT && notification == gui::EN_CHANGE) {
        updateOk();
        return true;
    }
    return CDialog::OnCommand(id, notification);
}

void FileExtensionsDialog::updateOk() {
    UpdateData(true);
    EnableControl(gui::IDOK, !extensions.empty());
}

void FileExtensionsDialog::OnOK() {
    UpdateData(true);
    std::string refusal = VantryBase::unusableExtensionsText(extensions);
    if (refusal.empty()) {
        CDialog::OnOK();
        return;
    }
    GotoDlgCtrl(IDC_EXT_TEXT);
    gui::messageBox(refusal, "Vantry", gui::Buttons::Ok, gui::Icon::Error);
}
