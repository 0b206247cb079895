#pragma once

#include "platform/failure.h"

#include <cstdint>

// The number of the Failure that `call` throws, 0 when it throws none.
template <class Call>
int32_t FailureNumberOf(Call&& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return failure.Number();
    }
    return 0;
}
