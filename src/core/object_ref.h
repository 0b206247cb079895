#pragma once

#include "platform/failure.h"

#include <memory>

// The object an object variable holds. Using an empty one is the failure
// "Object variable not set" (91), so a skipped statement or the caller's
// handler sees it instead of a crash.
template <class T>
T& Ref(const std::shared_ptr<T>& object) {
    if (!object) throw Failure(failure_number::ObjectNotSet, "Object variable not set");
    return *object;
}
