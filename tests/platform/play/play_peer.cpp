// A machine of a session in a process of its own, for the tests that run
// machines as separate processes. `play_peer host NAME` creates a session,
// `play_peer join NAME` joins the one on 127.0.0.1 (port from
// QUELLMAR_PLAY_PORT). It prints "ready ID" once its player exists, answers
// every application message with one of the same first Long to its sender,
// guaranteed, and leaves the session when its standard input closes.

#include "platform/failure.h"
#include "platform/play/direct_play.h"
#include "platform/play/lobby.h"

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string role = argv[1];
    const std::string name = argv[2];
    try {
        auto dp = play::DirectPlayCreate("");
        dp->InitializeConnection(play::DirectPlayLobbyCreate()->CreateINetAddress("127.0.0.1", 0));
        auto data = dp->CreateSessionData();
        data->SetGuidApplication("{AC330441-9B71-11D2-9AAB-0020781461AC}");
        if (role == "host") {
            data->SetSessionName("Peer (COULOIRS)");
            data->SetMaxPlayers(4);
            data->SetFlags(4);
            dp->Open(data, play::OpenCreate);
        } else {
            auto sessions = dp->GetDPEnumSessions(data, 0, play::EnumSessionsAvailable);
            dp->Open(sessions->GetItem(1), play::OpenJoin);
        }
        const int32_t id = dp->CreatePlayer(name, "0" + name, 0, 0);
        std::printf("ready %d\n", id);
        std::fflush(stdout);
        for (;;) {
            pollfd input{0, POLLIN, 0};
            if (poll(&input, 1, 5) > 0) {
                char byte;
                if (read(0, &byte, 1) <= 0) break;
            }
            while (dp->GetMessageCount(id) > 0) {
                int32_t from = 0, to = 0;
                auto message = dp->Receive(from, to, play::ReceiveAll);
                if (from == 0) continue;
                auto answer = dp->CreateMessage();
                answer->WriteLong(message->ReadLong());
                dp->Send(id, from, play::SendGuaranteed, answer);
            }
        }
        dp->DestroyPlayer(id);
        dp->Close();
    } catch (const Failure& failure) {
        std::fprintf(stderr, "play_peer: %s\n", failure.Description().c_str());
        return 1;
    }
    return 0;
}
