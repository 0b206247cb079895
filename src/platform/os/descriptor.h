#pragma once

// A file descriptor of the system, closed when the object goes out of scope.

#include <unistd.h>

namespace os {

struct Descriptor {
    explicit Descriptor(int descriptor = -1) : fd(descriptor) {}
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd;  // -1: none
};

}  // namespace os
