#pragma once

#include "net/SockAddr.h"
#include "query/ServerMap.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

class IWaitable;

// The request text: four FF bytes, "getservers <protocol>", then " full" and " empty" as
// asked. Sent followed by its terminating zero byte.
std::string BuildMasterRequest(int protocol, bool includeFull, bool includeEmpty);

// The most addresses that one master query keeps: far more than any real master lists, and
// a bound on what a master that never stops listing can make us hold.
inline constexpr std::size_t kMaxListedServers = 65536;

// Adds one fresh record per 7-byte server record of a reply datagram (backslash, 4 address
// bytes, 2 port bytes, most significant first), from the first backslash on, until the end
// of the datagram, a zero byte where a separator is due, the end marker, or a record cut
// off by the end. The end marker is "\EOT" followed by zero bytes: a record of a server at
// 69.79.84.x, whose address bytes spell "EOT", has a port that is not 0 and is a server. A
// listed address replaces an earlier record of the same address. No address is added once
// the map holds maxServers records; returns true when the datagram listed one more then.
bool ParseMasterReply(std::string_view datagram, CServerMap& map,
                      std::size_t maxServers = kMaxListedServers);

enum class MasterResult
{
    Answered,
    NoResponse,
    Cancelled
};

struct MasterQueryOptions
{
    int attempts = 3;
    std::chrono::milliseconds firstTimeout{1000};
    std::chrono::milliseconds timeoutStep{500}; // added after every unanswered attempt
    // Once answered, the list is read until the master has been silent for twice the
    // time-out in force; but never for longer than this in all, however much it sends.
    std::chrono::milliseconds maxListTime{30000};
    // The most addresses kept; once the master lists more, reading stops.
    std::size_t maxServers = kMaxListedServers;
    // Once signalled, the query ends at its next wait with Cancelled (the map may then be
    // cleared or partly filled). A manual-reset event, so that it stays signalled; owned
    // by the caller.
    IWaitable* cancel = nullptr;
};

// What a QueryMaster call did, for callers that show it and for tests.
struct MasterQueryStats
{
    int attempts = 0;                      // probe attempts made, counting the answered one
    std::chrono::milliseconds listWait{0}; // silence that ended the list
    std::size_t datagrams = 0;             // reply datagrams of the master that were read
    bool capped = false; // the master listed more than maxServers; the rest was not read
};

// Asks the master for its server list in the caller's thread: probes with growing time-outs
// until the master answers (or the attempts run out: NoResponse, and the map is left as it
// was), then sends the request again, clears the map and fills it from every reply
// datagram until the master falls silent or lists more than maxServers. Only datagrams from
// the master's address count, and only they extend the wait for the next one.
// Socket failures throw CSockErr; after the map was cleared it may then be partly filled.
// A signalled options.cancel ends it early with Cancelled.
MasterResult QueryMaster(const CSockAddr& master, std::string_view request, CServerMap& map,
                         const MasterQueryOptions& options = {}, MasterQueryStats* stats = nullptr);

inline constexpr std::string_view kNoMasterResponse = "No response from master server.";

// The texts of the Version box, by index.
extern const std::array<std::string_view, 5> kVersionNames;

// The master protocol number for an index of the Version box: index + 56.
int ProtocolForVersionIndex(int index);
