#pragma once

// Free loopback ports for tests and benchmarks (header only, so that the
// benchmarks use it without the test support library).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

// A UDP port that the system just handed out and took back.
inline uint16_t FreeUdpPort() {
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

// Points the session layer of this process (QUELLMAR_PLAY_PORT) at a free
// UDP port, and returns it.
inline uint16_t UseFreePlayPort() {
    const uint16_t port = FreeUdpPort();
    setenv("QUELLMAR_PLAY_PORT", std::to_string(port).c_str(), 1);
    return port;
}
