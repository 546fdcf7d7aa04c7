#include "query/Server.h"

#include "net/Clock.h"
#include "net/DecimalText.h"
#include "net/SockUDP.h"
#include "query/StatusTokens.h"

#include <limits>
#include <utility>

namespace {

constexpr std::uint32_t kFirstTimeoutMs = 1000;
constexpr std::uint32_t kScanTimeoutMs = 1200;

std::string_view TrimSpace(std::string_view text)
{
    while (!text.empty() && IsAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Stores the value of a known key into its field.
void StoreKnownKey(CServer& server, const std::string& lowerKey, const std::string& value)
{
    if (lowerKey == "sv_hostname")
        server.name = value;
    else if (lowerKey == "mapname")
        server.map = value;
    else if (lowerKey == "sv_maxclients")
        server.maxClients = ParseDecimalInt(value);
    else if (lowerKey == "g_gametype")
        server.gameType = ParseDecimalInt(value);
    else if (lowerKey == "g_friendlyfire")
        server.friendlyFire = ParseDecimalInt(value) != 0;
    else if (lowerKey == "g_maxlives")
        server.maxLives = ParseDecimalInt(value);
    else if (lowerKey == "sv_punkbuster")
        server.punkBuster = ParseDecimalInt(value) != 0;
    else if (lowerKey == "g_needpass")
        server.needPass = ParseDecimalInt(value) != 0;
    else if (lowerKey == "sv_privateclients")
        server.privateClients = ParseDecimalInt(value);
    else if (lowerKey == "mod_url")
        server.modUrl = AsciiLower(value);
}

} // namespace

CServer::CServer() = default;

CServer::CServer(const CSockAddr& addr, std::optional<std::string> givenName,
                 std::optional<std::string> givenPassword)
    : address(addr)
{
    Reset();
    timeout = kFirstTimeoutMs;
    name = givenName ? std::move(*givenName) : address.ToString();
    if (givenPassword)
        password = std::move(*givenPassword);
}

void CServer::Reset()
{
    tries = 0;
    timeout = kScanTimeoutMs;
    ping = kNoPing;
    maxLives = 0;
    gameType = 0;
    maxClients = 0;
    privateClients = 0;
    needPass = false;
    players.clear();
    vars.clear();
}

std::uint32_t CServer::ElapsedMs(std::int64_t now) const
{
    return static_cast<std::uint32_t>(CounterSpanMs(sendTime, now));
}

std::uint32_t CServer::ElapsedMs() const
{
    return ElapsedMs(ReadCounter());
}

bool CServer::SendStatusRequest(CSockUDP& socket, std::int64_t now)
{
    if (tries != 0 && ElapsedMs(now) <= timeout)
        return false; // still waiting for the reply
    // An answered record only counts on and stays finished.
    if (tries < std::numeric_limits<std::int32_t>::max())
        ++tries;
    if (tries > 2)
        return false;
    std::size_t length = kStatusRequest.size();
    // A failed send is not looked at: the server simply times out.
    socket.SendTo(kStatusRequest.data(), length, address);
    sendTime = now;
    return true;
}

bool CServer::SendStatusRequest(CSockUDP& socket)
{
    return SendStatusRequest(socket, ReadCounter());
}

void CServer::HandleReply(std::string_view reply, std::int64_t now)
{
    if (IsFinished() || tries == 0)
        return;
    ping = static_cast<std::int32_t>(ElapsedMs(now));
    tries = kAnsweredTries;
    ParseStatus(reply);
}

void CServer::HandleReply(std::string_view reply)
{
    HandleReply(reply, ReadCounter());
}

void CServer::ParseStatus(std::string_view reply)
{
    // The reply is a zero-terminated text: the first zero byte ends it.
    if (const auto zero = reply.find('\0'); zero != std::string_view::npos)
        reply = reply.substr(0, zero);
    auto at = [&reply](std::size_t p) { return p < reply.size() ? reply[p] : '\0'; };

    // The header line is not examined.
    const auto headerEnd = reply.find('\n');
    if (headerEnd == std::string_view::npos)
        return;
    std::size_t pos = headerEnd + 1;

    // The infostring: \key\value pairs up to a line feed or the end.
    while (at(pos) != '\0' && at(pos) != '\n') {
        if (at(pos) != '\\')
            return;
        ++pos;
        std::string key = ReadToken(reply, pos);
        if (at(pos) != '\\')
            return;
        ++pos;
        std::string value = ReadToken(reply, pos);
        const std::string lowerKey = AsciiLower(key);
        StoreKnownKey(*this, lowerKey, value);
        if (vars.size() < kMaxVarsPerRecord)
            vars.push_back(ServerVar{std::move(key), std::move(value)});
    }
    if (at(pos) == '\n')
        ++pos;

    // The players: score, ping and name, one per line.
    while (at(pos) != '\0' && players.size() < kMaxPlayersPerRecord) {
        CPlayer player;
        player.score = ReadInt(reply, pos);
        player.ping = ReadInt(reply, pos);
        while (at(pos) == ' ')
            ++pos;
        player.name = std::string(TrimSpace(ReadToken(reply, pos)));
        players.push_back(std::move(player));
        if (at(pos) != '\n')
            return;
        ++pos;
    }
}
