#pragma once

#include "platform/failure.h"

#include <memory>

// The failure of an empty object variable, out of the way of the checks:
// they are made many times a frame and stay small enough to inline.
[[noreturn, gnu::cold, gnu::noinline]] inline void ThrowObjectNotSet() {
    throw Failure(failure_number::ObjectNotSet, "Object variable not set");
}

// The object an object variable holds. Using an empty one is the failure
// "Object variable not set" (91), so a skipped statement or the caller's
// handler sees it instead of a crash.
template <class T>
T& Ref(const std::shared_ptr<T>& object) {
    if (!object) [[unlikely]]
        ThrowObjectNotSet();
    return *object;
}
