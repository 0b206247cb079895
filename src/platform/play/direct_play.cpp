#include "platform/play/direct_play.h"

#include "platform/failure.h"
#include "platform/play/door.h"
#include "platform/play/errors.h"
#include "platform/play/session.h"

#include <cstdio>
#include <random>

namespace play {
namespace {

constexpr uint32_t DefaultSearchMs = 500;

template <class T>
const T& Object(const std::shared_ptr<T>& object) {
    if (!object) throw Failure(failure_number::ObjectNotSet, "Object variable not set");
    return *object;
}

std::string NewInstanceGuid() {
    std::random_device random;
    uint32_t w[4] = {random(), random(), random(), random()};
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%04X-%04X%08X}", w[0], w[1] >> 16, w[1] & 0xFFFF, w[2] >> 16,
                  w[2] & 0xFFFF, w[3]);
    return text;
}

}  // namespace

DirectPlay::DirectPlay() = default;
DirectPlay::~DirectPlay() = default;

std::shared_ptr<DirectPlayEnumConnections> DirectPlay::GetDPEnumConnections(const std::string&, int32_t) {
    return std::make_shared<DirectPlayEnumConnections>();
}

void DirectPlay::InitializeConnection(const std::shared_ptr<DirectPlayAddress>& address) {
    if (address_) throw Failure(error::AlreadyInitialized, "the connection is already initialised");
    address_ = std::make_shared<DirectPlayAddress>(Object(address));
}

std::shared_ptr<DirectPlayEnumSessions> DirectPlay::GetDPEnumSessions(
    const std::shared_ptr<DirectPlaySessionData>& data, int32_t timeoutMs, int32_t flags) {
    const DirectPlaySessionData& wanted = Object(data);
    if (!address_) throw Failure(error::Uninitialized, "the connection is not initialised");
    const uint32_t wait = timeoutMs > 0 ? static_cast<uint32_t>(timeoutMs) : DefaultSearchMs;
    std::vector<std::shared_ptr<DirectPlaySessionData>> items;
    for (const FoundSession& found :
         FindSessions(address_->Host(), address_->Port(), wanted.GetGuidApplication(), wait)) {
        if ((flags & EnumSessionsAvailable) && found.currentPlayers >= found.description.maxPlayers) continue;
        auto item = std::make_shared<DirectPlaySessionData>();
        item->Fill(found.description, found.currentPlayers);
        item->SetHost(found.hostIpv4, found.linkPort);
        items.push_back(std::move(item));
    }
    return std::make_shared<DirectPlayEnumSessions>(std::move(items));
}

std::shared_ptr<DirectPlaySessionData> DirectPlay::CreateSessionData() {
    return std::make_shared<DirectPlaySessionData>();
}

void DirectPlay::GetSessionDesc(const std::shared_ptr<DirectPlaySessionData>& data) {
    Object(data);
    Session& session = InSession(error::NotInSession);
    data->Fill(session.Description(), session.CurrentPlayers());
}

void DirectPlay::SetSessionDesc(const std::shared_ptr<DirectPlaySessionData>& data) {
    const DirectPlaySessionData& wanted = Object(data);
    InSession(error::NotInSession).SetDescription(wanted.Description());
}

void DirectPlay::Open(const std::shared_ptr<DirectPlaySessionData>& data, int32_t flags) {
    const DirectPlaySessionData& wanted = Object(data);
    if (!address_) throw Failure(error::Uninitialized, "the connection is not initialised");
    if (session_) throw Failure(error::AlreadyInSession, "already in a session");
    if (flags == OpenCreate) {
        wire::Description description = wanted.Description();
        description.instance = NewInstanceGuid();
        session_ = Session::Create(std::move(description), address_->Port());
    } else if (flags == OpenJoin) {
        if (wanted.LinkPort() == 0) throw Failure(error::InvalidParams, "not a session found by a search");
        session_ = Session::Join(
            {wanted.HostIpv4(), wanted.LinkPort(), wanted.Description().instance, wanted.GetSessionPassword()},
            address_->Port());
    } else {
        throw Failure(error::InvalidParams, "open is 1 (join) or 2 (create)");
    }
}

void DirectPlay::Close() { session_.reset(); }

int32_t DirectPlay::CreatePlayer(const std::string& friendlyName, const std::string& formalName, int32_t, int32_t) {
    return InSession(error::NotInSession).CreatePlayer(friendlyName, formalName);
}

void DirectPlay::DestroyPlayer(int32_t id) { InSession(error::InvalidPlayer).DestroyPlayer(id); }

std::shared_ptr<DirectPlayEnumPlayers> DirectPlay::GetDPEnumPlayers(const std::string&, int32_t) {
    return std::make_shared<DirectPlayEnumPlayers>(InSession(error::NotInSession).Players());
}

std::string DirectPlay::GetPlayerFriendlyName(int32_t id) {
    return InSession(error::InvalidPlayer).Player(id).friendlyName;
}

void DirectPlay::GetPlayerFriendlyName(int32_t id, std::string& name) {
    InSession(error::InvalidPlayer).FriendlyName(id, name);
}

std::string DirectPlay::GetPlayerFormalName(int32_t id) {
    return InSession(error::InvalidPlayer).Player(id).formalName;
}

int32_t DirectPlay::GetMessageCount(int32_t id) {
    return static_cast<int32_t>(InSession(error::InvalidPlayer).MessageCount(id));
}

std::shared_ptr<DirectPlayMessage> DirectPlay::Receive(int32_t& from, int32_t& to, int32_t flags) {
    if (!(flags & ReceiveAll)) throw Failure(error::InvalidParams, "receive takes flag 1 (any message)");
    ReceivedMessage received = InSession(error::NoMessages).Receive();
    from = received.from;
    to = received.to;
    return std::make_shared<DirectPlayMessage>(std::move(received.bytes));
}

std::shared_ptr<DirectPlayMessage> DirectPlay::CreateMessage() { return std::make_shared<DirectPlayMessage>(); }

void DirectPlay::Send(int32_t from, int32_t to, int32_t flags, const std::shared_ptr<DirectPlayMessage>& message) {
    const DirectPlayMessage& sent = Object(message);
    InSession(error::InvalidPlayer).Send(from, to, flags & SendGuaranteed, sent.Bytes());
}

Session& DirectPlay::InSession(int32_t failureNumber) const {
    if (!session_) throw Failure(failureNumber, "not in a session");
    return *session_;
}

std::shared_ptr<DirectPlay> DirectPlayCreate(const std::string& providerKey) {
    if (!providerKey.empty()) throw Failure(error::InvalidParams, "unknown provider " + providerKey);
    return std::make_shared<DirectPlay>();
}

}  // namespace play
