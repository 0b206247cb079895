#include "support/play_fixture.h"

#include "platform/play/errors.h"
#include "support/free_port.h"

#include <thread>

namespace play_test {

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

Machine::Machine() { dp->InitializeConnection(play::DirectPlayLobbyCreate()->CreateINetAddress("127.0.0.1", 0)); }

void Machine::Host(const std::string& name, int32_t maxPlayers, int32_t flags) {
    auto data = dp->CreateSessionData();
    data->SetGuidApplication(App);
    data->SetSessionName("Game (ENTREPOT)");
    data->SetMaxPlayers(maxPlayers);
    data->SetFlags(flags);
    data->SetSessionPassword("");
    dp->Open(data, play::OpenCreate);
    id = dp->CreatePlayer(name, "0" + name, 0, 0);
}

std::shared_ptr<play::DirectPlayEnumSessions> Machine::Search(int32_t flags) { return SearchSessions(*dp, App, flags); }

void Machine::Join(const std::string& name) {
    auto sessions = Search();
    ASSERT_EQ(sessions->GetCount(), 1);
    dp->Open(sessions->GetItem(1), play::OpenJoin);
    id = dp->CreatePlayer(name, "1" + name, 0, 0);
}

std::vector<Received> Machine::Drain() { return TakeWaiting(*dp, {id}); }

std::vector<Received> Machine::DrainAtLeast(size_t count, std::chrono::milliseconds timeout) {
    return TakeAtLeast([this] { return Drain(); }, count, timeout);
}

std::vector<int32_t> Machine::PlayerIds() {
    auto players = dp->GetDPEnumPlayers("", 0);
    std::vector<int32_t> ids;
    for (int32_t i = 1; i <= players->GetCount(); ++i) ids.push_back(players->GetDPID(i));
    return ids;
}

Received Arrived(int32_t from, int32_t to, std::shared_ptr<play::DirectPlayMessage> message) {
    Received r{from, to, std::move(message), 0};
    if (r.message->Bytes().size() >= sizeof(int32_t)) r.code = r.message->ReadLong();
    return r;
}

std::vector<Received> TakeWaiting(play::DirectPlay& dp, const std::vector<int32_t>& ids) {
    const auto waiting = [&] {
        int32_t count = 0;
        for (int32_t id : ids) count += dp.GetMessageCount(id);
        return count;
    };
    std::vector<Received> all;
    while (!ids.empty() && waiting() > 0) {
        int32_t from = 0, to = 0;
        auto message = dp.Receive(from, to, play::ReceiveAll);
        all.push_back(Arrived(from, to, std::move(message)));
    }
    return all;
}

std::vector<Received> TakeAtLeast(const std::function<std::vector<Received>()>& take, size_t count,
                                  std::chrono::milliseconds timeout) {
    std::vector<Received> all;
    WaitFor(
        [&] {
            for (Received& r : take()) all.push_back(r);
            return all.size() >= count;
        },
        timeout);
    return all;
}

std::shared_ptr<play::DirectPlayEnumSessions> SearchSessions(play::DirectPlay& dp, const std::string& application,
                                                             int32_t flags) {
    auto wanted = dp.CreateSessionData();
    wanted->SetGuidApplication(application);
    wanted->SetSessionPassword("");
    return dp.GetDPEnumSessions(wanted, 0, flags);
}

void PlayTest::SetUp() { port_ = UseFreePlayPort(); }

std::vector<std::pair<int32_t, int32_t>> SystemMessages(const std::vector<Received>& messages) {
    std::vector<std::pair<int32_t, int32_t>> system;
    for (const Received& r : messages) {
        if (r.from != 0) continue;
        int32_t id = 0;
        if (r.code != 0x101) {
            r.message->ReadLong();  // player type
            id = r.message->ReadLong();
        }
        system.emplace_back(r.code, id);
    }
    return system;
}

}  // namespace play_test
