#pragma once

// One machine's part in a running session: its ENet host, its links to every
// other machine of the session, the membership (machines and players), the
// receive queues of its local players and, while it is the host, the door
// that answers session searches. A thread of its own services the network,
// so links stay alive whatever the game's thread is doing; the game's thread
// calls the public members, which never wait on the network except where
// they say so. ENet is used by both threads, always under the session's
// lock: the game's sends go out at once, without a hand-over to the thread.
//
// How the session works:
//  - Every machine has a number: the creator is 1, the host gives each
//    joiner the next one. Numbers are never handed out twice.
//  - Links form a full mesh. A joiner connects to the host (JoinRequest),
//    learns the other members from JoinAccept, connects to each (Hello) and
//    is in once every member has answered (HelloAck). The host gives each
//    joiner a random token and tells the members (Admit) the joiner's number,
//    its address as the host saw it and the token; a member answers a Hello
//    only when all three match, so nobody gets in past the host, nor in
//    place of a machine it let in.
//  - The host hands out player ids in increasing order, so ordering players
//    by id is their join order on every machine. It tells the other members
//    which machine it gave an id to (PlayerGranted) and answers the asking
//    machine once they all have it. The owner of a player announces its
//    creation and destruction to every machine itself, on the same ordered
//    link as its messages: no message from a player can arrive before its
//    creation or after its destruction. A machine takes a player only with
//    an id the host gave its owner, or a new id of the host's own.
//  - A machine that says goodbye, drops its link or stops answering for 3 s
//    is gone: its players are destroyed on every other machine. When it was
//    the host and the session migrates its host, the remaining machine with
//    the lowest number becomes host, opens the door, and its local players
//    receive 0x101 after the destroy messages of the old host's players.
//    A new host skips ids and numbers ahead, so that any the old host handed
//    out in its last moments, not yet announced, are not handed out again.
//
// What another machine can make this one hold is bounded: ids are a mark
// that only rises, not a record of every departed player; each machine may
// create at most CreationsPerMachine players; a local queue holds at most
// QueueUnguaranteedCap unguaranteed messages and QueueGuaranteedBytes of
// guaranteed and system messages, and the machine whose message would go
// beyond that is dropped, as one that stopped answering is. Links that have
// not said who they are (half-open) are limited per address and in all, so
// that slots stay free for the machines the host let in.

#include "platform/play/door.h"
#include "platform/play/wire.h"

#include <enet/enet.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

class SessionTestAccess;

namespace play {

// System message codes, as the first Long of a message from sender 0.
inline constexpr int32_t SystemCreatePlayer = 3;
inline constexpr int32_t SystemDestroyPlayer = 5;
inline constexpr int32_t SystemHost = 0x101;
inline constexpr int32_t PlayerTypePlayer = 1;
// Description flag: the host role moves to another machine when the host leaves.
inline constexpr int32_t SessionMigrateHost = 4;

struct ReceivedMessage {
    int32_t from = 0;
    int32_t to = 0;
    std::vector<uint8_t> bytes;
};

struct PlayerEntry {
    int32_t id = 0;
    std::string friendlyName;
    std::string formalName;
};

struct JoinTarget {
    uint32_t hostIpv4 = 0;
    uint16_t linkPort = 0;
    std::string instance;
    std::string password;
};

class Session {
public:
    // Each local queue keeps at most this many unguaranteed messages; when a
    // new one comes, the oldest unguaranteed one is dropped. Guaranteed and
    // system messages are never dropped.
    static constexpr size_t QueueUnguaranteedCap = 1024;
    // What the guaranteed and system messages of one local queue may hold,
    // each counted with its bookkeeping (QueuedCost). The local game's own
    // sends are counted but never refused.
    static constexpr size_t QueueGuaranteedBytes = size_t{8} << 20;
    // Players one machine may create over its time in the session.
    static constexpr uint32_t CreationsPerMachine = 64;
    // Links that have not said who they are yet: at most this many from one
    // address and in all. Past either limit the oldest gives way, so that a
    // burst from one address does not shut out a joiner behind it.
    static constexpr size_t HalfOpenPerAddress = 4;
    static constexpr size_t HalfOpenTotal = 16;

