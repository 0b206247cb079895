// The session layer against raw ENet on loopback: the round trip of a
// 132-byte unguaranteed message between two peers, and guaranteed messages
// per second from one peer to seven. The ratio of the two is the layer's cost.

#include "platform/play/direct_play.h"
#include "platform/play/lobby.h"
#include "support/free_port.h"

#include <benchmark/benchmark.h>
#include <enet/enet.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t MessageSize = 132;
constexpr int Batch = 100;
constexpr int Receivers = 7;

struct LayerPeer {
    std::shared_ptr<play::DirectPlay> dp = play::DirectPlayCreate("");
    int32_t id = 0;
    LayerPeer() { dp->InitializeConnection(play::DirectPlayLobbyCreate()->CreateINetAddress("127.0.0.1", 0)); }
    void Host(int32_t maxPlayers) {
        auto data = dp->CreateSessionData();
        data->SetGuidApplication("{BENCH}");
        data->SetSessionName("bench");
        data->SetMaxPlayers(maxPlayers);
        data->SetFlags(4);
        dp->Open(data, play::OpenCreate);
        id = dp->CreatePlayer("host", "0", 0, 0);
    }
    void Join() {
        auto data = dp->CreateSessionData();
        data->SetGuidApplication("{BENCH}");
        dp->Open(dp->GetDPEnumSessions(data, 0, 1)->GetItem(1), play::OpenJoin);
        id = dp->CreatePlayer("peer", "0", 0, 0);
    }
    // Waits for one message (up to 100 ms); false when none came.
    bool Take() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        while (dp->GetMessageCount(id) == 0)
            if (std::chrono::steady_clock::now() > deadline) return false;
        int32_t from = 0, to = 0;
        dp->Receive(from, to, play::ReceiveAll);
        return true;
    }
    void DrainAll() {
        int32_t from = 0, to = 0;
        while (dp->GetMessageCount(id) > 0) dp->Receive(from, to, play::ReceiveAll);
    }
};

std::shared_ptr<play::DirectPlayMessage> Sample(play::DirectPlay& dp) {
    auto message = dp.CreateMessage();
    message->WriteLong(1);
    for (size_t i = 4; i < MessageSize; ++i) message->WriteByte(static_cast<uint8_t>(i));
    return message;
}

void BM_LayerRoundTrip(benchmark::State& state) {
    UseFreePlayPort();
    LayerPeer a, b;
    a.Host(2);
    b.Join();
    while (a.dp->GetMessageCount(a.id) > 0) a.DrainAll();
    auto message = Sample(*a.dp);
    int64_t lost = 0;
    for (auto _ : state) {
        a.dp->Send(a.id, b.id, 0, message);
        if (!b.Take()) {
            ++lost;
            continue;
        }
        b.dp->Send(b.id, a.id, 0, message);
        if (!a.Take()) ++lost;
    }
    state.counters["lost"] = static_cast<double>(lost);
}
BENCHMARK(BM_LayerRoundTrip)->UseRealTime();

struct RawHost {
    ENetHost* host = nullptr;
    ENetPeer* peer = nullptr;  // the last one connected
    // `checksum`: ENet's CRC-32 on every datagram, as the layer has it.
    RawHost(bool listen, bool checksum) {
        ENetAddress any{ENET_HOST_ANY, 0};
        host = enet_host_create(listen ? &any : nullptr, Receivers + 1, 1, 0, 0);
        if (checksum) host->checksum = enet_crc32;
    }
    ~RawHost() { enet_host_destroy(host); }
    uint16_t Port() const {
        ENetAddress bound{};
        enet_socket_get_address(host->socket, &bound);
        return bound.port;
    }
    // Services until `count` packets came; false after 100 ms without one.
    bool Take(int count = 1) {
        ENetEvent event;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        while (count > 0) {
            if (enet_host_service(host, &event, 0) > 0) {
                if (event.type == ENET_EVENT_TYPE_CONNECT) peer = event.peer;
                if (event.type == ENET_EVENT_TYPE_RECEIVE) {
                    enet_packet_destroy(event.packet);
                    --count;
                    deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
                }
            } else if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
        }
        return true;
    }
};

