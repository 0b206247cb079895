#pragma once

// HTTP GET of a whole reply into bytes, as the Internet transfer control's
// OpenURL in byte-array mode did it: the call blocks the calling thread until
// the reply is complete, and no event loop runs meanwhile. Unlike the
// original it gives up after the limits below, and an error status is a
// failure rather than a reply.
//
// The URL is sent as given, except that what a request line cannot carry
// (spaces, control characters, bytes beyond ASCII) and "#" are
// percent-encoded, so that a query reaches the server exactly as it was
// typed. Redirects are followed (up to 5), over http and https only.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace net {

// A transfer fails when it takes longer than its time-out, or when it moves
// fewer than `lowSpeedBytes` bytes a second for `lowSpeedTime` on end (a
// server that accepts and then sends nothing, or a byte now and then), so
// that no call blocks for long without progress.
struct TransferLimits {
    std::chrono::milliseconds connectTimeout{10'000};
    std::chrono::milliseconds totalTimeout{300'000};
    size_t maxBytes = 256u << 20;
    long lowSpeedBytes = 512;
    std::chrono::seconds lowSpeedTime{15};
};

// Failure numbers of a transfer.
inline constexpr int32_t TransferFailed = 35750;  // no connection, reply cut short, ...
inline constexpr int32_t TimedOut = 35751;        // also too slow for too long
inline constexpr int32_t ReplyTooLarge = 35752;
inline constexpr int32_t ErrorStatus = 35753;  // a status outside 200-299

// The body of the reply to a GET of `url`; throws Failure with the reason.
std::vector<uint8_t> OpenURL(const std::string& url, const TransferLimits& limits = {});

}  // namespace net
