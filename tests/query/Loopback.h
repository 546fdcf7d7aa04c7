#pragma once

#include "net/SockUDP.h"

#include <string>

// A socket on 127.0.0.1 (any port).
void CreateOnLoopback(CSockUDP& socket);

// A status reply with the given infostring (without its leading backslash) and players.
std::string StatusReply(const std::string& info, const std::string& players = "");
