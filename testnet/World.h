#pragma once

#include "testnet/TestNetOptions.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testnet {

// How a game server treats the requests it gets.
enum class EBehaviour
{
    Normal,
    Silent,     // never answers
    ResendOnly, // drops the 1st, 3rd, ... request of every client address
    Hostile,    // answers with a malformed reply of its hostile kind
    Duplicates, // answers every request three times
};

enum class EHostileKind
{
    CutOffLines,
    MissingLineFeeds,
    GarbageBytes,
    ZeroBytes,
    HugeDatagram,
    ThousandsOfPlayers,
    CaretAtEnd,
    UnterminatedQuotes,
};
inline constexpr int kHostileKindCount = 8;

// Names as written in the manifest ("normal", "resend-only", "cut-off-lines", ...).
std::string_view BehaviourName(EBehaviour behaviour);
std::string_view HostileKindName(EHostileKind kind);

struct CWorldPlayer
{
    std::string name; // raw bytes as sent between the quotes
    int score = 0;
    int ping = 0;
};

// One game server of the world. Texts are raw Windows-1252 bytes as sent.
struct CWorldServer
{
    int index = 0;
    std::uint16_t port = 0; // set once its socket is bound
    int protocol = 60;
    EBehaviour behaviour = EBehaviour::Normal;
    EHostileKind hostileKind = EHostileKind::CutOffLines; // when behaviour is Hostile
    int delayMs = 0;
    int maxClients = 0;
    int privateClients = 0;
    std::vector<std::pair<std::string, std::string>> vars; // in the order sent
    std::vector<CWorldPlayer> players;

    // The value of the first variable named key (exact case), or empty.
    std::string_view Var(std::string_view key) const;
    // As a master sees it: no players at all, or no public slot left.
    bool Empty() const { return players.empty(); }
    bool Full() const { return static_cast<int>(players.size()) >= maxClients - privateClients; }
};

// The whole simulated world: every game server with what it answers, and the
// master's settings. Generated from the options alone, so the same seed and the same
// options give the same world; a server's own contents depend only on the seed and
// its number, so a larger --count keeps the servers of a smaller one.
class CWorld
{
public:
    static CWorld Generate(const CTestNetOptions& options);

    std::uint64_t seed = 1;
    int protocol = 60;
    std::vector<CWorldServer> servers;

    std::uint16_t masterPort = 0; // set once bound
    bool masterSilent = false;
    int masterDelayMs = 0;
    std::vector<std::uint16_t> masterExtraPorts; // where no server answers; set once bound

    // The servers a master lists for "getservers protocol [full] [empty]", in order.
    std::vector<const CWorldServer*> Listed(int requestProtocol, bool full, bool empty) const;
};

} // namespace testnet
