#include "model/InternedText.h"

#include <mutex>
#include <unordered_set>

const std::string InternedText::kEmpty;

namespace {

// Nearly every member is public, private or protected, and every C++ class
// is one of a few kinds: these are found without taking the lock.
const std::string kCommon[] = {"public", "private", "protected", "const",  "class",
                               "struct", "interface", "namespace", "enum", "union"};

struct Registry {
    std::mutex lock;
    std::unordered_set<std::string> texts;
};

// Destroyed with the library that holds it (a module is unloaded after its
// records are gone), so that nothing of it outlives its code.
Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

const std::string& InternedText::intern(std::string_view value) {
    if (value.empty()) return kEmpty;
    for (const std::string& common : kCommon)
        if (common == value) return common;
    Registry& shared = registry();
    std::lock_guard<std::mutex> hold(shared.lock);
    return *shared.texts.emplace(value).first;
}
