#include "platform/play/session.h"

#include "platform/failure.h"
#include "platform/play/byte_io.h"
#include "platform/play/errors.h"
#include "platform/play/limits.h"
#include "platform/play/network.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <random>

namespace play {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto JoinTimeout = 5s;
constexpr auto PlayerIdTimeout = 3s;
constexpr auto HandshakeTimeout = 5s;
constexpr auto DoorRetry = 500ms;
constexpr auto LeaveTimeout = 300ms;
constexpr int ServiceEveryMs = 10;
constexpr int64_t ServiceEveryNs = int64_t{ServiceEveryMs} * 1000000;
// A link that has not been acknowledged for this long is dead.
constexpr enet_uint32 PeerTimeoutMinimumMs = 1000;
constexpr enet_uint32 PeerTimeoutMaximumMs = 3000;
// Twice what half-open links may take, so the rest stays for members and
// admitted joiners.
constexpr size_t PeerCapacity = 2 * Session::HalfOpenTotal;
// Longer than a joiner waits to be in.
constexpr auto AdmissionLifetime = 2 * JoinTimeout;
constexpr size_t AdmissionCap = 2 * MaxSessionPlayers;
// How long the host waits for the members to have a grant before it answers
// anyway; a member that takes longer is about to be dropped for silence.
constexpr auto GrantWait = 2s;
// Above the longest packet of the session (a JoinAccept or a Hello with every
// text at its longest, about 21 KiB); ENet would take up to 32 MiB.
constexpr size_t MaxLinkPacket = 64 * 1024;
constexpr int32_t IdSkip = 256;
constexpr uint32_t NumberSkip = 16;
constexpr auto HousekeepingEvery = 50ms;
constexpr auto BurstGap = std::chrono::microseconds(10);
// A system message: code, player type, id.
constexpr size_t SystemMessageSize = 12;

bool SameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

void LimitTimeout(ENetPeer* peer) { enet_peer_timeout(peer, 0, PeerTimeoutMinimumMs, PeerTimeoutMaximumMs); }

bool IsLoopback(uint32_t ipv4) { return (ntohl(ipv4) >> 24) == 127; }

uint64_t RandomToken() {
    std::random_device random;
    return (uint64_t{random()} << 32) | random();
}

}  // namespace

Session::Session(uint16_t doorPort) : doorPort_(doorPort) {
    EnsureEnet();
    const ENetAddress any{ENET_HOST_ANY, 0};
    host_ = enet_host_create(&any, PeerCapacity, 1, 0, 0);
    if (!host_) throw Failure(error::NoConnection, "no network socket for the session");
    // UDP's own checksum is optional; this one makes a damaged datagram a lost one.
    host_->checksum = enet_crc32;
    host_->maximumPacketSize = MaxLinkPacket;
    ENetAddress bound{};
    enet_socket_get_address(host_->socket, &bound);
    linkPort_ = bound.port;
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        enet_host_destroy(host_);
        throw Failure(error::Generic, "no wake-up for the session thread");
    }
}

