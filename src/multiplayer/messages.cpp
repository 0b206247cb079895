#include "multiplayer/messages.h"

#include "platform/play/message.h"

namespace {

// The wire size of a whole state message: the type and 22 fields.
constexpr size_t kLongBytes = 4;
constexpr size_t kDoubleBytes = 8;
constexpr size_t kStateMessageBytes = kLongBytes + 10 * kDoubleBytes + 12 * kLongBytes;

void WriteDoubles(play::DirectPlayMessage& message, const std::array<double, 3>& values) {
    for (const double value : values) message.WriteDouble(value);
}

void ReadDoubles(play::DirectPlayMessage& message, std::array<double, 3>& values) {
    for (double& value : values) value = message.ReadDouble();
}

}  // namespace

void WriteStateMessage(play::DirectPlayMessage& message, const StateMessage& state) {
    message.WriteLong(MSG_STATE);
    WriteDoubles(message, state.position);
    WriteDoubles(message, state.facing);
    message.WriteDouble(state.pivot);
    for (const int32_t value : {state.colonne, state.Anipos, state.AniBuste, state.weapon, state.fps, state.fps2,
                                state.traversal, state.idson, state.idson2, state.idson3})
        message.WriteLong(value);
    WriteDoubles(message, state.blood);
    message.WriteLong(state.bloodStep);
    message.WriteLong(state.flashStep);
}

bool ReadStateMessage(play::DirectPlayMessage& message, StateMessage& state) {
    StateMessage read;
    const bool whole = ReadFields([&] {
        ReadDoubles(message, read.position);
        ReadDoubles(message, read.facing);
        read.pivot = message.ReadDouble();
        for (int32_t* value : {&read.colonne, &read.Anipos, &read.AniBuste, &read.weapon, &read.fps, &read.fps2,
                               &read.traversal, &read.idson, &read.idson2, &read.idson3})
            *value = message.ReadLong();
        ReadDoubles(message, read.blood);
        read.bloodStep = message.ReadLong();
        read.flashStep = message.ReadLong();
    });
    if (!whole || message.Bytes().size() != kStateMessageBytes) return false;
    state = read;
    return true;
}
