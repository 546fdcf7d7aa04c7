#include "Loopback.h"

void CreateOnLoopback(CSockUDP& socket)
{
    socket.Create(CSockAddr("127.0.0.1"));
}

std::string StatusReply(const std::string& info, const std::string& players)
{
    return "\xFF\xFF\xFF\xFFstatusResponse\n\\" + info + "\n" + players;
}
