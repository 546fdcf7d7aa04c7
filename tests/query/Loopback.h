#pragma once

#include "net/SockUDP.h"

#include <string>

// A socket on 127.0.0.1 (any port).
inline void CreateOnLoopback(CSockUDP& socket)
{
    socket.Create(CSockAddr("127.0.0.1"));
}

// A status reply with the given infostring (without its leading backslash) and players.
inline std::string StatusReply(const std::string& info, const std::string& players = "")
{
    return "\xFF\xFF\xFF\xFFstatusResponse\n\\" + info + "\n" + players;
}
