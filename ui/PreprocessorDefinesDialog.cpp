#include "ui/PreprocessorDefinesDialog.h"

#include "ui/SecondaryDialogTemplates.h"

using namespace ui;

PreprocessorDefinesDialog::PreprocessorDefinesDialog(const PreprocessorDefines& callers)
    : CDialog(preprocessorDefinesDialogTemplate), defines(callers), definesText(callers.toText()) {}

void PreprocessorDefinesDialog::DoDataExchange(gui::CDataExchange& dx) {
    gui::DDX_Text(dx, IDC_DEFINES_TEXT, definesText);
}

void PreprocessorDefinesDialog::OnOK() {
    UpdateData(true);
    defines = PreprocessorDefines(definesText);
    EndDialog(gui::IDOK);
}
