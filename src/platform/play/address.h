#pragma once

#include <cstdint>
#include <string>

namespace play {

// Where a connection looks for sessions. An empty host means this machine
// hosts, and searches go to this machine and the local network by
// broadcast; a host names the machine to search. Port 0 is the default port
// (network.h).
class DirectPlayAddress {
public:
    DirectPlayAddress(std::string host, uint16_t port) : host_(std::move(host)), port_(port) {}
    const std::string& Host() const { return host_; }
    uint16_t Port() const;

private:
    std::string host_;
    uint16_t port_;
};

}  // namespace play
