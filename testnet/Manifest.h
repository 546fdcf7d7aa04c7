#pragma once

#include "testnet/TestNetOptions.h"
#include "testnet/World.h"

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <string_view>

namespace testnet {

// The manifest: what the world is and what every server answers, as JSON text.
//
//   master:  host, port, protocol, silent, delay_ms, extra_ports
//   servers: one object per server in port order: index, host, port, protocol,
//            behaviour ("normal", "silent", "resend-only", "hostile", "duplicates"),
//            hostile_kind (hostile servers), delay_ms, max_clients, private_clients,
//            full, empty; for servers that answer regularly (normal, resend-only,
//            duplicates) vars ([key, value] pairs in the order sent) and players
//            ({name, score, ping}, names as sent between the quotes); for hostile
//            servers status_hex, the exact bytes of their status reply in hex.
//
// Texts are the bytes as sent, decoded from Windows-1252 to UTF-8 one code point per
// byte, undefined bytes as the C1 controls of the same value (format/Cp1252.h), so that the
// manifest is valid UTF-8 and the bytes can be restored exactly. The top-level members stand on
// lines of their own and every server on one line, so that large worlds stay compact and a diff
// shows which server changed; servers are written one at a time, never all held as JSON at once.
std::string ManifestText(const CWorld& world, const CTestNetOptions& options);

// One server's manifest entry.
nlohmann::json ServerManifest(const CWorldServer& server, std::uint64_t seed);

// Writes text to path through a temporary file in the same folder and a rename, so
// a reader never sees a half-written file. Throws std::system_error.
void WriteFileAtomically(const std::string& path, std::string_view text);

} // namespace testnet
