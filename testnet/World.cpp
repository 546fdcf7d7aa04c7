#include "testnet/World.h"

#include "testnet/Random.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace testnet {

namespace {

// Purposes of the random streams, so that each draw sequence stands alone.
enum EStream : std::uint64_t
{
    kServerContents = 1,
    kProtocolChoice = 2,
    kBehaviourChoice = 3,
};

using namespace std::string_view_literals;

constexpr std::array kMaps = {
    "mp_beach"sv, "mp_base"sv,     "mp_depot"sv,     "mp_destruction"sv,
    "mp_sub"sv,   "mp_village"sv,  "mp_assault"sv,   "mp_castle"sv,
    "mp_tram"sv,  "mp_ice"sv,      "te_frostbite"sv, "te_escape2"sv,
    "te_ufo"sv,   "te_delivery"sv, "mp_chateau"sv,   "mp_trenchtoast"sv,
};

// Host names with caret colour codes and a few Windows-1252 letters (ä 0xE4, ü 0xFC,
// é 0xE9, « 0xAB, » 0xBB, ™ 0x99).
constexpr std::array kHostNames = {
    "^1Red ^7Server"sv,
    "^4=[^7NL^4]= ^7Clan Wolf"sv,
    "^3J\xe4ger^7haus"sv,
    "Wolfenstein ^2Objective"sv,
    "^0[^1DK^0] ^7Stopwatch Heaven"sv,
    "^5Ice^7Cold ^5Frags"sv,
    "\xab^1BoB^7\xbb Public"sv,
    "Gamers^1\x99 ^7Arena"sv,
    "^2Gr\xfcn^7Zone"sv,
    "Caf\xe9 ^6Castle"sv,
    "^7Old^1School ^7RtCW"sv,
    "^^1Double ^7Caret"sv,
    "OSP ^3Match ^7Server"sv,
    "^1|^7TWL^1| ^7Ladder"sv,
    "Sniper ^8Only"sv,
    "Wolf Server"sv,
};

// Player names: colour codes, Windows-1252 letters, backslashes and blanks inside.
constexpr std::array kPlayerNames = {
    "^1Blood^7Hound"sv,
    "[KoS]^3Sniper"sv,
    "J\xe4ger"sv,
    "^4|^7UnKnOwN^4|"sv,
    "UnnamedPlayer"sv,
    "WolfPlayer"sv,
    "a\\b"sv,
    "^2Medic^7!!"sv,
    "Se\xf1or ^1Fritz"sv,
    "^0Black^7Out"sv,
    "\xd0\x80"
    "ath"sv,
    "=LK=^3Panzer"sv,
    "n00b"sv,
    "^1K^2r^3a^4u^5t"sv,
    "Mr. \\o/"sv,
    "xXx^1Sn1per^7xXx"sv,
    "Fr\xe9"
    "d\xe9"
    "ric"sv,
    "^9Nine"sv,
    "Lt. Blazkowicz"sv,
    "Heinrich"sv,
    "^7Engi^1neer"sv,
    "Flak^^Jacket"sv,
    "\xabGhost\xbb"sv,
    "Venom^3\x99"sv,
    "^5Lieutenant ^7Dan"sv,
    "Kn\xfcppel"sv,
    "^6Purple^7Rain"sv,
    "Axis Ally"sv,
};

constexpr std::array kBotNames = {"[BOT]Wolf"sv, "[BOT]Axis"sv, "^1[BOT]^7Ally"sv};

struct CMod
{
    std::string_view gamename;
    std::string_view url; // empty: the server sends no mod_url
    std::string_view version;
};

constexpr std::array kMods = {
    CMod{"main", "", ""},
    CMod{"main", "", ""},
    CMod{"osp", "http://www.orangesmoothie.org", "0.9"},
    CMod{"osp", "http://www.OrangeSmoothie.org", "0.9"},
    CMod{"main", "http://shrub.sourceforge.net", "1.1"},
    CMod{"banimod", "http://www.banimod.net", "1.2"},
    CMod{"soffmod", "http://www.soffmod.com", "2.0"},
    CMod{"main", "http://www.rtcwpro.com", "1.2.8"},
};

constexpr std::array kMaxClients = {8, 10, 12, 12, 14, 16, 16, 18, 20, 20, 24, 32, 64};

std::string_view VersionFor(int protocol)
{
    switch (protocol) {
    case 57:
        return "Wolf 1.1 win-x86 Dec  7 2001";
    case 58:
        return "Wolf 1.3 linux-i386 Apr 15 2002";
    case 59:
        return "Wolf 1.33 linux-i386 Jul  9 2002";
    default:
        return "Wolf 1.41 linux-i386 Dec  4 2002";
    }
}

template <typename T, std::size_t N>
T Pick(CRandom& rng, const std::array<T, N>& items)
{
    return items[rng.Below(static_cast<std::uint32_t>(N))];
}

int GameType(CRandom& rng)
{
    const auto roll = rng.Below(100);
    if (roll < 55)
        return 5;
    if (roll < 80)
        return 6;
    if (roll < 95)
        return 7;
    if (roll < 97)
        return 8;
    if (roll < 99)
        return 4;
    return 0; // a rare oddball
}

std::vector<CWorldPlayer> MakePlayers(CRandom& rng, int maxClients, int privateClients)
{
    int count = 0;
    const auto roll = rng.Below(100);
    if (roll < 30) {
        count = 0;
    } else if (roll < 40) {
        count = maxClients;
    } else {
        // Never between the public limit and the total, so that "full" means the
        // same to a master (public slots) and to a browser (all slots).
        count = rng.Between(1, maxClients - privateClients - 1);
    }
    std::vector<CWorldPlayer> players;
    players.reserve(static_cast<std::size_t>(count));
    std::vector<std::string_view> pool(kPlayerNames.begin(), kPlayerNames.end());
    for (int i = 0; i < count; ++i) {
        CWorldPlayer player;
        if (rng.Below(100) < 6) {
            player.name = std::string(Pick(rng, kBotNames));
            player.ping = 0;
            player.score = rng.Between(0, 60);
        } else {
            if (pool.empty())
                pool.assign(kPlayerNames.begin(), kPlayerNames.end());
            const auto at = rng.Below(static_cast<std::uint32_t>(pool.size()));
            player.name = std::string(pool[at]);
            pool.erase(pool.begin() + at);
            if (i >= static_cast<int>(kPlayerNames.size()))
                player.name += std::to_string(i);
            const auto kind = rng.Below(100);
            if (kind < 4) {
                player.ping = 999; // still connecting
                player.score = 0;
            } else {
                player.ping = rng.Between(15, 350);
                player.score = kind < 14 ? -rng.Between(1, 9) : rng.Between(0, 120);
            }
        }
        players.push_back(std::move(player));
    }
    return players;
}

CWorldServer MakeServer(std::uint64_t seed, int index, int protocol)
{
    CRandom rng = CRandom::Stream(seed, static_cast<std::uint64_t>(index), kServerContents);
    CWorldServer s;
    s.index = index;
    s.protocol = protocol;
    s.maxClients = Pick(rng, kMaxClients);
    s.privateClients = rng.Below(100) < 15 ? (rng.Below(2) == 0 ? 2 : 4) : 0;
    const CMod mod = Pick(rng, kMods);
    const int gameType = GameType(rng);
    const bool punkBuster = protocol >= 60 && rng.Below(100) < 40;
    const int maxLives = rng.Below(100) < 70 ? 0 : rng.Between(1, 10);
    const std::string hostName =
        std::string(Pick(rng, kHostNames)) + " ^7#" + std::to_string(index + 1);

    auto add = [&](std::string_view key, std::string value) {
        s.vars.emplace_back(std::string(key), std::move(value));
    };
    add("g_needpass", rng.Below(100) < 10 ? "1" : "0");
    add("sv_privateClients", std::to_string(s.privateClients));
    add("gamename", std::string(mod.gamename));
    add("g_antilag", rng.Below(2) == 0 ? "1" : "0");
    add("g_gametype", std::to_string(gameType));
    add("sv_hostname", hostName);
    add("sv_maxclients", std::to_string(s.maxClients));
    add("g_maxlives", std::to_string(maxLives));
    add("g_alliedmaxlives", "0");
    add("g_axismaxlives", "0");
    add("g_friendlyFire", rng.Below(100) < 75 ? "1" : "0");
    add("sv_punkbuster", punkBuster ? "1" : "0");
    add("mapname", std::string(Pick(rng, kMaps)));
    add("protocol", std::to_string(protocol));
    add("version", std::string(VersionFor(protocol)));
    if (!mod.url.empty()) {
        add("mod_url", std::string(mod.url));
        add("mod_version", std::string(mod.version));
    }
    add("timelimit", std::to_string(rng.Between(2, 6) * 5));
    add("g_maxGameClients", "0");
    add("sv_allowAnonymous", "0");
    add("g_minGameClients", "8");
    add("g_voteFlags", std::to_string(rng.Between(0, 255)));
    add("sv_floodProtect", "1");
    add("sv_maxRate", rng.Below(2) == 0 ? "15000" : "25000");
    add("sv_minPing", "0");
    add("sv_maxPing", rng.Below(2) == 0 ? "0" : "400");

    s.players = MakePlayers(rng, s.maxClients, s.privateClients);
    return s;
}

// Server numbers 0..count-1 in a seeded random order.
std::vector<int> Shuffled(std::uint64_t seed, int count, std::uint64_t purpose)
{
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    CRandom rng = CRandom::Stream(seed, 0, purpose);
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[rng.Below(static_cast<std::uint32_t>(i))]);
    return order;
}

} // namespace

