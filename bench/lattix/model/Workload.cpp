#include "Workload.h"

#include "lattix/model/EnumCompare.h"

#include <array>
#include <ctime>
#include <random>

namespace Workload {
namespace {

using namespace Lattix;

std::string RandomName(std::mt19937& random, int minLength, int maxLength)
{
    static constexpr std::array<const char*, 12> kSpecial = {
        "\u00e4", "\u00d6", "\u00fc", "\u00df", "\u00e9", "\u0141",
        "\u00f8", "\u00c5", "\u00f1", "\u00e7", "\u0160", "\u00e6"};
    static constexpr std::string_view kSymbols = "_-.[]|*=0123456789";
    const int length = minLength + static_cast<int>(random() % (maxLength - minLength + 1));
    std::string name;
    if (random() % 5 == 0) {
        // A colour code in front, as players like them.
        name += '^';
        name += static_cast<char>('0' + random() % 10);
    }
    for (int i = 0; i < length; ++i) {
        const unsigned pick = random() % 100;
        if (pick < 3)
            name += kSpecial[random() % kSpecial.size()];
        else if (pick < 12)
            name += kSymbols[random() % kSymbols.size()];
        else if (pick < 40)
            name += static_cast<char>('A' + random() % 26);
        else
            name += static_cast<char>('a' + random() % 26);
    }
    return name;
}

template <class Kind>
void AddColumn(CTable& table)
{
    table.AddColumn(std::make_unique<CFAny<Kind>>(), std::make_unique<CCellCompare>());
}

void AddEnumColumn(CTable& table, CEnum& gameTypes)
{
    table.AddColumn(std::make_unique<CFAny<CDInt>>(),
                    std::make_unique<CEnumCompare>(gameTypes.Get()));
}

} // namespace

std::vector<Server> MakeServers(int count, int playersPerServer, std::uint32_t seed)
{
    static constexpr std::array<const char*, 8> kMaps = {
        "mp_beach", "mp_assault",     "mp_base", "mp_village",
        "mp_depot", "mp_destruction", "mp_sub",  "te_frostbite"};
    static constexpr std::array<const char*, 5> kMods = {"OSP", "Shrub", "Bani", "", "rtcwpro"};
    std::mt19937 random(seed);
    std::vector<Server> servers(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Server& s = servers[static_cast<std::size_t>(i)];
        s.name = RandomName(random, 8, 30);
        s.gameType = 5 + static_cast<int>(random() % 3);
        s.mod = kMods[random() % kMods.size()];
        s.friendlyFire = random() % 2 == 0;
        s.ping = 20 + static_cast<int>(random() % 380);
        s.numPlayers = playersPerServer;
        s.maxPlayers = 16 + static_cast<int>(random() % 17);
        s.playersText = std::to_string(s.numPlayers) + "/" + std::to_string(s.maxPlayers);
        s.punkBuster = random() % 3 == 0;
        s.map = kMaps[random() % kMaps.size()];
        s.maxLives = static_cast<int>(random() % 4);
        s.address = std::to_string(random() % 223 + 1) + "." + std::to_string(random() % 256) +
                    "." + std::to_string(random() % 256) + "." + std::to_string(random() % 256) +
                    ":" + std::to_string(27960 + random() % 40);
        s.handle = i;
        for (int p = 0; p < playersPerServer; ++p)
            s.players.push_back(Player{RandomName(random, 3, 16), static_cast<int>(random() % 999),
                                       static_cast<int>(random() % 120) - 10});
    }
    return servers;
}

void DefineServerColumns(CTable& table, CEnum& gameTypes)
{
    table.Clear();
    AddColumn<CDString>(table);      // 0 name
    AddEnumColumn(table, gameTypes); // 1 game type
    AddColumn<CDString>(table);      // 2 mod
    AddColumn<CDBool>(table);        // 3 friendly fire
    AddColumn<CDInt>(table);         // 4 ping
    AddColumn<CDString>(table);      // 5 players text
    AddColumn<CDBool>(table);        // 6 PunkBuster
    AddColumn<CDInt>(table);         // 7 number of players
    AddColumn<CDInt>(table);         // 8 maximum players
    AddColumn<CDString>(table);      // 9 map
    AddColumn<CDInt>(table);         // 10 maximum lives
    AddColumn<CDString>(table);      // 11 address
    AddColumn<CDInt>(table);         // 12 server handle
    table.CreateRowLayout();
}

void DefinePlayerColumns(CTable& table, CEnum& gameTypes)
{
    table.Clear();
    AddColumn<CDString>(table);      // 0 name
    AddColumn<CDInt>(table);         // 1 server ping
    AddColumn<CDInt>(table);         // 2 ping
    AddColumn<CDInt>(table);         // 3 frags
    AddColumn<CDString>(table);      // 4 server name
    AddColumn<CDString>(table);      // 5 map
    AddColumn<CDString>(table);      // 6 players text
    AddEnumColumn(table, gameTypes); // 7 game type
    AddColumn<CDInt>(table);         // 8 server handle
    table.CreateRowLayout();
}

void AddServerRow(CTableInterface& table, const Server& s)
{
    CRowData* row = table.AddRow();
    row->GetCell(0)->Set(s.name);
    row->GetCell(1)->Set(s.gameType);
    row->GetCell(2)->Set(s.mod);
    row->GetCell(3)->Set(s.friendlyFire);
    row->GetCell(4)->Set(s.ping);
    row->GetCell(5)->Set(s.playersText);
    row->GetCell(6)->Set(s.punkBuster);
    row->GetCell(7)->Set(s.numPlayers);
    row->GetCell(8)->Set(s.maxPlayers);
    row->GetCell(9)->Set(s.map);
    row->GetCell(10)->Set(s.maxLives);
    row->GetCell(11)->Set(s.address);
    row->GetCell(12)->Set(s.handle);
}

void AddPlayerRow(CTableInterface& table, const Server& s, const Player& p)
{
    CRowData* row = table.AddRow();
    row->GetCell(0)->Set(p.name);
    row->GetCell(1)->Set(s.ping);
    row->GetCell(2)->Set(p.ping);
    row->GetCell(3)->Set(p.score);
    row->GetCell(4)->Set(s.name);
    row->GetCell(5)->Set(s.map);
    row->GetCell(6)->Set(s.playersText);
    row->GetCell(7)->Set(s.gameType);
    row->GetCell(8)->Set(s.handle);
}

bool PlayerListResortsAt(int n)
{
    return n < 25 || (n < 100 && n % 5 == 0) || (n < 500 && n % 10 == 0) || n % 33 == 0;
}

bool ServerListResortsAt(int n)
{
    return n < 25 || (n < 100 && n % 5 == 0) || n % 10 == 0;
}

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace Workload
