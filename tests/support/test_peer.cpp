#include "support/test_peer.h"

#include "platform/play/errors.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace play_test {
namespace {

// A child peer may wait this long on the session (a join, a player id).
constexpr auto kReplyTimeout = std::chrono::seconds(20);
constexpr auto kExitTimeout = std::chrono::seconds(3);

// Texts and message bytes travel between the processes as one word each:
// "x" and two hex digits per byte, so that an empty text is a word too.
std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string word = "x";
    for (unsigned char c : bytes) {
        word += kDigits[c >> 4];
        word += kDigits[c & 15];
    }
    return word;
}

std::string ReadHex(std::istream& in) {
    std::string word;
    in >> word;
    if (word.empty() || word[0] != 'x' || word.size() % 2 != 1) throw std::runtime_error("bad word: " + word);
    std::string bytes;
    for (size_t i = 1; i < word.size(); i += 2) bytes += static_cast<char>(std::stoi(word.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
    return Hex({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::vector<uint8_t> ReadHexBytes(std::istream& in) {
    const std::string bytes = ReadHex(in);
    return {bytes.begin(), bytes.end()};
}

template <class T>
T Read(std::istream& in) {
    T value{};
    if (!(in >> value)) throw std::runtime_error("bad number");
    return value;
}

// The child's requests: a word naming the step, then its arguments; the
// reply's words follow "ok".
using Handler = std::function<void(LocalPeer&, std::istream&, std::ostream&)>;
const std::map<std::string, Handler>& Handlers() {
    static const std::map<std::string, Handler> handlers = {
        {"create",
         [](LocalPeer& peer, std::istream& in, std::ostream&) {
             SessionInfo session;
             session.name = ReadHex(in);
             session.maxPlayers = Read<int32_t>(in);
             session.flags = Read<int32_t>(in);
             session.application = ReadHex(in);
             peer.Create(session);
         }},
        {"find",
         [](LocalPeer& peer, std::istream& in, std::ostream& out) {
             const auto found = peer.Find(ReadHex(in));
             out << ' ' << found.size();
             for (const SessionInfo& s : found)
                 out << ' ' << Hex(s.name) << ' ' << s.maxPlayers << ' ' << s.flags << ' ' << Hex(s.application) << ' '
                     << s.currentPlayers;
         }},
        {"join", [](LocalPeer& peer, std::istream& in, std::ostream&) { peer.Join(Read<int32_t>(in)); }},
        {"player",
         [](LocalPeer& peer, std::istream& in, std::ostream& out) {
             const std::string friendlyName = ReadHex(in);
             out << ' ' << peer.CreatePlayer(friendlyName, ReadHex(in));
         }},
        {"destroy", [](LocalPeer& peer, std::istream& in, std::ostream&) { peer.DestroyPlayer(Read<int32_t>(in)); }},
        {"players",
         [](LocalPeer& peer, std::istream&, std::ostream& out) {
             const auto players = peer.Players();
             out << ' ' << players.size();
             for (const PlayerInfo& p : players)
                 out << ' ' << p.id << ' ' << Hex(p.friendlyName) << ' ' << Hex(p.formalName);
         }},
        {"send",
         [](LocalPeer& peer, std::istream& in, std::ostream&) {
             const auto from = Read<int32_t>(in), to = Read<int32_t>(in), flags = Read<int32_t>(in);
             peer.Send(from, to, flags, play::DirectPlayMessage(ReadHexBytes(in)));
         }},
        {"receive",
         [](LocalPeer& peer, std::istream&, std::ostream& out) {
             const auto received = peer.Receive();
             out << ' ' << received.size();
             for (const Received& r : received)
                 out << ' ' << r.from << ' ' << r.to << ' ' << HexBytes(r.message->Bytes());
         }},
        {"leave", [](LocalPeer& peer, std::istream&, std::ostream&) { peer.Leave(); }},
    };
    return handlers;
}

}  // namespace

std::vector<Received> Peer::ReceiveAtLeast(size_t count, std::chrono::milliseconds timeout) {
    return TakeAtLeast([this] { return Receive(); }, count, timeout);
}

// In the test's process.

LocalPeer::LocalPeer() : dp_(play::DirectPlayCreate("")) {
    dp_->InitializeConnection(play::DirectPlayLobbyCreate()->CreateINetAddress("127.0.0.1", 0));
}

void LocalPeer::Create(const SessionInfo& session) {
    auto data = dp_->CreateSessionData();
    data->SetSessionName(session.name);
    data->SetMaxPlayers(session.maxPlayers);
    data->SetFlags(session.flags);
    data->SetGuidApplication(session.application);
    data->SetSessionPassword("");
    dp_->Open(data, play::OpenCreate);
}

std::vector<SessionInfo> LocalPeer::Find(const std::string& application) {
    const auto found = SearchSessions(*dp_, application, play::EnumSessionsAvailable);
    std::vector<SessionInfo> sessions;
    for (int32_t i = 1; i <= found->GetCount(); ++i) {
        const auto item = found->GetItem(i);
        sessions.push_back({item->GetSessionName(), item->GetMaxPlayers(), item->GetFlags(), item->GetGuidApplication(),
                            item->GetCurrentPlayers()});
    }
    return sessions;
}

void LocalPeer::Join(int32_t item) {
    dp_->Open(SearchSessions(*dp_, App, play::EnumSessionsAvailable)->GetItem(item), play::OpenJoin);
}

int32_t LocalPeer::CreatePlayer(const std::string& friendlyName, const std::string& formalName) {
    const int32_t id = dp_->CreatePlayer(friendlyName, formalName, 0, 0);
    ownPlayers_.push_back(id);
    return id;
}

void LocalPeer::DestroyPlayer(int32_t id) {
    dp_->DestroyPlayer(id);
    std::erase(ownPlayers_, id);
}

std::vector<PlayerInfo> LocalPeer::Players() {
    const auto players = dp_->GetDPEnumPlayers("", 0);
    std::vector<PlayerInfo> all;
    for (int32_t i = 1; i <= players->GetCount(); ++i)
        all.push_back({players->GetDPID(i), players->GetShortName(i), players->GetLongName(i)});
    return all;
}

void LocalPeer::Send(int32_t from, int32_t to, int32_t flags, const play::DirectPlayMessage& message) {
    dp_->Send(from, to, flags, std::make_shared<play::DirectPlayMessage>(message));
}

std::vector<Received> LocalPeer::Receive() { return TakeWaiting(*dp_, ownPlayers_); }

void LocalPeer::Leave() {
    for (int32_t id : ownPlayers_) dp_->DestroyPlayer(id);
    ownPlayers_.clear();
    dp_->Close();
}

int ServeChildPeer() {
    LocalPeer peer;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream request(line);
        std::ostringstream reply;
        std::string step;
        request >> step;
        try {
            const auto handler = Handlers().find(step);
            if (handler == Handlers().end()) throw Failure(play::error::InvalidParams, "no such step: " + step);
            handler->second(peer, request, reply);
            std::cout << "ok" << reply.str() << std::endl;
        } catch (const Failure& failure) {
            std::cout << "fail " << failure.Number() << ' ' << Hex(failure.Description()) << std::endl;
        }
    }
    skip([&] { peer.Leave(); });
    return 0;
}

// In a process of its own.

ChildPeer::ChildPeer() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) throw std::runtime_error("socketpair");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    char* argv[] = {const_cast<char*>(QUELLMAR_CHILD_PEER_PATH), nullptr};
    const int spawned = posix_spawn(&pid_, QUELLMAR_CHILD_PEER_PATH, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    link_ = ends[0];
    if (spawned != 0) {
        close(ends[0]);
        throw std::runtime_error("the child peer did not start");
    }
}

ChildPeer::~ChildPeer() {
    if (pid_ > 0) kill(pid_, SIGCONT);
    if (pid_ > 0 && !Quit()) Kill();
    close(link_);
}

void ChildPeer::Create(const SessionInfo& session) {
    Call("create " + Hex(session.name) + ' ' + std::to_string(session.maxPlayers) + ' ' +
         std::to_string(session.flags) + ' ' + Hex(session.application));
}

std::vector<SessionInfo> ChildPeer::Find(const std::string& application) {
    std::istringstream reply(Call("find " + Hex(application)));
    std::vector<SessionInfo> sessions(Read<size_t>(reply));
    for (SessionInfo& s : sessions) {
        s.name = ReadHex(reply);
        s.maxPlayers = Read<int32_t>(reply);
        s.flags = Read<int32_t>(reply);
        s.application = ReadHex(reply);
        s.currentPlayers = Read<int32_t>(reply);
    }
    return sessions;
}

void ChildPeer::Join(int32_t item) { Call("join " + std::to_string(item)); }

int32_t ChildPeer::CreatePlayer(const std::string& friendlyName, const std::string& formalName) {
    std::istringstream reply(Call("player " + Hex(friendlyName) + ' ' + Hex(formalName)));
    return Read<int32_t>(reply);
}

void ChildPeer::DestroyPlayer(int32_t id) { Call("destroy " + std::to_string(id)); }

std::vector<PlayerInfo> ChildPeer::Players() {
    std::istringstream reply(Call("players"));
    std::vector<PlayerInfo> players(Read<size_t>(reply));
    for (PlayerInfo& p : players) {
        p.id = Read<int32_t>(reply);
        p.friendlyName = ReadHex(reply);
        p.formalName = ReadHex(reply);
    }
    return players;
}

void ChildPeer::Send(int32_t from, int32_t to, int32_t flags, const play::DirectPlayMessage& message) {
    Call("send " + std::to_string(from) + ' ' + std::to_string(to) + ' ' + std::to_string(flags) + ' ' +
         HexBytes(message.Bytes()));
}

std::vector<Received> ChildPeer::Receive() {
    std::istringstream reply(Call("receive"));
    std::vector<Received> received;
    for (size_t n = Read<size_t>(reply); n > 0; --n) {
        const auto from = Read<int32_t>(reply), to = Read<int32_t>(reply);
        received.push_back(Arrived(from, to, std::make_shared<play::DirectPlayMessage>(ReadHexBytes(reply))));
    }
    return received;
}

void ChildPeer::Leave() { Call("leave"); }

void ChildPeer::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void ChildPeer::Stop() {
    if (pid_ > 0) kill(pid_, SIGSTOP);
}

bool ChildPeer::Quit() {
    shutdown(link_, SHUT_WR);
    return WaitForExit(kExitTimeout);
}

std::string ChildPeer::Call(const std::string& request) {
    const std::string line = request + '\n';
    if (send(link_, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size()))
        throw std::runtime_error("the child peer is gone");
    std::istringstream reply(ReadLine(request));
    std::string status;
    reply >> status;
    if (status == "fail") {
        const auto number = Read<int32_t>(reply);
        throw Failure(number, ReadHex(reply));
    }
    if (status != "ok") throw std::runtime_error("the child peer said: " + reply.str());
    return reply.str().substr(status.size());
}

std::string ChildPeer::ReadLine(const std::string& request) {
    const auto deadline = std::chrono::steady_clock::now() + kReplyTimeout;
    size_t end;
    while ((end = pending_.find('\n')) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{link_, POLLIN, 0};
        char buffer[4096];
        ssize_t got = 0;
        if (left.count() > 0 && poll(&ready, 1, static_cast<int>(left.count())) > 0)
            got = recv(link_, buffer, sizeof buffer, 0);
        if (got <= 0) throw std::runtime_error("the child peer did not answer: " + request);
        pending_.append(buffer, static_cast<size_t>(got));
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

bool ChildPeer::WaitForExit(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) return true;
    const bool gone = WaitFor([&] { return waitpid(pid_, nullptr, WNOHANG) == pid_; }, timeout);
    if (gone) pid_ = -1;
    return gone;
}

}  // namespace play_test
