#pragma once

// One application message: fields written back to back and read back in the
// same order, with no tags or separators of its own. Encoding of the fields
// (also what travels on the wire):
//   Long    4 bytes, two's complement, little-endian
//   Double  8 bytes, IEEE 754 binary64, little-endian
//   Byte    1 byte
//   String  2-byte little-endian byte count, then that many bytes (UTF-8),
//           no terminator; at most MaxStringLength bytes
// A whole message holds at most MaxMessageSize bytes; a write beyond it fails
// and leaves the message as it was. A read past the end, or of a string whose
// count exceeds what is left, fails and leaves the read position unchanged.

#include <cstdint>
#include <string>
#include <vector>

namespace play {

class DirectPlayMessage {
public:
    DirectPlayMessage() = default;
    // A received message, read from its first field.
    explicit DirectPlayMessage(std::vector<uint8_t> bytes);

    void WriteLong(int32_t value);
    void WriteDouble(double value);
    void WriteByte(uint8_t value);
    void WriteString(const std::string& value);

    int32_t ReadLong();
    double ReadDouble();
    uint8_t ReadByte();
    std::string ReadString();

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    template <class Write>
    void Append(size_t size, Write&& write);
    template <class Read>
    auto Take(Read&& read);

    std::vector<uint8_t> bytes_;
    size_t readPosition_ = 0;
};

}  // namespace play
