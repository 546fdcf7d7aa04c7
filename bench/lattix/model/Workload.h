#pragma once

#include "lattix/model/Enum.h"
#include "lattix/model/Table.h"

#include <cstdint>
#include <string>
#include <vector>

// The data of a scan as the browser's lists receive it, made up but shaped like the real
// thing: server and player names of mixed case with some non-ASCII letters, pings,
// scores, maps and addresses.
namespace Workload {

struct Player
{
    std::string name;
    int ping = 0;
    int score = 0;
};

struct Server
{
    std::string name;
    int gameType = 0;
    std::string mod;
    bool friendlyFire = false;
    int ping = 0;
    std::string playersText;
    bool punkBuster = false;
    int numPlayers = 0;
    int maxPlayers = 0;
    std::string map;
    int maxLives = 0;
    std::string address;
    int handle = 0;
    std::vector<Player> players;
};

std::vector<Server> MakeServers(int count, int playersPerServer, std::uint32_t seed);

// The server list (13 columns) and the player list (9 columns) of the browser.
void DefineServerColumns(Lattix::CTable& table, Lattix::CEnum& gameTypes);
void DefinePlayerColumns(Lattix::CTable& table, Lattix::CEnum& gameTypes);

void AddServerRow(Lattix::CTableInterface& table, const Server& server);
void AddPlayerRow(Lattix::CTableInterface& table, const Server& server, const Player& player);

// The row counts at which the browser re-sorts a list while a scan fills it.
bool PlayerListResortsAt(int rows);
bool ServerListResortsAt(int rows);

constexpr int kPlayerName = 0;
constexpr int kServerPing = 4;
constexpr const char* kGameTypeText =
    "0?\n1?\n2?\n3?\n4?\nMP - Objective\nSW - Stopwatch\nCP - Checkpoint\n8?\n9?\n";

// Process CPU time in seconds.
double CpuSeconds();

} // namespace Workload
