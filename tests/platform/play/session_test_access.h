#pragma once

// Lets the session tests count what a session holds.

#include "platform/play/session.h"

#include <mutex>

class SessionTestAccess {
public:
    struct Footprint {
        size_t players = 0;
        size_t departed = 0;
        size_t grants = 0;
        size_t pendingGrants = 0;
        size_t admitted = 0;
        size_t queued = 0;  // messages in every local queue
    };
    static Footprint Of(play::Session& s) {
        std::lock_guard lock(s.mutex_);
        Footprint f{s.players_.size(),       s.departed_.size(), s.grants_.size(),
                    s.pendingGrants_.size(), s.admitted_.size(), 0};
        for (const auto& [id, queue] : s.queues_) f.queued += queue.messages.size();
        return f;
    }
};
