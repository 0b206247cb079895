#pragma once

#include <cstdint>
#include <string_view>

// A number or numeric text as an int32, halves to even; 0 for anything that
// does not convert. Never fails.
int32_t ValLong(double value) noexcept;
int32_t ValLong(std::string_view text) noexcept;
