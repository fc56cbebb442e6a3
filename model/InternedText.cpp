#include "model/InternedText.h"

#include <mutex>
#include <unordered_set>

const std::string InternedText::kEmpty;

namespace {

// Nearly every member is public, private or protected, and every C++ class
// is one of a few kinds: these are found without taking the lock.
const std::string kCommon[] = {"public", "private", "protected", "const",  "class",
                               "struct", "interface", "namespace", "enum", "union"};

// Split by hash, so that parsing threads seldom wait for one another.
constexpr std::size_t kShards = 32;

struct Shard {
    std::mutex lock;
    std::unordered_set<std::string> texts;
};

// Destroyed with the library that holds it (a module is unloaded after its
// records are gone), so that nothing of it outlives its code.
Shard& shardFor(std::size_t hash) {
    static Shard shards[kShards];
    return shards[(hash >> 4) % kShards];
}

}  // namespace

const std::string& InternedText::intern(std::string_view value) {
    if (value.empty()) return kEmpty;
    for (const std::string& common : kCommon)
        if (common == value) return common;
    // A file's records repeat a few texts over and over (its name, its
    // directory, its namespaces): those are found again without a lock.
    const std::size_t hash = std::hash<std::string_view>{}(value);
    thread_local const std::string* recent[16] = {};
    const std::string*& seen = recent[hash & 15];
    if (seen != nullptr && *seen == value) return *seen;
    Shard& shard = shardFor(hash);
    std::lock_guard<std::mutex> hold(shard.lock);
    seen = &*shard.texts.emplace(value).first;
    return *seen;
}