    // Creates a session hosted here; fails when the door port is taken.
    static std::unique_ptr<Session> Create(wire::Description description, uint16_t doorPort);
    // Joins the session behind `target`; fails when it is full, refuses or is gone.
    static std::unique_ptr<Session> Join(const JoinTarget& target, uint16_t doorPort);

    // Leaves the session: every other machine destroys this machine's players.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Waits for the host's id when this machine is not the host.
    int32_t CreatePlayer(const std::string& friendlyName, const std::string& formalName);
    void DestroyPlayer(int32_t id);
    std::vector<PlayerEntry> Players() const;
    PlayerEntry Player(int32_t id) const;
    // The friendly name of `id` into `name`, whose storage is reused.
    void FriendlyName(int32_t id, std::string& name) const;

    // With nothing waiting, takes in what the network has brought first, so
    // a message does not wait for the network thread's next turn.
    size_t MessageCount(int32_t localId);
    // The oldest message waiting in any local queue.
    ReceivedMessage Receive();
    void Send(int32_t from, int32_t to, bool guaranteed, const std::vector<uint8_t>& message);

    wire::Description Description() const;
    int CurrentPlayers() const;
    void SetDescription(const wire::Description& description);

private:
    friend class ::SessionTestAccess;
    struct PlayerRecord {
        wire::Player player;
        uint32_t owner = 0;
    };
    struct Queued {
        uint64_t order = 0;
        ReceivedMessage message;
        bool droppable = false;
        std::shared_ptr<PlayerRecord> departed;  // keeps a destroyed player's names readable
    };
    struct LocalQueue {
        std::deque<Queued> messages;
        size_t unguaranteed = 0;
        size_t guaranteedBytes = 0;
    };
    enum class Role { Incoming, JoinTarget, HelloTarget, Member, Leaving };
    struct Link {
        Role role = Role::Incoming;
        uint32_t number = 0;
        std::chrono::steady_clock::time_point since;
        std::optional<wire::Hello> waitingHello;  // until the host admits its sender
        bool admitted = false;                    // an Incoming link from a joiner the host let in
    };
    struct Admission {
        uint32_t ipv4 = 0;
        uint16_t port = 0;
        uint64_t token = 0;
        std::chrono::steady_clock::time_point since;
    };
    // A player id the host gave away, waiting until every other member has
    // heard of it (the host's side).
    struct PendingGrant {
        uint32_t tag = 0;
        uint32_t requester = 0;
        std::set<uint32_t> awaiting;
        std::chrono::steady_clock::time_point since;
    };
    enum class Progress { Waiting, Done, Failed };

    explicit Session(uint16_t doorPort);
    void Start();
    void Run();
    void Leave();
    void Housekeeping();
    void Handle(const ENetEvent& event);
    void HandleConnect(ENetPeer* peer, Link& link);
    void HandlePacket(ENetPeer* peer, Link& link, wire::LinkPacket& packet, bool guaranteed);
    void HandleJoinRequest(ENetPeer* peer, Link& link, const wire::JoinRequest& request);
    void HandleJoinAccept(ENetPeer* peer, Link& link, const wire::JoinAccept& accept);
    void HandleHello(ENetPeer* peer, Link& link, const wire::Hello& hello);
    void HandleAdmit(const wire::Admit& admit);
    bool IsAdmitted(const ENetAddress& from, const Admission& admission) const;
    void HandleHelloAck(ENetPeer* peer, Link& link, const wire::HelloAck& ack);
    void HandlePlayerIdRequest(ENetPeer* peer, const Link& link, const wire::PlayerIdRequest& request);
    void HandlePlayerIdReply(const wire::PlayerIdReply& reply);
    void HandlePlayerGranted(ENetPeer* hostPeer, const wire::PlayerGranted& grant);
    void GrantSeen(int32_t id, uint32_t number);
    void ReplyGrant(std::map<int32_t, PendingGrant>::iterator pending);
    void HandlePlayerDestroyed(uint32_t owner, int32_t id);
    void HandleApplication(const Link& link, wire::Application&& message, bool guaranteed);
    void AcceptIncoming(ENetPeer* peer);
    void EvictOldestHalfOpen(std::optional<uint32_t> ipv4);
    void Expire(std::chrono::steady_clock::time_point now);
    std::optional<wire::EnumReply> AnswerSearch(const wire::EnumRequest& request) const;

