#include "platform/gui/Backend.h"

#include <atomic>

#include "platform/gui/HeadlessBackend.h"

namespace gui {

namespace {
std::atomic<Backend*> replacementBackend{nullptr};
}

Backend::~Backend() = default;

void Backend::controlChanged(CDialog&, int) {}

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

}  // namespace gui