std::string_view BehaviourName(EBehaviour behaviour)
{
    switch (behaviour) {
    case EBehaviour::Normal:
        return "normal";
    case EBehaviour::Silent:
        return "silent";
    case EBehaviour::ResendOnly:
        return "resend-only";
    case EBehaviour::Hostile:
        return "hostile";
    case EBehaviour::Duplicates:
        return "duplicates";
    }
    return "normal";
}

std::string_view HostileKindName(EHostileKind kind)
{
    switch (kind) {
    case EHostileKind::CutOffLines:
        return "cut-off-lines";
    case EHostileKind::MissingLineFeeds:
        return "missing-line-feeds";
    case EHostileKind::GarbageBytes:
        return "garbage-bytes";
    case EHostileKind::ZeroBytes:
        return "zero-bytes";
    case EHostileKind::HugeDatagram:
        return "huge-datagram";
    case EHostileKind::ThousandsOfPlayers:
        return "thousands-of-players";
    case EHostileKind::CaretAtEnd:
        return "caret-at-end";
    case EHostileKind::UnterminatedQuotes:
        return "unterminated-quotes";
    }
    return "cut-off-lines";
}

std::string_view CWorldServer::Var(std::string_view key) const
{
    for (const auto& [k, v] : vars) {
        if (k == key)
            return v;
    }
    return {};
}

