#pragma once

#include <string>
#include <string_view>

// `text` with the first `search` character replaced by `replacement`.
std::string RemplaceCar(std::string_view text, std::string_view search, std::string_view replacement);

// `text` with occurrences of `search` replaced, scanning positions 1 to the
// length of the text passed in and moving on by one position after each test,
// matched or not. Callers rely on those exact scan rules.
std::string Remplace(std::string_view text, std::string_view search, std::string_view replacement);
