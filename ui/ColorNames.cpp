#include "ui/ColorNames.h"

#include "platform/gui/Backend.h"
#include "platform/gui/Dialog.h"

namespace ui {

bool chooseColor(std::string& text, gui::CDialog& dialog, int editId) {
    unsigned rgb = colorOfText(text);
    if (!gui::backend().chooseColor(&dialog, rgb)) return false;
    text = textOfColor(rgb);
    dialog.SetDlgItemText(editId, text);
    return true;
}

}  // namespace ui
