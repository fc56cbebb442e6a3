// Static texts that behave as links: blue until opened once, purple after,
// opened with the desktop shell when clicked.
#pragma once

#include <string>

#include "platform/gui/Dialog.h"

namespace gui {

class CLinkText : public CControlWrapper {
public:
    static constexpr int linkColor = 0x0000FF;     // blue
    static constexpr int visitedColor = 0x800080;  // purple

    // underline: whether the text is drawn underlined (no link of this
    // program is).
    explicit CLinkText(bool underline = false);

    // Colours the control as a link.
    void OnAttached(CDialog& dialog, int id) override;
    // A click opens the link (OnClicked); other notifications pass on.
    bool OnReflectedCommand(unsigned notification) override;

    // Shows the wait cursor and opens url (the control's own text when url
    // is empty, which then becomes url) with the shell. When the shell
    // cannot open it, beeps and stays unvisited; otherwise turns purple.
    void OnClicked();

    std::string url;
    bool visited = false;
    const bool underline;

private:
    CDialog* dialog = nullptr;
    int id = 0;
};

// The link to the product's web site (static 1055 of the dialogs). The site
// is a setting of the program, so the owner gives the address: url, and the
// control's text that names the site.
class VantryLinkText : public CLinkText {
public:
    VantryLinkText();
};

}  // namespace gui
