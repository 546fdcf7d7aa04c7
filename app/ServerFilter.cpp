#include "app/ServerFilter.h"

#include "format/Cp1252.h"
#include "query/ResultRules.h"
#include "query/Server.h"

#include <array>

namespace {

// Windows-1252 upper-case letters to their lower-case ones; other bytes stay.
constexpr std::array<unsigned char, 256> kLower = [] {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) // the multiplication sign
            table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    }
    table[0x8A] = 0x9A; // S caron
    table[0x8C] = 0x9C; // OE
    table[0x8E] = 0x9E; // Z caron
    table[0x9F] = 0xFF; // Y diaeresis
    return table;
}();

// The folded Windows-1252 form of typed text; false when the code page cannot hold it.
bool FoldTyped(const QString& typed, std::string& folded)
{
    folded.clear();
    const std::optional<std::string> bytes = Utf8ToCp1252(typed.toUtf8().toStdString());
    if (!bytes)
        return false;
    CServerFilter::Fold(*bytes, folded);
    return true;
}

} // namespace

CServerFilter::CServerFilter(const ServerFilterRules& rules) : m_rules(rules)
{
    m_textValid = FoldTyped(rules.text, m_text);
    m_modValid = FoldTyped(rules.mod, m_mod);
}

void CServerFilter::Fold(std::string_view text, std::string& folded)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^') {
            ++i; // and the colour's byte
            continue;
        }
        folded.push_back(static_cast<char>(kLower[static_cast<unsigned char>(text[i])]));
    }
}

ServerFacts CServerFilter::FactsOf(const CServer& server)
{
    ServerFacts facts;
    facts.players = static_cast<std::int32_t>(server.players.size());
    facts.maxClients = server.maxClients;
    facts.ping = server.ping;
    facts.gameType = server.gameType;
    facts.needPass = server.needPass;
    facts.punkBuster = server.punkBuster;
    return facts;
}

void CServerFilter::AppendTexts(const CServer& server, std::string& texts)
{
    Fold(server.name, texts);
    texts.push_back('\n');
    Fold(server.map, texts);
    texts.push_back('\n');
    Fold(ModName(server.modUrl), texts);
}

bool CServerFilter::Passes(const CServer& server) const
{
    m_buffer.clear();
    AppendTexts(server, m_buffer);
    return Passes(FactsOf(server), m_buffer);
}

bool CServerFilter::Passes(const ServerFacts& facts, std::string_view texts) const
{
    const ServerFilterRules& r = m_rules;
    // Empty and full as the query options count them (unsigned).
    const auto players = static_cast<std::uint32_t>(facts.players);
    if ((r.hideEmpty && players == 0) ||
        (r.hideFull && players >= static_cast<std::uint32_t>(facts.maxClients)) ||
        (r.hidePassworded && facts.needPass))
        return false;
    if ((r.punkBuster == ServerFilterRules::kPunkBusterOn && !facts.punkBuster) ||
        (r.punkBuster == ServerFilterRules::kPunkBusterOff && facts.punkBuster))
        return false;
    if ((r.gameType != 0 && facts.gameType != r.gameType) ||
        (r.maxPing > 0 && facts.ping > r.maxPing))
        return false;
    if (!m_modValid || !m_textValid)
        return false;
    if (!r.mod.isEmpty() && texts.substr(texts.rfind('\n') + 1) != m_mod)
        return false;
    return texts.find(m_text) != std::string_view::npos;
}
