#include "platform/gui/Backend.h"

#include <atomic>

#include "platform/gui/HeadlessBackend.h"

namespace gui {

namespace {
std::atomic<Backend*> replacementBackend{nullptr};
}

Backend::~Backend() = default;

void Backend::createWindow(CDialog&) {}
void Backend::showWindow(CDialog&) {}
void Backend::destroyWindow(CDialog&) {}
void Backend::dialogEnded(CDialog&) {}
void Backend::controlChanged(CDialog&, int) {}
void Backend::focusControl(CDialog&, int) {}

bool Backend::chooseFiles(CDialog*, const FileChooser&, std::vector<std::string>&) {
    return false;
}

bool Backend::chooseFolder(CDialog*, const std::string&, const std::string&, std::string&) {
    return false;
}

bool Backend::chooseColor(CDialog*, unsigned&) { return false; }

void Backend::beep() {}

void Backend::setWaitCursor(bool) {}

int Backend::textWidth(const std::string& text) {
    int characters = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++characters;  // UTF-8 continuation bytes add nothing
    return 4 * characters;
}

Backend& backend() {
    Backend* replacement = replacementBackend.load();
    if (replacement != nullptr) return *replacement;
    static HeadlessBackend standardBackend;
    return standardBackend;
}

Backend* setBackend(Backend* replacement) { return replacementBackend.exchange(replacement); }

Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                  Icon icon) {
    return backend().messageBox(text, caption, buttons, icon);
}

void MessageBeep() { backend().beep(); }

}  // namespace gui
