#include "platform/gui/KeyState.h"

namespace gui {

namespace {
KeyStateSource source;
}

bool areKeysHeld(unsigned keys) {
    unsigned held = source ? source() : 0u;
    return (held & keys) == keys;
}

KeyStateSource setKeyStateSource(KeyStateSource replacement) {
    KeyStateSource previous = std::move(source);
    source = std::move(replacement);
    return previous;
}

}  // namespace gui
