#include "testnet/ServerReplies.h"

#include "testnet/Random.h"

#include <charconv>

namespace testnet {

namespace {

constexpr std::string_view kOob("\xFF\xFF\xFF\xFF", 4);
constexpr std::string_view kStatusHeader = "statusResponse\n";
constexpr std::string_view kInfoHeader = "infoResponse\n";
constexpr std::uint64_t kHostileStream = 4;

void AppendPair(std::string& out, std::string_view key, std::string_view value)
{
    out += '\\';
    out += key;
    out += '\\';
    out += value;
}

void AppendPlayer(std::string& out, const CWorldPlayer& player)
{
    out += std::to_string(player.score);
    out += ' ';
    out += std::to_string(player.ping);
    out += " \"";
    out += player.name;
    out += "\"\n";
}

std::string Infostring(const CWorldServer& server, std::string_view challenge)
{
    std::string out;
    for (const auto& [key, value] : server.vars)
        AppendPair(out, key, value);
    if (!challenge.empty())
        AppendPair(out, "challenge", challenge);
    return out;
}

int IntVar(const CWorldServer& server, std::string_view key)
{
    const std::string_view text = server.Var(key);
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Offset of the player section (just after the info section's line feed).
std::size_t PlayerSectionStart(const std::string& reply)
{
    const std::size_t header = reply.find('\n');
    const std::size_t info = reply.find('\n', header + 1);
    return info == std::string::npos ? reply.size() : info + 1;
}

} // namespace

std::string StatusReply(const CWorldServer& server, std::string_view challenge)
{
    std::string out(kOob);
    out += kStatusHeader;
    out += Infostring(server, challenge);
    out += '\n';
    for (const auto& player : server.players)
        AppendPlayer(out, player);
    return out;
}

std::string InfoReply(const CWorldServer& server, std::string_view challenge)
{
    std::string out(kOob);
    out += kInfoHeader;
    if (!challenge.empty())
        AppendPair(out, "challenge", challenge);
    AppendPair(out, "protocol", std::to_string(server.protocol));
    AppendPair(out, "hostname", server.Var("sv_hostname"));
    AppendPair(out, "mapname", server.Var("mapname"));
    AppendPair(out, "clients", std::to_string(server.players.size()));
    // The browser protocol counts the public slots only.
    AppendPair(out, "sv_maxclients", std::to_string(server.maxClients - server.privateClients));
    AppendPair(out, "gametype", server.Var("g_gametype"));
    AppendPair(out, "pure", "1");
    if (const std::string_view game = server.Var("gamename"); !game.empty() && game != "main")
        AppendPair(out, "game", game);
    AppendPair(out, "sv_allowAnonymous", "0");
    AppendPair(out, "friendlyFire", server.Var("g_friendlyFire"));
    AppendPair(out, "maxlives", IntVar(server, "g_maxlives") != 0 ? "1" : "0");
    AppendPair(out, "tourney", "0");
    AppendPair(out, "punkbuster", server.Var("sv_punkbuster"));
    AppendPair(out, "gamename", "wolfmp");
    AppendPair(out, "g_antilag", server.Var("g_antilag"));
    AppendPair(out, "needpass", server.Var("g_needpass"));
    return out;
}

std::string HostileReply(const CWorldServer& server, EHostileKind kind, std::uint64_t seed,
                         bool infoRequest)
{
    CRandom rng = CRandom::Stream(seed, static_cast<std::uint64_t>(server.index), kHostileStream);
    std::string regular = StatusReply(server);
    std::string out;
    switch (kind) {
    case EHostileKind::CutOffLines: {
        // Broken off in the middle of the infostring, mid-value: no line feed ends it.
        const std::size_t start = kOob.size() + kStatusHeader.size();
        const std::size_t infoEnd = regular.find('\n', start);
        out = regular.substr(0, start + (infoEnd - start) * 3 / 5);
        while (out.back() == '\\')
            out.pop_back();
        break;
    }
    case EHostileKind::MissingLineFeeds:
        for (char c : regular) {
            if (c != '\n')
                out += c;
        }
        break;
    case EHostileKind::GarbageBytes: {
        out = std::string(kOob) + std::string(kStatusHeader);
        const int length = rng.Between(200, 1200);
        for (int i = 0; i < length; ++i)
            out += static_cast<char>(rng.Between(1, 255));
        break;
    }
    case EHostileKind::ZeroBytes: {
        // A zero byte inside the host name, one inside the player section and one at
        // the very end: a reader that stops at the first zero byte sees a short reply.
        out = regular;
        const std::size_t host = out.find("\\sv_hostname\\");
        if (host != std::string::npos)
            out.insert(host + 15, 1, '\0');
        out.insert(PlayerSectionStart(out), std::string("7 0 \"ze\0ro\"\n", 12));
        out += '\0';
        break;
    }
    case EHostileKind::HugeDatagram: {
        // A variable padded until the datagram is as large as UDP allows.
        const std::size_t info = regular.find('\n', kOob.size() + kStatusHeader.size());
        const std::string prefix = regular.substr(0, info) + "\\sv_padding\\";
        const std::string suffix = regular.substr(info);
        const std::size_t fill = kMaxUdpPayload > prefix.size() + suffix.size()
                                     ? kMaxUdpPayload - prefix.size() - suffix.size()
                                     : 0;
        out = prefix;
        for (std::size_t i = 0; i < fill; ++i)
            out += static_cast<char>('a' + i % 26);
        out += suffix;
        out.resize(kMaxUdpPayload);
        break;
    }
    case EHostileKind::ThousandsOfPlayers: {
        out = regular.substr(0, PlayerSectionStart(regular));
        for (int i = 0;; ++i) {
            std::string line = std::to_string(rng.Between(-20, 200)) + " " +
                               std::to_string(rng.Between(0, 999)) + " \"^" +
                               std::to_string(i % 10) + "p" + std::to_string(i) + "\"\n";
            if (out.size() + line.size() > kMaxUdpPayload - 1000)
                break;
            out += line;
        }
        break;
    }
    case EHostileKind::CaretAtEnd:
        // The last player's name (or the last value) breaks off right after a caret.
        out = regular;
        // Without players the reply ends in the infostring's line feed alone.
        out.erase(out.size() - (server.players.empty() ? 1 : 2));
        out += '^';
        break;
    case EHostileKind::UnterminatedQuotes: {
        // A quote opened in the host name is never closed, so a reader that honours
        // quotes takes the rest of the infostring into the name; the first player's
        // quote is not closed either.
        out = regular;
        const std::size_t host = out.find("\\sv_hostname\\");
        if (host != std::string::npos)
            out.insert(host + 13, 1, '"');
        const std::size_t players = PlayerSectionStart(out);
        const std::string open = "3 42 \"Open^1Quote\n";
        out.insert(players, open);
        break;
    }
    }
    if (infoRequest && out.compare(kOob.size(), kStatusHeader.size() - 1, "statusResponse") == 0)
        out.replace(kOob.size(), kStatusHeader.size() - 1, "infoResponse");
    return out;
}

} // namespace testnet
