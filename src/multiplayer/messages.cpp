#include "multiplayer/messages.h"

#include "core/game_state.h"
#include "core/object_ref.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"
#include "platform/play/message.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The wire size of a whole state message: the type and 22 fields.
constexpr size_t kLongBytes = 4;
constexpr size_t kDoubleBytes = 8;
constexpr size_t kStateMessageBytes = kLongBytes + 10 * kDoubleBytes + 12 * kLongBytes;
constexpr size_t kHitMessageBytes = kLongBytes + 3 * kDoubleBytes + kLongBytes;
constexpr int32_t kNotGuaranteed = 0;

// Values of a state message that this machine can use.
constexpr int32_t kTraversalDead = 1;
constexpr int32_t kTraversalAlive = 3;
constexpr int32_t kBloodSteps = 10;
constexpr int32_t kFlashSteps = 3;

bool IsCoordinate(double value) { return std::isfinite(value) && std::abs(value) <= std::numeric_limits<float>::max(); }

bool AreCoordinates(const std::array<double, 3>& values) {
    return std::all_of(values.begin(), values.end(), IsCoordinate);
}

// As the frame will turn to it, in single precision.
bool HasDirection(const std::array<double, 3>& facing) {
    float length2 = 0;
    for (const double value : facing) length2 += static_cast<float>(value) * static_cast<float>(value);
    return length2 > 0 && std::isfinite(length2);
}

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

bool StateValuesUsable(const StateMessage& state) {
    return AreCoordinates(state.position) && AreCoordinates(state.facing) && AreCoordinates(state.blood) &&
           std::isfinite(state.pivot) && HasDirection(state.facing) &&
           (state.traversal == kTraversalDead || state.traversal == kTraversalAlive) && state.bloodStep >= 0 &&
           state.bloodStep <= kBloodSteps && state.flashStep >= 0 && state.flashStep <= kFlashSteps;
}

std::shared_ptr<play::DirectPlayMessage> NewMessage() { return Ref(DPlay).CreateMessage(); }

void SendUnguaranteed(int32_t to, const std::shared_ptr<play::DirectPlayMessage>& message) {
    Ref(DPlay).Send(IdLocalDP, to, kNotGuaranteed, message);
}

// Written and sent in one statement: a text that could not be written
// leaves nothing to send.
void EnvoiTexte(const std::string& text, int32_t code) {
    skip([&] {
        const auto message = NewMessage();
        WriteTextMessage(*message, code, text);
        SendUnguaranteed(0, message);
    });
}

void WriteTextMessage(play::DirectPlayMessage& message, int32_t code, const std::string& text) {
    message.WriteLong(code);
    message.WriteString(text);
}

void WriteKillMessage(play::DirectPlayMessage& message, bool headHit) {
    message.WriteLong(headHit ? MSG_HEADKILL : MSG_KILL);
}

void WriteHitMessage(play::DirectPlayMessage& message, const HitMessage& hit) {
    message.WriteLong(MSG_HIT);
    WriteDoubles(message, hit.point);
    message.WriteLong(hit.damage);
}

bool ReadHitMessage(play::DirectPlayMessage& message, HitMessage& hit) {
    HitMessage read;
    const bool whole = ReadFields([&] {
        ReadDoubles(message, read.point);
        read.damage = message.ReadLong();
    });
    if (!whole || message.Bytes().size() != kHitMessageBytes) return false;
    hit = read;
    return true;
}

float SingleCoordinate(double value) {
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::quiet_NaN();
    return static_cast<float>(value);
}

std::shared_ptr<play::DirectPlayMessage> BuildStartMessage(StartMessage* roster) {
    play::DirectPlay& dp = Ref(DPlay);
    auto description = dp.CreateSessionData();
    dp.GetSessionDesc(description);
    dp.SetSessionDesc(description);
    const auto players = dp.GetDPEnumPlayers("", 0);
    const int32_t count = players->GetCount();
    if (count > int32_t(StartMessage::kMostPlayers))
        throw Failure(failure_number::SubscriptOutOfRange, "too many players");
    auto message = dp.CreateMessage();
    message->WriteLong(MSG_START);
    message->WriteByte(static_cast<uint8_t>(count));
    for (int32_t i = 1; i <= count; ++i) message->WriteLong(players->GetDPID(i));
    if (roster) {
        roster->count = static_cast<uint8_t>(count);
        for (int32_t i = 1; i <= count; ++i) roster->ids[size_t(i - 1)] = players->GetDPID(i);
    }
    message->WriteLong(IdLocalDP);
    message->WriteString(SessionName);
    message->WriteString(NomMap);
    return message;
}

bool ReadStartMessage(play::DirectPlayMessage& message, StartMessage& start) {
    StartMessage read;
    const bool whole = ReadFields([&] {
        read.count = message.ReadByte();
        if (read.count > StartMessage::kMostPlayers)
            throw Failure(failure_number::SubscriptOutOfRange, "too many players");
        for (size_t i = 0; i < read.count; ++i) read.ids[i] = message.ReadLong();
        read.hostId = message.ReadLong();
        read.sessionName = message.ReadString();
        read.mapName = message.ReadString();
    });
    if (whole) start = std::move(read);
    return whole;
}
