#pragma once

// A session of this machine alone on loopback, with its one player made
// (IdLocalDP): what the game sends is really sent, to nobody.

#include "core/game_state.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"
#include "platform/play/lobby.h"

inline void OpenSoloSession() {
    DPlay = play::DirectPlayCreate("");
    DPlay->InitializeConnection(play::DirectPlayLobbyCreate()->CreateINetAddress("127.0.0.1", 0));
    auto data = DPlay->CreateSessionData();
    data->SetGuidApplication(AppGuid);
    data->SetMaxPlayers(8);
    DPlay->Open(data, play::OpenCreate);
    IdLocalDP = DPlay->CreatePlayer("Bench", "001", 0, 0);
}