CWorld CWorld::Generate(const CTestNetOptions& options)
{
    CWorld world;
    world.seed = options.seed;
    world.protocol = options.protocol;
    world.masterSilent = options.masterSilent;
    world.masterDelayMs = options.masterDelayMs;
    const int count = options.count;

    // Protocols: an exact share of the servers runs one of 57..59 (never the main one).
    std::vector<int> protocols(static_cast<std::size_t>(count), options.protocol);
    std::vector<int> others;
    for (int p = 57; p <= 59; ++p) {
        if (p != options.protocol)
            others.push_back(p);
    }
    const int otherCount =
        static_cast<int>(std::lround(count * (options.otherProtocolsPercent / 100.0)));
    const std::vector<int> protocolOrder = Shuffled(options.seed, count, kProtocolChoice);
    for (int i = 0; i < otherCount; ++i) {
        const int server = protocolOrder[static_cast<std::size_t>(i)];
        protocols[static_cast<std::size_t>(server)] =
            others[static_cast<std::size_t>(server) % others.size()];
    }

    world.servers.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        CWorldServer server = MakeServer(options.seed, i, protocols[static_cast<std::size_t>(i)]);
        server.delayMs = options.delaysMs[static_cast<std::size_t>(i) % options.delaysMs.size()];
        world.servers.push_back(std::move(server));
    }

    // Behaviours: in seeded random order, servers of the main protocol first, so that
    // the special servers are the ones a master lists for that protocol.
    std::vector<int> order = Shuffled(options.seed, count, kBehaviourChoice);
    std::stable_partition(order.begin(), order.end(), [&](int i) {
        return protocols[static_cast<std::size_t>(i)] == options.protocol;
    });
    std::size_t next = 0;
    auto assign = [&](int n, EBehaviour behaviour) {
        for (int k = 0; k < n && next < order.size(); ++k)
            world.servers[static_cast<std::size_t>(order[next++])].behaviour = behaviour;
    };
    assign(options.silent, EBehaviour::Silent);
    assign(options.resendOnly, EBehaviour::ResendOnly);
    assign(options.hostile, EBehaviour::Hostile);
    assign(options.duplicates, EBehaviour::Duplicates);
    int kind = 0;
    for (auto& server : world.servers) {
        if (server.behaviour == EBehaviour::Hostile)
            server.hostileKind = static_cast<EHostileKind>(kind++ % kHostileKindCount);
    }
    return world;
}

std::vector<const CWorldServer*> CWorld::Listed(int requestProtocol, bool full, bool empty) const
{
    std::vector<const CWorldServer*> listed;
    for (const auto& server : servers) {
        if (server.protocol != requestProtocol)
            continue;
        if (!empty && server.Empty())
            continue;
        if (!full && server.Full())
            continue;
        listed.push_back(&server);
    }
    return listed;
}

} // namespace testnet
