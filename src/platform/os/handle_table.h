#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace os {

// Numbered handles to objects of one kind, handed out the way the platform
// hands out its handles: 0 is never a handle, a number is not given twice in
// one run, and a closed or unknown handle finds nothing. Safe to use from
// several threads.
template <class Object>
class HandleTable {
public:
    uintptr_t Add(std::shared_ptr<Object> object) {
        std::lock_guard lock(mutex_);
        const uintptr_t handle = next_++;
        objects_.emplace(handle, std::move(object));
        return handle;
    }

    std::shared_ptr<Object> Find(uintptr_t handle) const {
        std::lock_guard lock(mutex_);
        const auto found = objects_.find(handle);
        return found == objects_.end() ? nullptr : found->second;
    }

    // The object that the handle stood for, or null when it stood for none.
    std::shared_ptr<Object> Remove(uintptr_t handle) {
        std::lock_guard lock(mutex_);
        const auto found = objects_.find(handle);
        if (found == objects_.end()) return nullptr;
        std::shared_ptr<Object> object = std::move(found->second);
        objects_.erase(found);
        return object;
    }

private:
    mutable std::mutex mutex_;
    uintptr_t next_ = 1;
    std::map<uintptr_t, std::shared_ptr<Object>> objects_;
};

}  // namespace os
