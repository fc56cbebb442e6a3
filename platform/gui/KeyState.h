// Which modifier keys the user holds down at this moment.
#pragma once

#include <functional>

namespace gui {

enum ModifierKey : unsigned {
    KeyShift = 1u << 0,
    KeyControl = 1u << 1,
    KeyAlt = 1u << 2,
};

// True when every key of keys (ModifierKey bits) is held down now. Without a
// source (no display) no key is held.
bool areKeysHeld(unsigned keys);

// Answers the ModifierKey bits held now; a backend with real windows
// installs one, tests install their own. Returns the previous source.
using KeyStateSource = std::function<unsigned()>;
KeyStateSource setKeyStateSource(KeyStateSource source);

}  // namespace gui
