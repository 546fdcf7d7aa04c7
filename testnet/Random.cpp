#include "testnet/Random.h"

namespace testnet {

namespace {

std::uint64_t Mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

CRandom CRandom::Stream(std::uint64_t seed, std::uint64_t stream, std::uint64_t purpose)
{
    return CRandom(Mix(Mix(seed) ^ Mix(stream + 0x9E3779B97F4A7C15ULL) ^
                       Mix(purpose + 0x632BE59BD9B4E019ULL)));
}

std::uint64_t CRandom::Next()
{
    m_state += 0x9E3779B97F4A7C15ULL;
    return Mix(m_state);
}

std::uint32_t CRandom::Below(std::uint32_t n)
{
    // Multiply-shift reduction: bias below 2^-32, irrelevant for a test world.
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
}

int CRandom::Between(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    const auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(hi) - lo + 1);
    return static_cast<int>(lo + static_cast<std::int64_t>(Below(span)));
}

bool CRandom::Percent(double percent)
{
    if (percent <= 0)
        return false;
    if (percent >= 100)
        return true;
    // 53 random bits as a fraction in [0, 1).
    const double unit = static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
    return unit * 100.0 < percent;
}

} // namespace testnet
