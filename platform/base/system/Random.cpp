#include "base/system/Random.h"

namespace base {

Random& Random::shared()
{
    static Random random { std::random_device {}() ^ (uint64_t(std::random_device {}()) << 32) };
    return random;
}

Random::Random(uint64_t seed)
    : m_engine(seed)
{
}

void Random::setSeed(uint64_t seed)
{
    std::lock_guard lock(m_mutex);
    m_engine.seed(seed);
}

uint64_t Random::nextBelow(uint64_t n)
{
    if (n == 0)
        return 0;
    std::lock_guard lock(m_mutex);
    return std::uniform_int_distribution<uint64_t>(0, n - 1)(m_engine);
}

double Random::nextUnit()
{
    std::lock_guard lock(m_mutex);
    // 53 random bits give every double of [0, 1) on the 2^-53 grid and never 1 itself.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

} // namespace base