void Connect(RawHost& from, RawHost& to) {
    ENetAddress address{0, to.Port()};
    enet_address_set_host_ip(&address, "127.0.0.1");
    from.peer = enet_host_connect(from.host, &address, 1, 0);
    ENetEvent event;
    bool fromDone = false, toDone = false;
    while (!fromDone || !toDone) {
        if (enet_host_service(from.host, &event, 1) > 0 && event.type == ENET_EVENT_TYPE_CONNECT) fromDone = true;
        if (enet_host_service(to.host, &event, 1) > 0 && event.type == ENET_EVENT_TYPE_CONNECT) {
            to.peer = event.peer;
            toDone = true;
        }
    }
}

void BM_RawEnetRoundTrip(benchmark::State& state) {
    enet_initialize();
    const bool checksum = state.range(0) != 0;
    RawHost a(true, checksum), b(true, checksum);
    Connect(b, a);
    const std::vector<uint8_t> bytes(MessageSize + 9, 1);  // the layer's header is 9 bytes
    int64_t lost = 0;
    for (auto _ : state) {
        enet_peer_send(a.peer, 0, enet_packet_create(bytes.data(), bytes.size(), 0));
        enet_host_flush(a.host);
        if (!b.Take()) {
            ++lost;
            continue;
        }
        enet_peer_send(b.peer, 0, enet_packet_create(bytes.data(), bytes.size(), 0));
        enet_host_flush(b.host);
        if (!a.Take()) ++lost;
    }
    state.counters["lost"] = static_cast<double>(lost);
}
BENCHMARK(BM_RawEnetRoundTrip)->Arg(0)->Arg(1)->ArgName("checksum")->UseRealTime();

void BM_LayerOneToSeven(benchmark::State& state) {
    UseFreePlayPort();
    std::vector<std::unique_ptr<LayerPeer>> peers;
    for (int i = 0; i <= Receivers; ++i) {
        peers.push_back(std::make_unique<LayerPeer>());
        if (i == 0)
            peers[0]->Host(8);
        else
            peers.back()->Join();
    }
    for (auto& peer : peers) peer->DrainAll();
    LayerPeer& sender = *peers[0];
    auto message = Sample(*sender.dp);
    for (auto _ : state) {
        for (int i = 0; i < Batch; ++i) sender.dp->Send(sender.id, 0, play::SendGuaranteed, message);
        for (int r = 1; r <= Receivers; ++r)
            for (int i = 0; i < Batch; ++i) peers[static_cast<size_t>(r)]->Take();
    }
    state.SetItemsProcessed(state.iterations() * Batch);
}
BENCHMARK(BM_LayerOneToSeven)->UseRealTime();

void BM_RawEnetOneToSeven(benchmark::State& state) {
    enet_initialize();
    const bool checksum = state.range(0) != 0;
    RawHost sender(true, checksum);
    std::vector<std::unique_ptr<RawHost>> receivers;
    for (int r = 0; r < Receivers; ++r) {
        receivers.push_back(std::make_unique<RawHost>(true, checksum));
        Connect(*receivers.back(), sender);
    }
    const std::vector<uint8_t> bytes(MessageSize + 9, 1);
    for (auto _ : state) {
        for (int i = 0; i < Batch; ++i)
            enet_host_broadcast(sender.host, 0,
                                enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
        enet_host_flush(sender.host);
        for (auto& receiver : receivers) {
            // The sender keeps servicing for acknowledgements and resends.
            ENetEvent event;
            int left = Batch;
            while (left > 0) {
                enet_host_service(sender.host, &event, 0);
                if (enet_host_service(receiver->host, &event, 0) > 0 && event.type == ENET_EVENT_TYPE_RECEIVE) {
                    enet_packet_destroy(event.packet);
                    --left;
                }
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * Batch);
}
BENCHMARK(BM_RawEnetOneToSeven)->Arg(0)->Arg(1)->ArgName("checksum")->UseRealTime();

}  // namespace