    // Handles what has come in, from either thread.
    void ServiceLocked();
    // Has the network thread send what is queued on its next turn, which
    // comes at once.
    void FlushSoon();
    void SendTo(ENetPeer* peer, const wire::LinkPacket& packet);
    void SendBytes(ENetPeer* peer, const std::vector<uint8_t>& bytes, bool reliable);
    void SendToAll(const std::vector<uint8_t>& bytes, bool reliable);
    void Disconnect(ENetPeer* peer, Link& link);
    ENetPeer* PeerOf(uint32_t number) const;
    bool AddMember(ENetPeer* peer, Link& link, uint32_t number, const std::vector<wire::Player>& players);
    void LearnPlayer(const wire::Player& player, uint32_t owner);
    bool MayCreate(uint32_t owner) const;
    void AddPlayer(const wire::Player& player, uint32_t owner);
    void ForgetPlayer(int32_t id);
    // A player of the session, or one departed whose destroy message waits;
    // fails for any other id. Called with the mutex held.
    std::shared_ptr<PlayerRecord> RecordOf(int32_t id) const;
    void MachineGone(uint32_t number);
    // Drops a machine at the end of the event being handled, as one that
    // stopped answering.
    void DropLater(uint32_t number);
    void DropMachines();
    void BecomeHostIfElected();
    void FinishJoin(Progress progress, int32_t failureNumber = 0);
    int32_t AddLocalPlayer(const wire::Player& player);
    std::vector<wire::Player> OwnPlayers() const;
    std::vector<wire::PlayerGranted> OthersPlayers() const;
    void Enqueue(int32_t to, ReceivedMessage message, bool droppable, std::shared_ptr<PlayerRecord> departed = {});
    void EnqueueSystem(int32_t code, int32_t id, const std::shared_ptr<PlayerRecord>& departed);
    // Whether the queue of `to` (0: every local queue) can take a guaranteed
    // message of `size` bytes.
    bool HasRoom(int32_t to, size_t size) const;
    static size_t QueuedCost(size_t size) { return size + sizeof(Queued); }
    void Release(const Queued& taken);
    bool IsHost() const { return selfNumber_ == hostNumber_; }

    const uint16_t doorPort_;
    ENetHost* host_ = nullptr;
    uint16_t linkPort_ = 0;
    Door door_;
    std::chrono::steady_clock::time_point nextDoorTry_;
    std::chrono::steady_clock::time_point nextHousekeeping_;
    int wakeFd_ = -1;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool flushPending_ = false;
    std::chrono::steady_clock::time_point lastSend_;
    int burstLength_ = 0;
    std::atomic<int64_t> lastGameService_{0};  // steady clock ticks

    wire::Description description_;
    uint32_t selfNumber_ = 0;
    uint32_t hostNumber_ = 0;
    uint32_t nextNumber_ = 2;
    int32_t nextId_ = 1;
    int32_t highestId_ = 0;
    uint32_t highestNumber_ = 1;
    std::map<ENetPeer*, Link> links_;
    std::map<uint32_t, ENetPeer*> machines_;
    std::map<int32_t, std::shared_ptr<PlayerRecord>> players_;
    // Destroyed players whose destroy message still waits in a local queue.
    std::map<int32_t, std::weak_ptr<PlayerRecord>> departed_;
    std::map<int32_t, LocalQueue> queues_;
    std::map<uint32_t, Admission> admitted_;  // joiners let in by the host, not met yet
    std::map<int32_t, uint32_t> grants_;      // ids the host gave, to their machine, not announced yet
    std::map<int32_t, PendingGrant> pendingGrants_;
    std::map<uint32_t, uint32_t> creations_;  // players created, by machine
    std::vector<uint32_t> dropping_;
    uint64_t token_ = 0;  // ours, from the host, for our Hellos
    uint64_t nextOrder_ = 1;

    Progress join_ = Progress::Waiting;
    int32_t joinFailure_ = 0;
    size_t awaitingHellos_ = 0;

    uint32_t nextTag_ = 1;
    struct IdRequest {
        bool answered = false;
        int32_t id = 0;  // 0: refused
    };
    std::map<uint32_t, IdRequest> idRequests_;
    JoinTarget target_;
};

}  // namespace play
