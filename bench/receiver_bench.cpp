// The message receiver under a game's steady traffic: seven peers on
// loopback, each sending its player's state. One measured drain
// (ReceiveMessages) applies them to the seven remote players; the baseline,
// in the same run, is the session layer's own receive of the same number of
// state messages with every field read and nothing applied:
// `drain_over_receive`, within 2 the receiver costs at most as much again.
// `receiver_allocations_per_message` counts what the drain allocates beyond
// the baseline's receive (0: the receiver's own work allocates nothing).

#include "core/game_state.h"
#include "counted_allocations.h"
#include "multiplayer/messages.h"
#include "multiplayer/receiver.h"
#include "platform/play/direct_play.h"
#include "platform/play/lobby.h"
#include "platform/rm/direct3drm.h"
#include "platform/rm/frame.h"
#include "player/player.h"
#include "solo_session.h"
#include "support/free_port.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kPeers = 7;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

struct Peer {
    std::shared_ptr<play::DirectPlay> dp = play::DirectPlayCreate("");
    int32_t id = 0;

    Peer() {
        dp->InitializeConnection(play::DirectPlayLobbyCreate()->CreateINetAddress("127.0.0.1", 0));
        auto data = dp->CreateSessionData();
        data->SetGuidApplication(AppGuid);
        dp->Open(dp->GetDPEnumSessions(data, 0, 1)->GetItem(1), play::OpenJoin);
        id = dp->CreatePlayer("Peer", "1", 0, 0);
    }
};

// This machine hosts the game; slot 0 is its own player, slots 1 to 7 the
// peers' players, each already shown (no arrival line in the measure).
std::vector<std::unique_ptr<Peer>> MakeGame() {
    ResetGameState();
    UseFreePlayPort();
    OpenSoloSession();
    D3DRM = std::make_shared<rm::Direct3DRM>();
    FrameMonde = D3DRM->CreateFrame(nullptr);
    std::vector<std::unique_ptr<Peer>> peers;
    for (int32_t i = 0; i < kPeers; ++i) peers.push_back(std::make_unique<Peer>());
    IndiceLocal = 0;
    Joueurs[0].id = IdLocalDP;
    for (int32_t slot = 1; slot <= kPeers; ++slot) {
        player& p = Joueurs[size_t(slot)];
        p.indice = slot;
        p.id = peers[size_t(slot - 1)]->id;
        p.joueur = D3DRM->CreateFrame(FrameMonde);
        p.joueur->SetTraversalOptions(3);
        p.Frmsang = D3DRM->CreateFrame(p.joueur);
        p.flash = D3DRM->CreateFrame(p.joueur);
    }
    NbJoueurs = 8;
    PartieEnCours = true;
    // Their creations, read before the game.
    while (DPlay->GetMessageCount(IdLocalDP) > 0) ReceiveMessages();
    return peers;
}

// `perPeer` states from each peer, each a little further on; false when
// they did not all come within a second (unguaranteed: one may be lost).
bool SendStates(const std::vector<std::unique_ptr<Peer>>& peers, int32_t perPeer, int64_t step) {
    for (int32_t k = 0; k < perPeer; ++k)
        for (const auto& peer : peers) {
            StateMessage state{.position = {double(step), 1, double(k)},
                               .facing = {0, 0, 1},
                               .traversal = 3,
                               .blood = {1, 2, 3},
                               .bloodStep = int32_t(step % 10),
                               .flashStep = int32_t(step % 3)};
            const auto message = peer->dp->CreateMessage();
            WriteStateMessage(*message, state);
            peer->dp->Send(peer->id, IdLocalDP, 0, message);
        }
    const int32_t expected = perPeer * kPeers;
    const Clock::time_point start = Clock::now();
    while (DPlay->GetMessageCount(IdLocalDP) < expected)
        if (Seconds(start) > 1) return false;
    return true;
}

// The session layer's part alone: receive, and read every field.
void ReceiveAndRead() {
    for (int32_t waiting = DPlay->GetMessageCount(IdLocalDP); waiting >= 1; --waiting) {
        int32_t from = 0, to = 0;
        const auto message = DPlay->Receive(from, to, play::ReceiveAll);
        int32_t sum = message->ReadLong();
        double total = 0;
        for (int i = 0; i < 7; ++i) total += message->ReadDouble();
        for (int i = 0; i < 10; ++i) sum += message->ReadLong();
        for (int i = 0; i < 3; ++i) total += message->ReadDouble();
        for (int i = 0; i < 2; ++i) sum += message->ReadLong();
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(total);
    }
}

void BM_DrainOfSevenPeersAgainstTheirReceive(benchmark::State& state) {
    const auto peers = MakeGame();
    const auto perPeer = static_cast<int32_t>(state.range(0));
    double drain = 0, receive = 0;
    int64_t step = 0, lost = 0, drainAllocations = 0, receiveAllocations = 0;
    // Each measures a fresh batch; which goes first alternates, so that
    // neither always meets the network thread still busy with the batch.
    const auto measure = [&](bool applied, double& seconds, int64_t& allocations) {
        if (!SendStates(peers, perPeer, ++step)) {
            ++lost;
            ReceiveAndRead();
            return;
        }
        const int64_t before = Allocations;
        const Clock::time_point start = Clock::now();
        applied ? ReceiveMessages() : ReceiveAndRead();
        seconds += Seconds(start);
        allocations += Allocations - before;
    };
    for (auto _ : state) {
        const double before = drain + receive;
        const bool drainFirst = step % 4 == 0;
        measure(drainFirst, drainFirst ? drain : receive, drainFirst ? drainAllocations : receiveAllocations);
        measure(!drainFirst, drainFirst ? receive : drain, drainFirst ? receiveAllocations : drainAllocations);
        state.SetIterationTime(drain + receive - before);
    }
    const double messages = double(state.iterations()) * perPeer * kPeers;
    state.counters["drain_us"] = drain * 1e6 / double(state.iterations());
    state.counters["drain_over_receive"] = drain / receive;
    state.counters["receiver_allocations_per_message"] = double(drainAllocations - receiveAllocations) / messages;
    state.counters["lost_batches"] = double(lost);
    ResetGameState();
}
BENCHMARK(BM_DrainOfSevenPeersAgainstTheirReceive)
    ->Arg(1)
    ->Arg(10)
    ->ArgName("states_per_peer")
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
