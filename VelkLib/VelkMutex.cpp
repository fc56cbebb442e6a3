#include "VelkLib/VelkMutex.h"

#include "VelkLib/VelkError.h"

#include <cerrno>
#include <chrono>
#include <map>
#include <system_error>

namespace {

// Named mutexes of this process, so that two objects opening one name meet
// on one mutex; entries go when the last object using them is gone.
std::mutex namedMutexesLock;
std::map<std::string, std::weak_ptr<std::recursive_timed_mutex>>& namedMutexes() {
    static std::map<std::string, std::weak_ptr<std::recursive_timed_mutex>> table;
    return table;
}

std::shared_ptr<std::recursive_timed_mutex> openMutex(const std::string& name) {
    if (name.empty()) return std::make_shared<std::recursive_timed_mutex>();
    std::lock_guard<std::mutex> lock(namedMutexesLock);
    auto& table = namedMutexes();
    for (auto it = table.begin(); it != table.end();) {
        it = it->second.expired() ? table.erase(it) : std::next(it);
    }
    if (auto existing = table[name].lock()) return existing;
    auto created = std::make_shared<std::recursive_timed_mutex>();
    table[name] = created;
    return created;
}

}  // namespace

VelkMutex::VelkMutex(const std::string& name) { create(name); }

VelkMutex::~VelkMutex() { releaseAllHeldByThisThread(); }

void VelkMutex::releaseAllHeldByThisThread() {
    if (handle && owner.load() == std::this_thread::get_id()) {
        while (depth > 0) {
            --depth;
            handle->unlock();
        }
        owner.store(std::thread::id());
    }
}

void VelkMutex::create(const std::string& name) {
    releaseAllHeldByThisThread();
    handle.reset();
    try {
        handle = openMutex(name);
    } catch (const std::bad_alloc&) {
        throw VelkError("Could not create the mutex.", ENOMEM, "VelkMutex.cpp", __LINE__);
    } catch (const std::system_error& error) {
        throw VelkError("Could not create the mutex.", error.code().value(), "VelkMutex.cpp", __LINE__);
    }
}

bool VelkMutex::wait(uint32_t milliseconds) {
    if (!handle) throw VelkError("Wait for mutex failed.", EINVAL, "VelkMutex.cpp", __LINE__);
    try {
        if (milliseconds == waitForever) {
            handle->lock();
        } else if (!handle->try_lock_for(std::chrono::milliseconds(milliseconds))) {
            return false;
        }
    } catch (const std::system_error& error) {
        throw VelkError("Wait for mutex failed.", error.code().value(), "VelkMutex.cpp", __LINE__);
    }
    owner.store(std::this_thread::get_id());
    ++depth;
    return true;
}

bool VelkMutex::release() {
    if (!handle || owner.load() != std::this_thread::get_id() || depth == 0) return false;
    if (--depth == 0) owner.store(std::thread::id());
    handle->unlock();
    return true;
}

VelkMutexLock::VelkMutexLock(VelkMutex* mutex_) : mutex(mutex_) {
    if (mutex != nullptr) mutex->wait(VelkMutex::waitForever);
}

VelkMutexLock::~VelkMutexLock() {
    if (mutex != nullptr) mutex->release();
}
