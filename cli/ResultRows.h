#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the output formats print: the rows of a finished scan, with every text already
// decoded to UTF-8. The formats never look at CServer records themselves.

struct PlayerRow
{
    std::string name;
    std::int32_t score = 0;
    std::int32_t ping = 0;
};

struct VarRow
{
    std::string key;
    std::string value;
};

struct ServerRow
{
    std::string address; // "a.b.c.d:port"
    std::string name;
    std::int32_t gameType = 0;
    std::string mod;    // short mod name, or the mod URL when the mod is not known
    std::string modUrl; // lower-cased, as the server sent it
    bool friendlyFire = false;
    std::int32_t ping = 0;
    std::string playersText; // "players/maxClients"
    std::size_t playerCount = 0;
    std::int32_t maxClients = 0;
    bool punkBuster = false;
    std::string map;
    std::int32_t maxLives = 0;
    std::string country;            // two upper-case letters; empty when the address has none
    std::vector<PlayerRow> players; // in reply order, where the listing needs them
    std::vector<VarRow> vars;       // in reply order, where the listing needs them
};

// One row of the player list: a player and the server that it plays on. Both point into
// the rows of a CResultSet and live as long as it does.
struct PlayerListRow
{
    const ServerRow* server = nullptr;
    const PlayerRow* player = nullptr;
};

// The text of a game type as the desktop's lists show it: 5 "MP - Objective",
// 6 "SW - Stopwatch", 7 "CP - Checkpoint", any other value its number and "?".
std::string GameTypeText(std::int32_t gameType);

// "yes" or "no", the labels of the rule columns.
const char* YesNo(bool value);
