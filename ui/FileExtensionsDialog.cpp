#include "ui/FileExtensionsDialog.h"

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
