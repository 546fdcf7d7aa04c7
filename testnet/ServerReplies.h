#pragma once

#include "testnet/World.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace testnet {

// The largest UDP payload over IPv4: the size of the huge hostile replies.
inline constexpr std::size_t kMaxUdpPayload = 65507;

// What a game server sends back. A non-empty challenge (the argument of the
// request) is echoed as a last "challenge" variable, as newer servers do.

// "\xFF\xFF\xFF\xFFstatusResponse\n", the infostring, a line feed, and one line
// `score ping "name"` per player, each ended by a line feed.
std::string StatusReply(const CWorldServer& server, std::string_view challenge = {});

// "\xFF\xFF\xFF\xFFinfoResponse\n" and the short infostring of the server browser
// protocol (hostname, mapname, clients, sv_maxclients, gametype, ...).
std::string InfoReply(const CWorldServer& server, std::string_view challenge = {});

// The malformed reply of a hostile server of the given kind, made from the server's
// regular status reply; deterministic for a given seed. For an info request the
// header word is infoResponse instead of statusResponse.
std::string HostileReply(const CWorldServer& server, EHostileKind kind, std::uint64_t seed,
                         bool infoRequest = false);

} // namespace testnet
