// libFuzzer target over what the session layer reads from the network: the
// link packet and door datagram decoders, and the message reader. The first
// byte picks the reader; a decoder that accepts bytes must give back
// something that encodes to exactly those bytes.

#include "platform/failure.h"
#include "platform/play/message.h"
#include "platform/play/wire.h"

#include <cstdlib>

namespace {

template <class Decoded>
void CheckCanonical(const Decoded& decoded, const uint8_t* data, size_t size) {
    if (!decoded) return;
    const std::vector<uint8_t> again = play::wire::Encode(*decoded);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
}

void ReadMessage(const uint8_t* data, size_t size) {
    // Up to 8 bytes choose the reads, the rest is the message.
    const size_t reads = std::min<size_t>(size, 8);
    play::DirectPlayMessage message(std::vector<uint8_t>(data + reads, data + size));
    for (size_t i = 0; i < reads; ++i) {
        try {
            switch (data[i] % 4) {
                case 0:
                    message.ReadLong();
                    break;
                case 1:
                    message.ReadDouble();
                    break;
                case 2:
                    message.ReadByte();
                    break;
                default:
                    message.ReadString();
                    break;
            }
        } catch (const Failure&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t* rest = data + 1;
    const size_t left = size - 1;
    switch (data[0] % 3) {
        case 0:
            CheckCanonical(play::wire::DecodeLink(rest, left), rest, left);
            break;
        case 1:
            CheckCanonical(play::wire::DecodeDoor(rest, left), rest, left);
            break;
        default:
            ReadMessage(rest, left);
            break;
    }
    return 0;
}
