#pragma once

#include "net/SockAddr.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CSockUDP;

// The status request: out-of-band marker, "getstatus", a line feed and the text's
// terminating zero byte, 15 bytes in all.
inline constexpr std::string_view kStatusRequest{"\xFF\xFF\xFF\xFFgetstatus\n\0", 15};

// A ping that no accepted reply has set.
inline constexpr std::int32_t kNoPing = 9999;
// tries of a record whose reply was accepted.
inline constexpr std::int32_t kAnsweredTries = 999;

// What one reply may create: players and variables beyond these are not stored. Far above
// any real server (the game has at most 64 client slots and sends a few dozen variables),
// and a bound on what a hostile datagram of empty lines or empty pairs can make us hold.
inline constexpr std::size_t kMaxPlayersPerRecord = 256;
inline constexpr std::size_t kMaxVarsPerRecord = 1024;

struct CPlayer
{
    std::string name; // colour codes and quotes removed, white space trimmed
    std::int32_t score = 0;
    std::int32_t ping = 0;
};

struct ServerVar
{
    std::string key; // in the letter case the server sent
    std::string value;
};

// One game server of the current scan: its status as its reply gave it, and its query
// state (send time, time-out, tries). tries: 0 fresh, 1-2 waiting, 3 timed out, 999 or
// more answered; finished means tries > 2.
class CServer
{
public:
    CServer();
    // The name defaults to the address text; password to empty. Then Reset, with the
    // time-out 1000 ms until the scan's Reset sets 1200.
    CServer(const CSockAddr& address, std::optional<std::string> name = std::nullopt,
            std::optional<std::string> password = std::nullopt);

    CSockAddr address;
    std::string name;
    std::string map;
    std::string modUrl; // lower-cased
    std::string password;
    std::int32_t gameType = 0; // 0: no status known
    std::int32_t maxClients = 0;
    std::int32_t ping = kNoPing;
    std::int32_t maxLives = 0;
    bool friendlyFire = false;
    bool punkBuster = false;
    bool needPass = false;           // g_needpass: joining asks for a password
    std::int32_t privateClients = 0; // sv_privateClients: slots beyond maxClients
    std::vector<CPlayer> players;
    std::vector<ServerVar> vars;
    std::int64_t sendTime = 0;    // counter reading of the last request sent
    std::uint32_t timeout = 1200; // milliseconds
    std::int32_t tries = 0;

    // Prepares the record for a scan: tries 0, time-out 1200, ping 9999, no status
    // numbers, players or vars, no password lock. Name, map, mod URL, password and the
    // friendly-fire and PunkBuster flags stay.
    void Reset();

    // Milliseconds since the last request, as of the counter reading `now`, in their low
    // 32 bits.
    std::uint32_t ElapsedMs(std::int64_t now) const;
    std::uint32_t ElapsedMs() const;

    // The retry rule: sends a (first or second) request when due and returns true; counts
    // a time-out (or, for an answered record, just counts on) and returns false.
    bool SendStatusRequest(CSockUDP& socket, std::int64_t now);
    bool SendStatusRequest(CSockUDP& socket);

    bool IsFinished() const { return tries > 2; }

    // Takes a reply: ping from the last request, tries 999, then ParseStatus. Ignored when
    // the record is finished, and when no request was sent yet (nothing to time it by).
    void HandleReply(std::string_view reply, std::int64_t now);
    void HandleReply(std::string_view reply);

    // Reads a status reply into the record: the infostring into vars and the known
    // fields, then the players. Stops quietly at malformed input; reads nothing past the
    // view, and treats a zero byte as the end of the text. Keeps at most
    // kMaxVarsPerRecord vars (later known keys still set their fields) and
    // kMaxPlayersPerRecord players.
    void ParseStatus(std::string_view reply);
};
