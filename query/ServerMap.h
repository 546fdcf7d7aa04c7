#pragma once

#include "net/SockAddr.h"
#include "query/Server.h"

#include <map>

// The servers of a scan by address, in the order of CSockAddr (stored bytes), which is the
// order in which a scan first queries them. Records stay in place until the map is
// cleared, so references to them remain valid while the map is only looked up.
using CServerMap = std::map<CSockAddr, CServer>;
