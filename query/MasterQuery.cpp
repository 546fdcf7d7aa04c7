#include "query/MasterQuery.h"

#include "net/Error.h"
#include "net/SockUDP.h"
#include "net/Wait.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

const std::array<std::string_view, 5> kVersionNames = {"Demo", "1.0 - 1.1", "1.3", "1.32 - 1.33",
                                                       "1.4"};

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kRecordSize = 7;
constexpr std::string_view kEndMarker = "\\EOT";
// Masters send long lists in quick bursts: room for many datagrams.
constexpr int kReceiveBufferBytes = 4 << 20;

enum class Waited
{
    Readable,
    TimedOut,
    Cancelled
};

// Waits until the socket has something to read (or an error to report), the time is up, or
// the query is cancelled.
Waited WaitReadable(CSockUDP& socket, IWaitable* cancel, SteadyClock::duration timeout)
{
    const std::array<IWaitable*, 2> all{cancel, &socket};
    const std::span<IWaitable* const> sources =
        cancel != nullptr ? std::span(all) : std::span(all).subspan(1);
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(
        std::max(timeout, SteadyClock::duration::zero()));
    const int index = WaitForAny(sources, ms);
    if (index == kWaitTimeout)
        return Waited::TimedOut;
    return sources[static_cast<std::size_t>(index)] == cancel ? Waited::Cancelled
                                                              : Waited::Readable;
}

} // namespace

std::string BuildMasterRequest(int protocol, bool includeFull, bool includeEmpty)
{
    std::string request = "\xFF\xFF\xFF\xFFgetservers " + std::to_string(protocol);
    if (includeFull)
        request += " full";
    if (includeEmpty)
        request += " empty";
    return request;
}

bool ParseMasterReply(std::string_view datagram, CServerMap& map, std::size_t maxServers)
{
    std::size_t pos = datagram.find('\\');
    if (pos == std::string_view::npos)
        return false;
    while (pos < datagram.size() && datagram[pos] != '\0') {
        if (datagram.size() - pos < kRecordSize)
            return false; // a record (or an end marker) cut off by the end of the datagram
        // The separator itself is not looked at: whatever stands there starts a record.
        std::uint32_t address = 0;
        std::memcpy(&address, datagram.data() + pos + 1, sizeof address); // network order
        const auto high = static_cast<unsigned char>(datagram[pos + 5]);
        const auto low = static_cast<unsigned char>(datagram[pos + 6]);
        const auto port = static_cast<std::uint16_t>((high << 8) | low);
        if (port == 0 && datagram.compare(pos, kEndMarker.size(), kEndMarker) == 0)
            return false; // the end marker and its zero bytes
        const CSockAddr server(address, port);
        if (map.size() >= maxServers && !map.contains(server))
            return true;
        map.insert_or_assign(server, CServer(server));
        pos += kRecordSize;
    }
    return false;
}

MasterResult QueryMaster(const CSockAddr& master, std::string_view request, CServerMap& map,
                         const MasterQueryOptions& options, MasterQueryStats* stats)
{
    MasterQueryStats local;
    MasterQueryStats& done = stats != nullptr ? *stats : local;
    done = MasterQueryStats{};

    CSockUDP socket;
    socket.Create();
    socket.SetReceiveBufferSize(kReceiveBufferBytes);
    std::string datagram;
    CSockAddr sender;
    std::optional<std::string> firstAnswer;

    // The probe: send, and wait for the master with a time-out that grows per attempt.
    auto timeout = options.firstTimeout;
    int attemptsLeft = options.attempts;
    while (attemptsLeft > 0 && !firstAnswer) {
        ++done.attempts;
        ThrowIfError(socket.SendTo(request, master));
        const auto deadline = SteadyClock::now() + timeout;
        for (;;) {
            const Waited waited =
                WaitReadable(socket, options.cancel, deadline - SteadyClock::now());
            if (waited == Waited::Cancelled)
                return MasterResult::Cancelled;
            if (waited == Waited::TimedOut) {
                --attemptsLeft;
                timeout += options.timeoutStep;
                break;
            }
            if (!CSockUDP::HasEvent(socket.EnumNetworkEvents(), kNetworkRead)) {
                // Woken without data (an error report): ask again within this attempt.
                ThrowIfError(socket.SendTo(request, master));
                continue;
            }
            ThrowIfError(socket.ReceiveFrom(datagram, sender));
            if (sender == master) {
                firstAnswer = datagram; // read with the rest of the list below
                break;
            }
            // Somebody else's datagram: not an answer, and not part of the list.
        }
    }
    if (!firstAnswer)
        return MasterResult::NoResponse;

    // The list: ask once more, then read every datagram until the master falls silent. Only
    // the master's own datagrams restart the wait; others are read and dropped.
    ThrowIfError(socket.SendTo(request, master));
    map.clear();
    done.capped = ParseMasterReply(*firstAnswer, map, options.maxServers);
    done.datagrams = 1;
    done.listWait = 2 * timeout;
    const auto listEnd = SteadyClock::now() + options.maxListTime;
    auto silenceEnd = SteadyClock::now() + done.listWait;
    while (!done.capped) {
        if (CSockUDP::HasEvent(socket.EnumNetworkEvents(), kNetworkRead)) {
            ThrowIfError(socket.ReceiveFrom(datagram, sender));
            if (sender == master) {
                done.capped = ParseMasterReply(datagram, map, options.maxServers);
                ++done.datagrams;
                silenceEnd = SteadyClock::now() + done.listWait;
            }
        }
        const auto end = std::min(listEnd, silenceEnd);
        const auto now = SteadyClock::now();
        if (now >= end)
            break;
        const Waited waited = WaitReadable(socket, options.cancel, end - now);
        if (waited == Waited::Cancelled)
            return MasterResult::Cancelled;
        if (waited == Waited::TimedOut)
            break;
    }
    return MasterResult::Answered;
}

int ProtocolForVersionIndex(int index)
{
    return index + 56;
}
