#include "platform/play/message.h"

#include "platform/failure.h"
#include "platform/play/byte_io.h"
#include "platform/play/errors.h"
#include "platform/play/limits.h"

namespace play {

DirectPlayMessage::DirectPlayMessage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

template <class Write>
void DirectPlayMessage::Append(size_t size, Write&& write) {
    if (bytes_.size() + size > MaxMessageSize) throw Failure(error::TooLong, "message longer than allowed");
    ByteWriter writer(bytes_);
    write(writer);
}

template <class Read>
auto DirectPlayMessage::Take(Read&& read) {
    ByteReader reader(bytes_.data() + readPosition_, bytes_.size() - readPosition_);
    auto value = read(reader);
    readPosition_ = bytes_.size() - reader.Left();
    return value;
}

void DirectPlayMessage::WriteLong(int32_t value) {
    Append(4, [&](ByteWriter& w) { w.I32(value); });
}
void DirectPlayMessage::WriteDouble(double value) {
    Append(8, [&](ByteWriter& w) { w.F64(value); });
}
void DirectPlayMessage::WriteByte(uint8_t value) {
    Append(1, [&](ByteWriter& w) { w.U8(value); });
}
void DirectPlayMessage::WriteString(const std::string& value) {
    if (value.size() > MaxStringLength) throw Failure(error::TooLong, "string longer than allowed");
    Append(2 + value.size(), [&](ByteWriter& w) { w.Text(value); });
}

int32_t DirectPlayMessage::ReadLong() {
    return Take([](ByteReader& r) { return r.I32(); });
}
double DirectPlayMessage::ReadDouble() {
    return Take([](ByteReader& r) { return r.F64(); });
}
uint8_t DirectPlayMessage::ReadByte() {
    return Take([](ByteReader& r) { return r.U8(); });
}
std::string DirectPlayMessage::ReadString() {
    return Take([](ByteReader& r) { return r.Text(MaxStringLength); });
}

}  // namespace play
