#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testnet {

// A connectionless request as Quake-3-family servers read it: four 0xFF bytes, then
// text up to the first zero byte (or the end of the datagram), cut into words at
// white space. The command is compared without regard to letter case.
struct CRequest
{
    std::string command; // lower-cased
    std::vector<std::string> args;

    // Nothing when the datagram does not start with the four 0xFF bytes or holds no
    // command word.
    static std::optional<CRequest> Parse(std::string_view datagram);
};

// A master-server request "getservers PROTOCOL [full] [empty]"; the keywords may
// come in any order, and unknown words are ignored as real masters do.
struct CMasterQuery
{
    int protocol = 0;
    bool full = false;
    bool empty = false;

    // Nothing when the request is no getservers or its protocol is not a number.
    static std::optional<CMasterQuery> From(const CRequest& request);
};

} // namespace testnet
