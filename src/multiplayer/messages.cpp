#include "multiplayer/messages.h"

#include "core/game_state.h"
#include "core/object_ref.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"

void EnvoiTexte(const std::string& text, int32_t code) {
    std::shared_ptr<play::DirectPlayMessage> message;
    skip([&] { message = Ref(DPlay).CreateMessage(); });
    skip([&] { Ref(message).WriteLong(code); });
    skip([&] { Ref(message).WriteString(text); });
    skip([&] { Ref(DPlay).Send(IdLocalDP, 0, 0, message); });
}

std::shared_ptr<play::DirectPlayMessage> BuildStartMessage() {
    play::DirectPlay& dp = Ref(DPlay);
    auto description = dp.CreateSessionData();
    dp.GetSessionDesc(description);
    dp.SetSessionDesc(description);
    const auto players = dp.GetDPEnumPlayers("", 0);
    auto message = dp.CreateMessage();
    message->WriteLong(MSG_START);
    message->WriteByte(static_cast<uint8_t>(players->GetCount()));
    for (int32_t i = 1; i <= players->GetCount(); ++i) message->WriteLong(players->GetDPID(i));
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
