// The lobby's server list filled from a reply of 5,000 games: the parse of
// the reply and the walk of its elements into the list and the game table,
// against the parse of the same reply alone, measured in the same run.
// `fill_over_parse`, within 2 the walk costs at most as much as the parse.

#include "bench_main.h"
#include "multiplayer/session_list.h"
#include "platform/net/xml_document.h"
#include "web/game_list.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kGames = 5000;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string Reply() {
    std::string reply = "<?xml version=\"1.0\"?><SERVEURS>";
    for (int i = 0; i < kGames; ++i) {
        const std::string n = std::to_string(i);
        reply += "<CLE_SERVEUR>" + n + "</CLE_SERVEUR><CLE_JOUEUR>" + n + "</CLE_JOUEUR><NOM>player " + n +
                 "</NOM><VERSION>2.11.0</VERSION><IP>10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250) +
                 "</IP><COMMENT>a game on the docks, come and play " + n + "</COMMENT>";
    }
    return reply + "</SERVEURS>";
}

void BM_FillServerListAgainstParse(benchmark::State& state) {
    const std::string reply = Reply();
    double fill = 0, parse = 0;
    for (auto _ : state) {
        const double before = fill + parse;
        {
            const Clock::time_point start = Clock::now();
            net::DOMDocument document;
            benchmark::DoNotOptimize(document.LoadXml(reply));
            parse += Seconds(start);
        }
        {
            EmptyGameList();
            const Clock::time_point start = Clock::now();
            net::DOMDocument document;
            document.LoadXml(reply);
            FillGameList(document.DocumentElement(), SessionsWindow().lstserv);
            fill += Seconds(start);
        }
        if (SessionsWindow().lstserv.ListCount() != kGames) state.SkipWithError("the list is not filled");
        state.SetIterationTime(fill + parse - before);
    }
    state.counters["fill_ms"] = fill * 1e3 / double(state.iterations());
    state.counters["parse_ms"] = parse * 1e3 / double(state.iterations());
    state.counters["fill_over_parse"] = fill / parse;
}
BENCHMARK(BM_FillServerListAgainstParse)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInApplication(argc, argv); }
