#pragma once

// Little-endian field writer and bounds-checked reader shared by the message
// object and the datagram codec. Every read checks what is left first, so a
// truncated or lying input fails cleanly instead of reading beyond its end.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace play {

class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : out_(out) {}

    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint16_t v) { Unsigned(v, 2); }
    void U32(uint32_t v) { Unsigned(v, 4); }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void U64(uint64_t v) { Unsigned(v, 8); }
    void Zeros(size_t count) { out_.insert(out_.end(), count, 0); }
    void F64(double v) { Unsigned(std::bit_cast<uint64_t>(v), 8); }
    // A 16-bit byte count, then the bytes.
    void Text(std::string_view s) {
        U16(static_cast<uint16_t>(s.size()));
        out_.insert(out_.end(), s.begin(), s.end());
    }
    void Bytes(const uint8_t* data, size_t size) { out_.insert(out_.end(), data, data + size); }

private:
    void Unsigned(uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    std::vector<uint8_t>& out_;
};

// Reads fail by throwing the Failure made by `fail` (the caller decides the
// number and text).
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Left() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ == size_; }

    uint8_t U8() { return static_cast<uint8_t>(Unsigned(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Unsigned(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Unsigned(4)); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint64_t U64() { return Unsigned(8); }
    double F64() { return std::bit_cast<double>(Unsigned(8)); }
    // A text of at most `cap` bytes.
    std::string Text(size_t cap) {
        const size_t length = U16();
        if (length > cap) Fail("string longer than allowed");
        Need(length);
        std::string s(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        return s;
    }
    // `count` bytes that must all be zero.
    void Zeros(size_t count) {
        Need(count);
        for (size_t i = 0; i < count; ++i)
            if (data_[pos_ + i] != 0) Fail("padding that is not zero");
        pos_ += count;
    }
    std::vector<uint8_t> Rest() {
        std::vector<uint8_t> rest(data_ + pos_, data_ + size_);
        pos_ = size_;
        return rest;
    }

    [[noreturn]] static void Fail(const char* why);

private:
    void Need(size_t n) const {
        if (n > Left()) Fail("read past the end of the message");
    }
    uint64_t Unsigned(int bytes) {
        Need(static_cast<size_t>(bytes));
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(data_[pos_ + i]) << (8 * i);
        pos_ += static_cast<size_t>(bytes);
        return v;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace play
