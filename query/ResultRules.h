#pragma once

#include "query/Server.h"

#include <string>
#include <string_view>

// The mod's display name from a (lower-cased) mod URL: "OSP", "Shrub", "Bani" or "Soff?"
// by the first matching part of the URL, otherwise the URL itself.
std::string ModName(std::string_view modUrl);

// Whether a finished server passes the "Include empty servers" and "Include full servers"
// filters. Players and maxClients are compared as unsigned numbers, so a server that never
// answered (no players, maxClients 0) counts as both empty and full.
bool PassesFilter(const CServer& server, bool includeEmpty, bool includeFull);

// Whether a finished server gets list rows at all: its status is known (gameType != 0).
bool HasRows(const CServer& server);

// "<players>/<maxClients>".
std::string PlayersText(const CServer& server);
