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

bool CServerFilter::HasText(std::string_view text) const
{
    m_buffer.clear();
    Fold(text, m_buffer);
    return m_buffer.find(m_text) != std::string::npos;
}

bool CServerFilter::Passes(const CServer& server) const
{
    const ServerFilterRules& r = m_rules;
    if ((r.hideEmpty && !PassesFilter(server, false, true)) ||
        (r.hideFull && !PassesFilter(server, true, false)) || (r.hidePassworded && server.needPass))
        return false;
    if ((r.punkBuster == ServerFilterRules::kPunkBusterOn && !server.punkBuster) ||
        (r.punkBuster == ServerFilterRules::kPunkBusterOff && server.punkBuster))
        return false;
    if ((r.gameType != 0 && server.gameType != r.gameType) ||
        (r.maxPing > 0 && server.ping > r.maxPing))
        return false;
    if (m_mod.empty() && m_text.empty() && m_modValid && m_textValid)
        return true;
    const std::string mod = ModName(server.modUrl);
    if (!r.mod.isEmpty()) {
        m_buffer.clear();
        Fold(mod, m_buffer);
        if (!m_modValid || m_buffer != m_mod)
            return false;
    }
    if (m_text.empty())
        return m_textValid;
    return m_textValid && (HasText(server.name) || HasText(server.map) || HasText(mod));
}
