#pragma once

#include <cstdint>
#include <span>

namespace testnet {

// Small deterministic pseudo-random generator (SplitMix64). The standard
// distributions differ between standard libraries, so the test network does its
// own range reduction: the same seed gives the same world everywhere.
class CRandom
{
public:
    explicit CRandom(std::uint64_t seed) : m_state(seed) {}

    // A generator for one numbered stream (a server, a purpose) derived from a seed,
    // so that the draws of one stream do not depend on how many others exist.
    static CRandom Stream(std::uint64_t seed, std::uint64_t stream, std::uint64_t purpose = 0);

    std::uint64_t Next();
    // Uniform in [0, n); n == 0 gives 0.
    std::uint32_t Below(std::uint32_t n);
    // Uniform in [lo, hi], both inclusive; lo > hi gives lo.
    int Between(int lo, int hi);
    // True with the given probability in percent (0 never, 100 always).
    bool Percent(double percent);

    template <typename T>
    const T& Pick(std::span<const T> items)
    {
        return items[Below(static_cast<std::uint32_t>(items.size()))];
    }

private:
    std::uint64_t m_state;
};

} // namespace testnet
