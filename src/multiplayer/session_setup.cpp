#include "multiplayer/session_setup.h"

#include "core/game_state.h"
#include "core/object_ref.h"
#include "launcher/settings.h"
#include "multiplayer/session_state.h"
#include "platform/os/program_end.h"
#include "platform/play/direct_play.h"
#include "platform/play/lobby.h"
#include "platform/play/session.h"
#include "platform/ui/message_box.h"
#include "web/status_window.h"

namespace {

constexpr int32_t kAllConnections = 1;
constexpr int32_t kDefaultPort = 0;

// Runs one step of a create or join; its failure leaves as the step's.
template <class Step>
void RunStep(SessionStep step, Step&& run) {
    try {
        run();
    } catch (const Failure& failure) {
        throw SessionFailure(step, failure);
    }
}

// A session nobody is in is a game others could find and join with nobody
// to host it: a local player that cannot be made closes its session again.
void CreateLocalPlayer() {
    try {
        IdLocalDP = Ref(DPlay).CreatePlayer(FriendlyName, FormalName, 0, 0);
    } catch (const Failure& failure) {
        skip([&] { Ref(DPlay).Close(); });
        throw SessionFailure(SessionStep::LocalPlayer, failure);
    }
}

void MakeTcpIpConnection(const std::string& address) {
    DPlay = play::DirectPlayCreate("");
    DPLobby = play::DirectPlayLobbyCreate();
    DPAddress = Ref(DPLobby).CreateINetAddress(address, kDefaultPort);
    Ref(DPlay).InitializeConnection(DPAddress);
}

}  // namespace

void InitDirectPlay() {
    try {
        DPlay = play::DirectPlayCreate("");
        DPEnumConnections = Ref(DPlay).GetDPEnumConnections("", kAllConnections);
    } catch (...) {
        ui::MsgBox("Failed to initialize DirectPlay.");
        os::EndProgram("Failed to initialize DirectPlay.");
    }
}

void ConnectLan(int32_t listPosition) {
    Ref(DPlay).InitializeConnection(Ref(DPEnumConnections).GetAddress(listPosition + 1));
}

// The old object's session and connection go first.
void CloseConnection() {
    DPLobby = nullptr;
    skip([&] { Ref(DPlay).Close(); });
    DPlay = nullptr;
    DPAddress = nullptr;
}

void ConnectTcpIp(const std::string& address) {
    CloseConnection();
    MakeTcpIpConnection(address);
}

void CreateSession(int32_t maxPlayers) {
    RunStep(SessionStep::Open, [&] {
        auto description = Ref(DPlay).CreateSessionData();
        description->SetMaxPlayers(maxPlayers);
        description->SetSessionName(SessionName);
        description->SetGuidApplication(AppGuid);
        description->SetFlags(play::SessionMigrateHost);
        Ref(DPlay).Open(description, play::OpenCreate);
    });
    CreateLocalPlayer();
    HostPlayerId = IdLocalDP;
    IsHost = true;
}

void JoinSession(const std::shared_ptr<play::DirectPlaySessionData>& item) {
    RunStep(SessionStep::Open, [&] { Ref(DPlay).Open(item, play::OpenJoin); });
    CreateLocalPlayer();
}

// The objects may already be gone, so nothing here may stop the way out.
void LeaveSession() {
    skip([&] { Ref(DPlay).DestroyPlayer(IdLocalDP); });
    skip([&] { Ref(DPlay).Close(); });
    CloseDirectPlay();
}

// Releasing an object leaves its session, if it is still in one. In web
// mode the host takes its game off the web list; a removal that fails leaves
// the entry there.
void CloseDirectPlay() {
    if (!WebServerHost.empty() && HostPlayerId == IdLocalDP) skip([] { StatusWindow().DeleteServer(); });
    IsHost = false;
    PartieEnCours = false;
    DPEnumConnections = nullptr;
    DPEnumSessions = nullptr;
    DPlay = nullptr;
}
