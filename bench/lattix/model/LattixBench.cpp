// Google Benchmark cases of the grid data layer: sorts of the two big lists and row
// appends. The text order follows the user's collation locale.

#include "Workload.h"

#include "lattix/model/Collator.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

using namespace Lattix;

const std::vector<Workload::Server>& Servers()
{
    static const std::vector<Workload::Server> servers = Workload::MakeServers(3000, 10, 2024);
    return servers;
}

void FillPlayers(CTable& players)
{
    for (const Workload::Server& server : Servers()) {
        for (const Workload::Player& player : server.players)
            Workload::AddPlayerRow(players, server, player);
    }
}

void Shuffle(CTable& table, int noiseColumn, std::mt19937& random)
{
    for (int r = 0; r < table.GetRowCount(); ++r)
        table.GetCell(r, noiseColumn)->Set(static_cast<int>(random()));
    const CSortKey byNoise{noiseColumn, false};
    table.Sort({&byNoise, 1});
}

// 30,000 player rows by name from a shuffled order; keys already made.
void BM_SortPlayersByName(benchmark::State& state)
{
    CEnum gameTypes(Workload::kGameTypeText);
    CTable players;
    Workload::DefinePlayerColumns(players, gameTypes);
    FillPlayers(players);
    std::mt19937 random(3);
    const CSortKey byName{Workload::kPlayerName, false};
    players.Sort({&byName, 1});
    for (auto _ : state) {
        state.PauseTiming();
        Shuffle(players, 8, random);
        state.ResumeTiming();
        players.Sort({&byName, 1});
    }
    state.SetItemsProcessed(state.iterations() * players.GetRowCount());
}
BENCHMARK(BM_SortPlayersByName)->Unit(benchmark::kMillisecond);

// The same with fresh cells, so that every sort makes the keys.
void BM_SortPlayersByNameMakingKeys(benchmark::State& state)
{
    CEnum gameTypes(Workload::kGameTypeText);
    const CSortKey byName{Workload::kPlayerName, false};
    for (auto _ : state) {
        state.PauseTiming();
        CTable players;
        Workload::DefinePlayerColumns(players, gameTypes);
        FillPlayers(players);
        state.ResumeTiming();
        players.Sort({&byName, 1});
        state.PauseTiming();
        players.Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortPlayersByNameMakingKeys)->Unit(benchmark::kMillisecond);

// 30,000 player rows by game type (enumeration order), then name.
void BM_SortPlayersByTypeAndName(benchmark::State& state)
{
    CEnum gameTypes(Workload::kGameTypeText);
    CTable players;
    Workload::DefinePlayerColumns(players, gameTypes);
    FillPlayers(players);
    std::mt19937 random(5);
    const CSortKey keys[] = {{7, false}, {Workload::kPlayerName, true}};
    for (auto _ : state) {
        state.PauseTiming();
        Shuffle(players, 8, random);
        state.ResumeTiming();
        players.Sort(keys);
    }
}
BENCHMARK(BM_SortPlayersByTypeAndName)->Unit(benchmark::kMillisecond);

// 3,000 server rows by ping.
void BM_SortServersByPing(benchmark::State& state)
{
    CEnum gameTypes(Workload::kGameTypeText);
    CTable servers;
    Workload::DefineServerColumns(servers, gameTypes);
    for (const Workload::Server& server : Servers())
        Workload::AddServerRow(servers, server);
    std::mt19937 random(9);
    const CSortKey byPing{Workload::kServerPing, false};
    for (auto _ : state) {
        state.PauseTiming();
        Shuffle(servers, 12, random);
        state.ResumeTiming();
        servers.Sort({&byPing, 1});
    }
}
BENCHMARK(BM_SortServersByPing)->Unit(benchmark::kMicrosecond);

// Appending player rows (4 texts, 5 integers) to an empty list.
void BM_AppendPlayerRows(benchmark::State& state)
{
    CEnum gameTypes(Workload::kGameTypeText);
    for (auto _ : state) {
        CTable players;
        Workload::DefinePlayerColumns(players, gameTypes);
        FillPlayers(players);
        benchmark::DoNotOptimize(players.GetRowCount());
    }
    state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_AppendPlayerRows)->Unit(benchmark::kMillisecond);

// One sort key of a player name.
void BM_SortKey(benchmark::State& state)
{
    const CCollator& collator = CCollator::User();
    std::string key;
    std::size_t i = 0;
    const auto& servers = Servers();
    for (auto _ : state) {
        const auto& server = servers[i++ % servers.size()];
        collator.SortKey(server.players[i % 10].name, key);
        benchmark::DoNotOptimize(key.data());
    }
}
BENCHMARK(BM_SortKey);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("collation locale", CCollator::User().LocaleName());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
