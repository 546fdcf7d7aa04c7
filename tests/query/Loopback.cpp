#include "Loopback.h"

void CreateOnLoopback(CSockUDP& socket)
{
    CSockAddr loopback;
    loopback.Parse("127.0.0.1", CSockAddr::Lookup::NumericOnly);
    socket.Create(loopback);
}

std::string StatusReply(const std::string& info, const std::string& players)
{
    return "\xFF\xFF\xFF\xFFstatusResponse\n\\" + info + "\n" + players;
}
