#include "testnet/Manifest.h"

#include "format/Cp1252.h"
#include "testnet/ServerReplies.h"
#include "testnet/UniqueFd.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <nlohmann/json.hpp>
#include <system_error>

namespace testnet {

namespace {

// Undefined bytes become C1 controls, so that every byte survives the round trip.
constexpr Cp1252Undefined kManifestText = Cp1252Undefined::C1Control;

} // namespace

namespace {

constexpr const char* kHost = "127.0.0.1";

std::string Hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

} // namespace

nlohmann::json ServerManifest(const CWorldServer& server, std::uint64_t seed)
{
    nlohmann::json j = {
        {"index", server.index},
        {"host", kHost},
        {"port", server.port},
        {"protocol", server.protocol},
        {"behaviour", BehaviourName(server.behaviour)},
        {"delay_ms", server.delayMs},
        {"max_clients", server.maxClients},
        {"private_clients", server.privateClients},
        {"full", server.Full()},
        {"empty", server.Empty()},
    };
    switch (server.behaviour) {
    case EBehaviour::Silent:
        break;
    case EBehaviour::Hostile:
        j["hostile_kind"] = HostileKindName(server.hostileKind);
        j["status_hex"] = Hex(HostileReply(server, server.hostileKind, seed));
        break;
    case EBehaviour::Normal:
    case EBehaviour::ResendOnly:
    case EBehaviour::Duplicates: {
        auto vars = nlohmann::json::array();
        for (const auto& [key, value] : server.vars)
            vars.push_back({Cp1252ToUtf8(key, kManifestText), Cp1252ToUtf8(value, kManifestText)});
        auto players = nlohmann::json::array();
        for (const auto& player : server.players) {
            players.push_back({{"name", Cp1252ToUtf8(player.name, kManifestText)},
                               {"score", player.score},
                               {"ping", player.ping}});
        }
        j["vars"] = std::move(vars);
        j["players"] = std::move(players);
        break;
    }
    }
    return j;
}

std::string ManifestText(const CWorld& world, const CTestNetOptions& options)
{
    const nlohmann::json head = {
        {"format", 1},
        {"text_encoding", "windows-1252 decoded to UTF-8"},
        {"seed", world.seed},
        {"protocol", world.protocol},
        {"jitter_ms", options.jitterMs},
        {"loss_percent", options.lossPercent},
        {"master",
         {{"host", kHost},
          {"port", world.masterPort},
          {"protocol", world.protocol},
          {"silent", world.masterSilent},
          {"delay_ms", world.masterDelayMs},
          {"extra_ports", world.masterExtraPorts}}},
    };
    std::string text = "{\n";
    for (const auto& [key, value] : head.items())
        text += "  " + nlohmann::json(key).dump() + ": " + value.dump() + ",\n";
    text += "  \"servers\": [";
    for (std::size_t i = 0; i < world.servers.size(); ++i) {
        text += i == 0 ? "\n    " : ",\n    ";
        text += ServerManifest(world.servers[i], world.seed).dump();
    }
    text += world.servers.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

void WriteFileAtomically(const std::string& path, std::string_view text)
{
    const std::string temp = path + ".tmp." + std::to_string(::getpid());
    auto fail = [&](const char* what, const std::string& file) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw std::system_error(error, std::generic_category(), std::string(what) + " " + file);
    };
    {
        CUniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!fd.Valid())
            fail("cannot create", temp);
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fd.Get(), text.data() + done, text.size() - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                fail("cannot write", temp);
            }
            done += static_cast<std::size_t>(n);
        }
        if (::fsync(fd.Get()) != 0)
            fail("cannot write", temp);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0)
        fail("cannot rename to", path);
}

} // namespace testnet