Session::~Session() {
    if (thread_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        const uint64_t one = 1;
        [[maybe_unused]] auto written = write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    enet_host_destroy(host_);
    close(wakeFd_);
}

namespace {
void CheckDescription(const wire::Description& d) {
    if (d.maxPlayers < MinSessionPlayers || d.maxPlayers > MaxSessionPlayers)
        throw Failure(error::InvalidParams, "the maximum of players must be 2 to 8");
    for (const std::string* text : {&d.application, &d.name, &d.password})
        if (text->size() > MaxStringLength) throw Failure(error::InvalidParams, "session text longer than allowed");
}
}  // namespace

std::unique_ptr<Session> Session::Create(wire::Description description, uint16_t doorPort) {
    CheckDescription(description);
    std::unique_ptr<Session> session(new Session(doorPort));
    if (!session->door_.Open(doorPort))
        throw Failure(error::NoConnection, "the session port " + std::to_string(doorPort) + " is in use");
    session->description_ = std::move(description);
    session->selfNumber_ = session->hostNumber_ = 1;
    session->Start();
    return session;
}

std::unique_ptr<Session> Session::Join(const JoinTarget& target, uint16_t doorPort) {
    std::unique_ptr<Session> session(new Session(doorPort));
    Session& s = *session;
    s.target_ = target;
    s.description_.instance = target.instance;
    s.Start();
    Progress progress;
    int32_t failure;
    {
        std::unique_lock lock(s.mutex_);
        const ENetAddress address{target.hostIpv4, target.linkPort};
        ENetPeer* peer = enet_host_connect(s.host_, &address, 1, 0);
        if (!peer) throw Failure(error::NoConnection, "no link to the session host");
        LimitTimeout(peer);
        s.links_[peer] = {Role::JoinTarget, 0, Clock::now(), {}, false};
        enet_host_flush(s.host_);
        s.changed_.wait_for(lock, JoinTimeout, [&] { return s.join_ != Progress::Waiting; });
        progress = s.join_;
        failure = s.joinFailure_;
    }
    if (progress == Progress::Done) return session;
    if (progress == Progress::Waiting) throw Failure(error::Timeout, "the session did not answer");
    if (failure == error::SessionFull) throw Failure(failure, "the session is full");
    if (failure == error::AccessDenied) throw Failure(failure, "the session refused the password");
    throw Failure(error::NoSessions, "the session is gone");
}

void Session::Start() { thread_ = std::thread(&Session::Run, this); }

void Session::Run() {
    for (;;) {
        // While the game's thread takes in the network itself, this thread
        // only keeps time, instead of racing it for every datagram.
        const bool gameServices = Clock::now().time_since_epoch().count() - lastGameService_.load() < ServiceEveryNs;
        int doorFd = -1;  // the door opens on either thread, under the lock
        {
            std::lock_guard lock(mutex_);
            if (door_.IsOpen()) doorFd = door_.Fd();
        }
        pollfd fds[3] = {{wakeFd_, POLLIN, 0},
                         {gameServices ? -1 : static_cast<int>(host_->socket), POLLIN, 0},
                         {doorFd, POLLIN, 0}};
        poll(fds, 3, ServiceEveryMs);
        if (fds[0].revents) {
            uint64_t wakes;
            [[maybe_unused]] auto drained = read(wakeFd_, &wakes, sizeof wakes);
        }

        std::unique_lock lock(mutex_);
        if (stopping_) return Leave();
        ServiceLocked();
        if (fds[2].revents) door_.Serve([this](const wire::EnumRequest& request) { return AnswerSearch(request); });
        if (const auto now = Clock::now(); now >= nextHousekeeping_) {
            Housekeeping();
            nextHousekeeping_ = now + HousekeepingEvery;
        }
        enet_host_flush(host_);
        flushPending_ = false;
    }
}

void Session::FlushSoon() {
    if (flushPending_) return;
    flushPending_ = true;
    const uint64_t one = 1;
    [[maybe_unused]] auto written = write(wakeFd_, &one, sizeof one);
}

void Session::ServiceLocked() {
    ENetEvent event;
    while (enet_host_service(host_, &event, 0) > 0) Handle(event);
}

void Session::Leave() {
    for (auto& [peer, link] : links_) {
        if (link.role == Role::Member) SendTo(peer, wire::Goodbye{});
        enet_peer_disconnect_later(peer, 0);
    }
    enet_host_flush(host_);
    const auto deadline = Clock::now() + LeaveTimeout;
    ENetEvent event;
    while (host_->connectedPeers > 0 && Clock::now() < deadline) {
        if (enet_host_service(host_, &event, ServiceEveryMs) > 0 && event.type == ENET_EVENT_TYPE_RECEIVE)
            enet_packet_destroy(event.packet);
    }
}

void Session::Housekeeping() {
    const auto now = Clock::now();
    if (IsHost() && !door_.IsOpen() && now >= nextDoorTry_) {
        door_.Open(doorPort_);
        nextDoorTry_ = now + DoorRetry;
    }
    Expire(now);
}

void Session::Expire(Clock::time_point now) {
    for (auto it = links_.begin(); it != links_.end();) {
        if (it->second.role == Role::Incoming && now - it->second.since > HandshakeTimeout) {
            enet_peer_reset(it->first);
            it = links_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(admitted_, [&](const auto& admission) { return now - admission.second.since > AdmissionLifetime; });
    for (auto it = pendingGrants_.begin(); it != pendingGrants_.end();) {
        const auto next = std::next(it);
        if (now - it->second.since > GrantWait) ReplyGrant(it);
        it = next;
    }
}

void Session::Handle(const ENetEvent& event) {
    ENetPeer* peer = event.peer;
    switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT: {
            LimitTimeout(peer);
            auto it = links_.find(peer);
            if (it == links_.end()) {
                AcceptIncoming(peer);
            } else {
                HandleConnect(peer, it->second);
            }
            break;
        }
        case ENET_EVENT_TYPE_RECEIVE: {
            auto it = links_.find(peer);
            if (it != links_.end()) {
                auto packet = wire::DecodeLink(event.packet->data, event.packet->dataLength);
                const bool guaranteed = event.packet->flags & ENET_PACKET_FLAG_RELIABLE;
                if (packet) HandlePacket(peer, it->second, *packet, guaranteed);
            }
            enet_packet_destroy(event.packet);
            break;
        }
        case ENET_EVENT_TYPE_DISCONNECT: {
            auto it = links_.find(peer);
            if (it == links_.end()) break;
            const Link link = it->second;
            links_.erase(it);
            if (link.role == Role::Member) MachineGone(link.number);
            if (link.role == Role::JoinTarget || link.role == Role::HelloTarget)
                FinishJoin(Progress::Failed, error::NoSessions);
            break;
        }
        case ENET_EVENT_TYPE_NONE:
            break;
    }
    DropMachines();
}

void Session::AcceptIncoming(ENetPeer* peer) {
    Link link{Role::Incoming, 0, Clock::now(), {}, false};
    for (const auto& [number, admission] : admitted_) link.admitted |= IsAdmitted(peer->address, admission);
    // One kept slot per admitted joiner: a second link from it waits like any other.
    for (const auto& [other, known] : links_)
        if (known.role == Role::Incoming && known.admitted && other->address.host == peer->address.host &&
            other->address.port == peer->address.port)
            link.admitted = false;
    if (!link.admitted) {
        size_t fromAddress = 0, total = 0;
        for (const auto& [other, known] : links_) {
            if (known.role != Role::Incoming || known.admitted) continue;
            ++total;
            if (other->address.host == peer->address.host) ++fromAddress;
        }
        if (fromAddress >= HalfOpenPerAddress) {
            EvictOldestHalfOpen(peer->address.host);
        } else if (total >= HalfOpenTotal) {
            EvictOldestHalfOpen(std::nullopt);
        }
    }
    links_.emplace(peer, std::move(link));
}

void Session::EvictOldestHalfOpen(std::optional<uint32_t> ipv4) {
    auto oldest = links_.end();
    for (auto it = links_.begin(); it != links_.end(); ++it) {
        const Link& link = it->second;
        if (link.role != Role::Incoming || link.admitted || (ipv4 && it->first->address.host != *ipv4)) continue;
        if (oldest == links_.end() || link.since < oldest->second.since) oldest = it;
    }
    if (oldest == links_.end()) return;
    enet_peer_disconnect_now(oldest->first, 0);
    links_.erase(oldest);
}

void Session::HandleConnect(ENetPeer* peer, Link& link) {
    if (link.role == Role::JoinTarget) SendTo(peer, wire::JoinRequest{target_.instance, target_.password});
    if (link.role == Role::HelloTarget)
        SendTo(peer, wire::Hello{description_.instance, selfNumber_, token_, OwnPlayers()});
}

void Session::HandlePacket(ENetPeer* peer, Link& link, wire::LinkPacket& packet, bool guaranteed) {
    // Each packet is accepted only from a link in the role that may send it;
    // anything else is dropped.
    switch (link.role) {
        case Role::Incoming:
            if (auto* m = std::get_if<wire::JoinRequest>(&packet)) HandleJoinRequest(peer, link, *m);
            if (auto* m = std::get_if<wire::Hello>(&packet)) HandleHello(peer, link, *m);
            return;
        case Role::JoinTarget:
            if (auto* m = std::get_if<wire::JoinAccept>(&packet)) HandleJoinAccept(peer, link, *m);
            if (auto* m = std::get_if<wire::JoinRefused>(&packet)) {
                link.role = Role::Leaving;
                FinishJoin(Progress::Failed, m->failureNumber);
            }
            return;
        case Role::HelloTarget:
            if (auto* m = std::get_if<wire::HelloAck>(&packet)) HandleHelloAck(peer, link, *m);
            return;
        case Role::Leaving:
            return;
        case Role::Member:
            break;
    }
    const bool fromHost = link.number == hostNumber_;
    if (auto* m = std::get_if<wire::PlayerIdRequest>(&packet)) HandlePlayerIdRequest(peer, link, *m);
    if (auto* m = std::get_if<wire::PlayerIdReply>(&packet); m && fromHost) HandlePlayerIdReply(*m);
    if (auto* m = std::get_if<wire::PlayerGranted>(&packet); m && fromHost) HandlePlayerGranted(peer, *m);
    if (auto* m = std::get_if<wire::PlayerGrantSeen>(&packet)) GrantSeen(m->id, link.number);
    if (auto* m = std::get_if<wire::PlayerCreated>(&packet)) LearnPlayer(m->player, link.number);
    if (auto* m = std::get_if<wire::PlayerDestroyed>(&packet)) HandlePlayerDestroyed(link.number, m->id);
    if (auto* m = std::get_if<wire::SessionDesc>(&packet);
        m && fromHost && m->description.instance == description_.instance)
        description_ = m->description;
    if (auto* m = std::get_if<wire::Application>(&packet)) HandleApplication(link, std::move(*m), guaranteed);
    if (auto* m = std::get_if<wire::Admit>(&packet); m && fromHost) HandleAdmit(*m);
    if (std::holds_alternative<wire::Goodbye>(packet)) {
        link.role = Role::Leaving;
        MachineGone(link.number);
    }
}

void Session::HandleJoinRequest(ENetPeer* peer, Link& link, const wire::JoinRequest& request) {
    int32_t refusal = 0;
    if (!IsHost() || request.instance != description_.instance)
        refusal = error::NoSessions;
    else if (request.password != description_.password)
        refusal = error::AccessDenied;
    else if (players_.size() >= static_cast<size_t>(description_.maxPlayers) || machines_.size() >= MaxSessionPlayers)
        refusal = error::SessionFull;
    if (refusal != 0) {
        SendTo(peer, wire::JoinRefused{refusal});
        Disconnect(peer, link);
        return;
    }
    const uint32_t number = nextNumber_++;
    const wire::Admit admit{number, peer->address.host, peer->address.port, RandomToken()};
    wire::JoinAccept accept{number,
                            admit.token,
                            selfNumber_,
                            selfNumber_,
                            std::max(highestId_, nextId_ - 1),
                            std::max(highestNumber_, number),
                            description_,
                            OwnPlayers(),
                            OthersPlayers(),
                            {}};
    for (const auto& [memberNumber, memberPeer] : machines_) {
        accept.members.push_back({memberNumber, memberPeer->address.host, memberPeer->address.port});
        SendTo(memberPeer, admit);
    }
    AddMember(peer, link, number, {});
    SendTo(peer, accept);
}

void Session::HandleJoinAccept(ENetPeer* peer, Link& link, const wire::JoinAccept& accept) {
    selfNumber_ = accept.yourNumber;
    token_ = accept.yourToken;
    hostNumber_ = accept.hostNumber;
    description_ = accept.description;
    highestId_ = std::max(highestId_, accept.highestId);
    highestNumber_ = std::max({highestNumber_, accept.highestNumber, selfNumber_});
    // Every player already in the session is one the host gave out: its own,
    // and those it names for the other machines.
    for (const wire::Player& player : accept.players) grants_[player.id] = accept.senderNumber;
    for (const wire::PlayerGranted& grant : accept.grants) grants_[grant.id] = grant.number;
    if (!AddMember(peer, link, accept.senderNumber, accept.players))
        return FinishJoin(Progress::Failed, error::NoSessions);
    for (const wire::Member& member : accept.members) {
        if (member.number == selfNumber_ || machines_.count(member.number)) continue;
        const ENetAddress address{member.ipv4, member.port};
        ENetPeer* memberPeer = enet_host_connect(host_, &address, 1, 0);
        if (!memberPeer) return FinishJoin(Progress::Failed, error::NoConnection);
        LimitTimeout(memberPeer);
        links_[memberPeer] = {Role::HelloTarget, member.number, Clock::now(), {}, false};
        highestNumber_ = std::max(highestNumber_, member.number);
        ++awaitingHellos_;
    }
    if (awaitingHellos_ == 0) FinishJoin(Progress::Done);
}

void Session::HandleHello(ENetPeer* peer, Link& link, const wire::Hello& hello) {
    if (selfNumber_ == 0 || hello.instance != description_.instance) return Disconnect(peer, link);
    auto admission = admitted_.find(hello.senderNumber);
    if (admission == admitted_.end()) {
        link.waitingHello = hello;  // the host's Admit may still be on its way
        return;
    }
    // Only the machine the host let in: from where the host saw it, with the
    // token the host gave it. Anyone else claiming its number is turned away
    // and the place stays kept for it.
    if (hello.token != admission->second.token || !IsAdmitted(peer->address, admission->second))
        return Disconnect(peer, link);
    admitted_.erase(admission);
    link.waitingHello.reset();
    if (!AddMember(peer, link, hello.senderNumber, hello.players)) return Disconnect(peer, link);
    SendTo(peer, wire::HelloAck{{description_.instance, selfNumber_, 0, OwnPlayers()}});
}

void Session::HandleAdmit(const wire::Admit& admit) {
    if (admitted_.size() >= AdmissionCap) admitted_.erase(admitted_.begin());
    const Admission admission{admit.ipv4, admit.port, admit.token, Clock::now()};
    admitted_[admit.number] = admission;
    highestNumber_ = std::max(highestNumber_, admit.number);
    for (auto& [peer, link] : links_) {
        if (link.role != Role::Incoming) continue;
        link.admitted |= IsAdmitted(peer->address, admission);
        if (link.waitingHello && link.waitingHello->senderNumber == admit.number) {
            const wire::Hello hello = *link.waitingHello;
            HandleHello(peer, link, hello);
        }
    }
}

bool Session::IsAdmitted(const ENetAddress& from, const Admission& admission) const {
    if (from.port != admission.port) return false;
    if (from.host == admission.ipv4) return true;
    // The host saw a joiner on its own machine at loopback; this machine
    // sees that joiner at the host's address.
    const ENetPeer* host = PeerOf(hostNumber_);
    return IsLoopback(admission.ipv4) && host && from.host == host->address.host;
}

void Session::HandleHelloAck(ENetPeer* peer, Link& link, const wire::HelloAck& ack) {
    if (ack.senderNumber != link.number || ack.instance != description_.instance ||
        !AddMember(peer, link, ack.senderNumber, ack.players))
        return FinishJoin(Progress::Failed, error::NoSessions);
    if (--awaitingHellos_ == 0) FinishJoin(Progress::Done);
}

void Session::HandlePlayerIdRequest(ENetPeer* peer, const Link& link, const wire::PlayerIdRequest& request) {
    if (!IsHost() || players_.size() >= static_cast<size_t>(description_.maxPlayers) || !MayCreate(link.number) ||
        nextId_ > MaxPlayerId)
        return SendTo(peer, wire::PlayerIdReply{request.tag, 0});
    const int32_t id = nextId_++;
    AddPlayer({id, request.friendlyName, request.formalName}, link.number);
    // The asker hears of its id once every other member knows whose it is,
    // so that none of them refuses the player when the asker announces it.
    PendingGrant pending{request.tag, link.number, {}, Clock::now()};
    for (const auto& [number, memberPeer] : machines_) {
        if (number == link.number) continue;
        pending.awaiting.insert(number);
        SendTo(memberPeer, wire::PlayerGranted{id, link.number});
    }
    ReplyGrant(pendingGrants_.insert_or_assign(id, std::move(pending)).first);
}

void Session::GrantSeen(int32_t id, uint32_t number) {
    auto pending = pendingGrants_.find(id);
    if (pending == pendingGrants_.end()) return;
    pending->second.awaiting.erase(number);
    ReplyGrant(pending);
}

// Answers once every member has the grant, or the wait is over.
void Session::ReplyGrant(std::map<int32_t, PendingGrant>::iterator pending) {
    const PendingGrant& grant = pending->second;
    if (!grant.awaiting.empty() && Clock::now() - grant.since <= GrantWait) return;
    if (ENetPeer* peer = PeerOf(grant.requester)) SendTo(peer, wire::PlayerIdReply{grant.tag, pending->first});
    pendingGrants_.erase(pending);
}

void Session::HandlePlayerGranted(ENetPeer* hostPeer, const wire::PlayerGranted& grant) {
    // Grants come in increasing order; one at or below the mark is stale.
    const bool fresh = grant.id > highestId_;
    highestId_ = std::max(highestId_, grant.id);
    if (fresh && grant.number != selfNumber_ && players_.size() + grants_.size() < MaxSessionPlayers)
        grants_[grant.id] = grant.number;
    SendTo(hostPeer, wire::PlayerGrantSeen{grant.id});
}

void Session::HandlePlayerIdReply(const wire::PlayerIdReply& reply) {
    auto it = idRequests_.find(reply.tag);
    if (it == idRequests_.end() || it->second.answered) {
        // The caller gave up waiting: take back the id the host reserved.
        if (reply.id != 0 && !players_.count(reply.id)) SendToAll(wire::Encode(wire::PlayerDestroyed{reply.id}), true);
        return;
    }
    it->second.answered = true;
    if (reply.id == 0 || players_.count(reply.id) || grants_.count(reply.id)) return changed_.notify_all();
    it->second.id = reply.id;
    changed_.notify_all();
}

void Session::HandlePlayerDestroyed(uint32_t owner, int32_t id) {
    auto it = players_.find(id);
    if (it != players_.end() && it->second->owner == owner) return ForgetPlayer(id);
    // The owner gave up on an id it had asked for.
    if (auto grant = grants_.find(id); grant != grants_.end() && grant->second == owner) grants_.erase(grant);
}

void Session::HandleApplication(const Link& link, wire::Application&& message, bool guaranteed) {
    auto sender = players_.find(message.from);
    if (sender == players_.end() || sender->second->owner != link.number) return;
    if (message.to != 0 && !queues_.count(message.to)) return;
    // A machine that would fill a queue beyond its bound is dropped, not waited for.
    if (guaranteed && !HasRoom(message.to, message.message.size())) return DropLater(link.number);
    if (message.to != 0) {
        Enqueue(message.to, {message.from, message.to, std::move(message.message)}, !guaranteed);
        return;
    }
    for (auto it = queues_.begin(); it != queues_.end(); ++it) {
        const bool last = std::next(it) == queues_.end();
        Enqueue(it->first, {message.from, it->first, last ? std::move(message.message) : message.message}, !guaranteed);
    }
}

std::optional<wire::EnumReply> Session::AnswerSearch(const wire::EnumRequest& request) const {
    if (!IsHost() || !SameText(request.application, description_.application)) return std::nullopt;
    wire::EnumReply reply{request.nonce, description_, static_cast<uint8_t>(players_.size()), linkPort_};
    reply.description.password.clear();
    return reply;
}

void Session::SendTo(ENetPeer* peer, const wire::LinkPacket& packet) { SendBytes(peer, wire::Encode(packet), true); }

void Session::SendBytes(ENetPeer* peer, const std::vector<uint8_t>& bytes, bool reliable) {
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet && enet_peer_send(peer, 0, packet) != 0) enet_packet_destroy(packet);
}

void Session::SendToAll(const std::vector<uint8_t>& bytes, bool reliable) {
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (!packet) return;
    for (const auto& [number, peer] : machines_) enet_peer_send(peer, 0, packet);
    if (packet->referenceCount == 0) enet_packet_destroy(packet);
}

void Session::Disconnect(ENetPeer* peer, Link& link) {
    link.role = Role::Leaving;
    enet_peer_disconnect_later(peer, 0);
}

ENetPeer* Session::PeerOf(uint32_t number) const {
    auto it = machines_.find(number);
    return it == machines_.end() ? nullptr : it->second;
}

bool Session::AddMember(ENetPeer* peer, Link& link, uint32_t number, const std::vector<wire::Player>& players) {
    if (!peer || number == 0 || number == selfNumber_ || machines_.count(number)) return false;
    link.role = Role::Member;
    link.number = number;
    machines_[number] = peer;
    highestNumber_ = std::max(highestNumber_, number);
    for (const wire::Player& player : players) LearnPlayer(player, number);
    return true;
}

void Session::LearnPlayer(const wire::Player& player, uint32_t owner) {
    // Only an id the host gave to this very machine, or a new id of the
    // host's own: an id seen before, alive or gone, is never taken again.
    if (players_.count(player.id)) return;
    auto grant = grants_.find(player.id);
    const bool granted = grant != grants_.end() && grant->second == owner;
    const bool hostsOwn = owner == hostNumber_ && player.id > highestId_;
    if ((!granted && !hostsOwn) || !MayCreate(owner)) return;
    if (!HasRoom(0, SystemMessageSize)) return DropLater(owner);
    if (granted) grants_.erase(grant);
    AddPlayer(player, owner);
}

bool Session::MayCreate(uint32_t owner) const {
    const auto created = creations_.find(owner);
    return players_.size() < MaxSessionPlayers &&
           (created == creations_.end() || created->second < CreationsPerMachine);
}

void Session::AddPlayer(const wire::Player& player, uint32_t owner) {
    players_[player.id] = std::make_shared<PlayerRecord>(PlayerRecord{player, owner});
    highestId_ = std::max(highestId_, player.id);
    ++creations_[owner];
    if (owner != selfNumber_) EnqueueSystem(SystemCreatePlayer, player.id, nullptr);
}

void Session::ForgetPlayer(int32_t id) {
    auto it = players_.find(id);
    if (it == players_.end()) return;
    std::shared_ptr<PlayerRecord> record = it->second;
    players_.erase(it);
    if (record->owner == selfNumber_ || queues_.empty()) return;
    // Its names stay readable until the game has taken its destroy message.
    departed_[id] = record;
    EnqueueSystem(SystemDestroyPlayer, id, record);
}

void Session::MachineGone(uint32_t number) {
    if (!machines_.erase(number)) return;
    std::vector<int32_t> owned;
    for (const auto& [id, record] : players_)
        if (record->owner == number) owned.push_back(id);
    for (int32_t id : owned) ForgetPlayer(id);
    std::erase_if(grants_, [&](const auto& grant) { return grant.second == number; });
    creations_.erase(number);
    for (auto it = pendingGrants_.begin(); it != pendingGrants_.end();) {
        const auto next = std::next(it);
        if (it->second.requester == number) {
            pendingGrants_.erase(it);
        } else if (it->second.awaiting.erase(number)) {
            ReplyGrant(it);
        }
        it = next;
    }
    if (number != hostNumber_) return;
    for (auto& [tag, request] : idRequests_) request.answered = true;
    if (join_ == Progress::Waiting) FinishJoin(Progress::Failed, error::NoSessions);
    BecomeHostIfElected();
    changed_.notify_all();
}

void Session::DropLater(uint32_t number) { dropping_.push_back(number); }

void Session::DropMachines() {
    for (uint32_t number : dropping_) {
        ENetPeer* peer = PeerOf(number);
        if (!peer) continue;
        links_.erase(peer);
        MachineGone(number);
        enet_peer_disconnect_now(peer, 0);
    }
    dropping_.clear();
}

void Session::BecomeHostIfElected() {
    if (!(description_.flags & SessionMigrateHost)) {
        hostNumber_ = 0;
        return;
    }
    hostNumber_ = machines_.empty() ? selfNumber_ : std::min(selfNumber_, machines_.begin()->first);
    if (!IsHost()) return;
    // In 64 bits, and never past the last id: a host that has run out of ids
    // refuses new players rather than handing one out twice.
    const int64_t skipped = std::max<int64_t>(nextId_, int64_t{highestId_} + 1 + IdSkip);
    nextId_ = static_cast<int32_t>(std::min<int64_t>(skipped, int64_t{MaxPlayerId} + 1));
    nextNumber_ = std::max(nextNumber_, highestNumber_ + 1 + NumberSkip);
    door_.Open(doorPort_);
    nextDoorTry_ = Clock::now() + DoorRetry;
    EnqueueSystem(SystemHost, 0, nullptr);
}

void Session::FinishJoin(Progress progress, int32_t failureNumber) {
    if (join_ != Progress::Waiting) return;
    join_ = progress;
    joinFailure_ = failureNumber;
    changed_.notify_all();
}

std::vector<wire::Player> Session::OwnPlayers() const {
    std::vector<wire::Player> own;
    for (const auto& [id, record] : players_)
        if (record->owner == selfNumber_) own.push_back(record->player);
    return own;
}

std::vector<wire::PlayerGranted> Session::OthersPlayers() const {
    std::vector<wire::PlayerGranted> others;
    for (const auto& [id, record] : players_)
        if (record->owner != selfNumber_) others.push_back({id, record->owner});
    for (const auto& [id, number] : grants_) others.push_back({id, number});
    return others;
}

void Session::Enqueue(int32_t to, ReceivedMessage message, bool droppable, std::shared_ptr<PlayerRecord> departed) {
    LocalQueue& queue = queues_[to];
    if (droppable && queue.unguaranteed >= QueueUnguaranteedCap) {
        auto oldest =
            std::find_if(queue.messages.begin(), queue.messages.end(), [](const Queued& q) { return q.droppable; });
        queue.messages.erase(oldest);
        --queue.unguaranteed;
    }
    if (droppable) {
        ++queue.unguaranteed;
    } else {
        queue.guaranteedBytes += QueuedCost(message.bytes.size());
    }
    queue.messages.push_back({nextOrder_++, std::move(message), droppable, std::move(departed)});
}

void Session::EnqueueSystem(int32_t code, int32_t id, const std::shared_ptr<PlayerRecord>& departed) {
    std::vector<uint8_t> bytes;
    ByteWriter writer(bytes);
    writer.I32(code);
    if (code != SystemHost) {
        writer.I32(PlayerTypePlayer);
        writer.I32(id);
    }
    for (auto& [localId, queue] : queues_) Enqueue(localId, {0, localId, bytes}, false, departed);
}

bool Session::HasRoom(int32_t to, size_t size) const {
    const size_t cost = QueuedCost(size);
    for (const auto& [id, queue] : queues_)
        if ((to == 0 || to == id) && queue.guaranteedBytes + cost > QueueGuaranteedBytes) return false;
    return true;
}

void Session::Release(const Queued& taken) {
    // The last queued destroy message of a player lets go of its names.
    if (taken.departed && taken.departed.use_count() == 1) departed_.erase(taken.departed->player.id);
}

// The game's side.

int32_t Session::CreatePlayer(const std::string& friendlyName, const std::string& formalName) {
    if (friendlyName.size() > MaxStringLength || formalName.size() > MaxStringLength)
        throw Failure(error::InvalidParams, "player name longer than allowed");
    std::unique_lock lock(mutex_);
    if (!MayCreate(selfNumber_)) throw Failure(error::CantAddPlayer, "no more players can be created here");
    if (IsHost()) {
        if (players_.size() >= static_cast<size_t>(description_.maxPlayers))
            throw Failure(error::CantAddPlayer, "the session is full");
        if (nextId_ > MaxPlayerId) throw Failure(error::CantAddPlayer, "the session has run out of player ids");
        return AddLocalPlayer({nextId_++, friendlyName, formalName});
    }
    if (!machines_.count(hostNumber_)) throw Failure(error::NoConnection, "the session has no host");
    const uint32_t tag = nextTag_++;
    idRequests_[tag] = {};
    SendTo(PeerOf(hostNumber_), wire::PlayerIdRequest{tag, friendlyName, formalName});
    enet_host_flush(host_);
    changed_.wait_for(lock, PlayerIdTimeout, [&] { return idRequests_[tag].answered; });
    const IdRequest request = idRequests_[tag];
    idRequests_.erase(tag);
    if (!request.answered) throw Failure(error::Timeout, "the session host did not answer");
    if (request.id == 0) throw Failure(error::CantAddPlayer, "the session refused the player");
    return AddLocalPlayer({request.id, friendlyName, formalName});
}

int32_t Session::AddLocalPlayer(const wire::Player& player) {
    AddPlayer(player, selfNumber_);
    queues_[player.id];
    // Announced before any message this player can send.
    SendToAll(wire::Encode(wire::PlayerCreated{player}), true);
    enet_host_flush(host_);
    return player.id;
}

void Session::DestroyPlayer(int32_t id) {
    std::lock_guard lock(mutex_);
    auto it = players_.find(id);
    if (it == players_.end() || it->second->owner != selfNumber_)
        throw Failure(error::InvalidPlayer, "not a local player");
    ForgetPlayer(id);
    queues_.erase(id);
    std::erase_if(departed_, [](const auto& departed) { return departed.second.expired(); });
    SendToAll(wire::Encode(wire::PlayerDestroyed{id}), true);
    enet_host_flush(host_);
}

std::vector<PlayerEntry> Session::Players() const {
    std::lock_guard lock(mutex_);
    std::vector<PlayerEntry> entries;
    for (const auto& [id, record] : players_)
        entries.push_back({id, record->player.friendlyName, record->player.formalName});
    return entries;
}

std::shared_ptr<Session::PlayerRecord> Session::RecordOf(int32_t id) const {
    std::shared_ptr<PlayerRecord> record;
    if (auto it = players_.find(id); it != players_.end()) record = it->second;
    if (auto it = departed_.find(id); !record && it != departed_.end()) record = it->second.lock();
    if (!record) throw Failure(error::InvalidPlayer, "no such player in the session");
    return record;
}

PlayerEntry Session::Player(int32_t id) const {
    std::lock_guard lock(mutex_);
    const auto record = RecordOf(id);
    return {id, record->player.friendlyName, record->player.formalName};
}

// Asked for every message a game receives: a present player's name is read
// in place, without taking a handle on its record.
void Session::FriendlyName(int32_t id, std::string& name) const {
    std::lock_guard lock(mutex_);
    if (const auto present = players_.find(id); present != players_.end() && present->second)
        name.assign(present->second->player.friendlyName);
    else
        name.assign(RecordOf(id)->player.friendlyName);
}

size_t Session::MessageCount(int32_t localId) {
    std::lock_guard lock(mutex_);
    auto it = queues_.find(localId);
    if (it == queues_.end()) throw Failure(error::InvalidPlayer, "not a local player");
    if (it->second.messages.empty()) {
        ServiceLocked();
        enet_host_flush(host_);
        lastGameService_ = Clock::now().time_since_epoch().count();
    }
    return it->second.messages.size();
}

ReceivedMessage Session::Receive() {
    Queued taken;
    {
        std::lock_guard lock(mutex_);
        LocalQueue* oldest = nullptr;
        for (auto& [id, queue] : queues_)
            if (!queue.messages.empty() && (!oldest || queue.messages.front().order < oldest->messages.front().order))
                oldest = &queue;
        if (!oldest) throw Failure(error::NoMessages, "no message waiting");
        taken = std::move(oldest->messages.front());
        oldest->messages.pop_front();
        if (taken.droppable) {
            --oldest->unguaranteed;
        } else {
            oldest->guaranteedBytes -= QueuedCost(taken.message.bytes.size());
        }
        Release(taken);
    }
    return std::move(taken.message);
}

void Session::Send(int32_t from, int32_t to, bool guaranteed, const std::vector<uint8_t>& message) {
    if (message.size() > MaxMessageSize) throw Failure(error::TooLong, "message longer than allowed");
    std::lock_guard lock(mutex_);
    if (!queues_.count(from)) throw Failure(error::InvalidPlayer, "the sender is not a local player");
    uint32_t owner = 0;
    if (to != 0) {
        auto it = players_.find(to);
        if (it == players_.end()) throw Failure(error::InvalidPlayer, "no such player in the session");
        owner = it->second->owner;
    }
    for (auto& [localId, queue] : queues_)
        if (localId != from && (to == 0 || to == localId)) Enqueue(localId, {from, localId, message}, !guaranteed);
    if (owner == selfNumber_) return;
    const std::vector<uint8_t> bytes = wire::Encode(wire::Application{from, to, message});
    if (owner == 0) {
        SendToAll(bytes, guaranteed);
    } else if (ENetPeer* peer = PeerOf(owner)) {
        SendBytes(peer, bytes, guaranteed);
    }
    // Sends go out at once, but from the third of a burst on they are left
    // to the network thread, so that the burst shares datagrams.
    burstLength_ = Clock::now() - lastSend_ < BurstGap ? burstLength_ + 1 : 0;
    if (burstLength_ < 2) {
        enet_host_flush(host_);
    } else {
        FlushSoon();
    }
    lastSend_ = Clock::now();
}

wire::Description Session::Description() const {
    std::lock_guard lock(mutex_);
    return description_;
}

int Session::CurrentPlayers() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(players_.size());
}

void Session::SetDescription(const wire::Description& description) {
    std::lock_guard lock(mutex_);
    wire::Description changed = description;
    changed.instance = description_.instance;
    // Every sender of a start message writes the description back as it read
    // it; that changes nothing, so any member may do it.
    if (changed == description_) return;
    if (!IsHost()) throw Failure(error::AccessDenied, "only the session host may change the session");
    CheckDescription(description);
    description_ = changed;
    SendToAll(wire::Encode(wire::SessionDesc{changed}), true);
    enet_host_flush(host_);
}

}  // namespace play
