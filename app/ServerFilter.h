#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

class CServer;

// The filter bar's rules: which listed servers are shown. A view of a scan's results
// only; what is queried is the query options' business.
struct ServerFilterRules
{
    enum PunkBuster : int
    {
        kAnyPunkBuster = 0,
        kPunkBusterOn = 1,
        kPunkBusterOff = 2,
    };

    QString text; // found in the name, map or mod
    bool hideEmpty = false;
    bool hideFull = false;
    bool hidePassworded = false;
    int punkBuster = kAnyPunkBuster;
    int gameType = 0; // 0: any
    QString mod;      // the mod as the list names it; empty: any
    int maxPing = 0;  // 0: any

    // Whether the rules let every server pass.
    bool HidesNothing() const { return *this == ServerFilterRules{}; }
    bool operator==(const ServerFilterRules&) const = default;
};

// What the rules look at of one server besides its texts, kept compact so that thousands
// of servers are filtered at each key.
struct ServerFacts
{
    std::int32_t players = 0;
    std::int32_t maxClients = 0;
    std::int32_t ping = 0;
    std::int32_t gameType = 0;
    bool needPass = false;
    bool punkBuster = false;
};

// Decides whether a server passes the filter rules. The text is found anywhere in the
// server's name, map or mod, ignoring letter case and colour codes; a text that the
// servers' code page cannot hold is found nowhere.
class CServerFilter
{
public:
    explicit CServerFilter(const ServerFilterRules& rules);

    bool Passes(const CServer& server) const;
    // The same from a server's facts and texts (AppendTexts).
    bool Passes(const ServerFacts& facts, std::string_view texts) const;
    const ServerFilterRules& Rules() const { return m_rules; }

    static ServerFacts FactsOf(const CServer& server);
    // Appends the server's name, map and mod, folded, each but the last followed by a line
    // feed.
    static void AppendTexts(const CServer& server, std::string& texts);
    // Appends Windows-1252 text without colour codes (a caret and the byte after it), in
    // lower case.
    static void Fold(std::string_view text, std::string& folded);

private:
    ServerFilterRules m_rules;
    std::string m_text; // folded
    std::string m_mod;  // folded
    bool m_textValid = true;
    bool m_modValid = true;
    mutable std::string m_buffer; // the folded server text, its room kept from server to server
};
