#include "core/val_long.h"

#include "core/text.h"
#include "platform/failure.h"

int32_t ValLong(double value) noexcept {
    int32_t result = 0;
    skip([&] { result = CLng(value); });
    return result;
}

int32_t ValLong(std::string_view text) noexcept {
    int32_t result = 0;
    skip([&] { result = CLng(text); });
    return result;
}
