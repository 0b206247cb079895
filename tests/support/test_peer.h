#pragma once

// Test peers: bare machines of a session on loopback that a test drives
// beside the machine under test (the test process's own game state). A
// LocalPeer runs in the test's process; a ChildPeer runs in a process of its
// own, so it can also be killed or frozen. Both connect to 127.0.0.1 at the
// test's play port (PlayTest sets QUELLMAR_PLAY_PORT; make peers after it).
//
//     ChildPeer peer;
//     peer.Join();                                    // item 1 of a search
//     const int32_t id = peer.CreatePlayer("bob", "03");
//     peer.Send(id, 0, play::SendGuaranteed, Message(5, "hello"));
//     for (const Received& r : peer.ReceiveAtLeast(1)) ...
//
// A step that fails throws the session layer's Failure, with its number, from
// either kind of peer.

#include "support/play_fixture.h"

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace play_test {

// A session as a peer creates it, or as a search finds it.
struct SessionInfo {
    std::string name = "Peer (COULOIRS)";
    int32_t maxPlayers = 4;
    int32_t flags = 4;  // the host role moves
    std::string application = App;
    int32_t currentPlayers = 0;  // found by a search; not used to create
    bool operator==(const SessionInfo&) const = default;
};

struct PlayerInfo {
    int32_t id = 0;
    std::string friendlyName;
    std::string formalName;
    bool operator==(const PlayerInfo&) const = default;
};

// A message made of `fields` in order: an int32_t is a Long, a double a
// Double, a uint8_t a Byte, a text a String.
inline void WriteField(play::DirectPlayMessage& message, int32_t value) { message.WriteLong(value); }
inline void WriteField(play::DirectPlayMessage& message, double value) { message.WriteDouble(value); }
inline void WriteField(play::DirectPlayMessage& message, uint8_t value) { message.WriteByte(value); }
inline void WriteField(play::DirectPlayMessage& message, const std::string& value) { message.WriteString(value); }
template <class... Fields>
play::DirectPlayMessage Message(const Fields&... fields) {
    play::DirectPlayMessage message;
    (WriteField(message, fields), ...);
    return message;
}

class Peer {
public:
    virtual ~Peer() = default;

    // Opens a session that this peer hosts.
    virtual void Create(const SessionInfo& session = {}) = 0;
    // The available (not full) sessions of `application`.
    virtual std::vector<SessionInfo> Find(const std::string& application = App) = 0;
    // Joins item `item` (from 1) of a new search.
    virtual void Join(int32_t item = 1) = 0;
    virtual int32_t CreatePlayer(const std::string& friendlyName, const std::string& formalName) = 0;
    virtual void DestroyPlayer(int32_t id) = 0;
    // The session's players, in join order.
    virtual std::vector<PlayerInfo> Players() = 0;
    // From one of this peer's players to one player or 0 (all others); flags
    // 0 or play::SendGuaranteed.
    virtual void Send(int32_t from, int32_t to, int32_t flags, const play::DirectPlayMessage& message) = 0;
    // Everything waiting now for this peer's players, oldest first.
    virtual std::vector<Received> Receive() = 0;
    // Destroys this peer's players and leaves the session; the others see
    // each player destroyed.
    virtual void Leave() = 0;

    // Waits until `count` messages have come (or `timeout` passes).
    std::vector<Received> ReceiveAtLeast(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5));
};

class LocalPeer : public Peer {
public:
    LocalPeer();
    void Create(const SessionInfo& session = {}) override;
    std::vector<SessionInfo> Find(const std::string& application = App) override;
    void Join(int32_t item = 1) override;
    int32_t CreatePlayer(const std::string& friendlyName, const std::string& formalName) override;
    void DestroyPlayer(int32_t id) override;
    std::vector<PlayerInfo> Players() override;
    void Send(int32_t from, int32_t to, int32_t flags, const play::DirectPlayMessage& message) override;
    std::vector<Received> Receive() override;
    void Leave() override;

private:
    std::shared_ptr<play::DirectPlay> dp_;
    std::vector<int32_t> ownPlayers_;
};

class ChildPeer : public Peer {
public:
    ChildPeer();
    // Leaves like Leave, then ends the process (killed if it does not end).
    ~ChildPeer() override;
    ChildPeer(const ChildPeer&) = delete;
    ChildPeer& operator=(const ChildPeer&) = delete;

    void Create(const SessionInfo& session = {}) override;
    std::vector<SessionInfo> Find(const std::string& application = App) override;
    void Join(int32_t item = 1) override;
    int32_t CreatePlayer(const std::string& friendlyName, const std::string& formalName) override;
    void DestroyPlayer(int32_t id) override;
    std::vector<PlayerInfo> Players() override;
    void Send(int32_t from, int32_t to, int32_t flags, const play::DirectPlayMessage& message) override;
    std::vector<Received> Receive() override;
    void Leave() override;

    // Ends the process with SIGKILL: the others see its players go without a
    // goodbye.
    void Kill();
    // Freezes the process: it stays, but neither it nor its network answers.
    void Stop();
    // Closes the process's input, which makes it leave and end; returns
    // whether it ended within a few seconds.
    bool Quit();

private:
    // Sends one request line and returns the reply's words after "ok"; a
    // "fail" reply throws its Failure.
    std::string Call(const std::string& request);
    std::string ReadLine(const std::string& request);
    bool WaitForExit(std::chrono::milliseconds timeout);

    pid_t pid_ = -1;
    int link_ = -1;        // the process's standard input and output
    std::string pending_;  // read from the process beyond the last reply
};

// The process side of a ChildPeer: serves request lines from standard input
// until it closes, then leaves the session. The child peer program's main.
int ServeChildPeer();

}  // namespace play_test
