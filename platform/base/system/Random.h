// base::Random: the application's one source of pseudo-random numbers, seedable so that a test can make a
// run repeatable. The shared instance starts from an unpredictable seed; setSeed restarts its sequence.
// Any thread (the state is guarded).
//
//   base::Random::shared().setSeed(7);                      // in a test
//   uint64_t pick = base::Random::shared().nextBelow(items.size());
//   double fraction = base::Random::shared().nextUnit();
#pragma once

#include <cstdint>
#include <mutex>
#include <random>

namespace base {

class Random {
public:
    static Random& shared();

    explicit Random(uint64_t seed);

    void setSeed(uint64_t seed);
    // A number in [0, n), every value equally likely; 0 when n is 0.
    uint64_t nextBelow(uint64_t n);
    // A number in [0, 1).
    double nextUnit();

private:
    std::mutex m_mutex;
    std::mt19937_64 m_engine;
};

} // namespace base
