#pragma once

#include <cstdint>
#include <string>

namespace os {

// The name the user logged in with. `*size` is the buffer's size in
// characters (no more than buffer.size() are used). On success the name and
// a NUL are written and `*size` becomes the number written, NUL included.
// When the buffer is too small, or the name cannot be learnt, the result is
// false; for a small buffer `*size` becomes the size needed.
bool GetUserNameA(std::string& buffer, uint32_t* size);

}  // namespace os
