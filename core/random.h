#pragma once

#include <cstdint>

namespace kalmo::core {

// A small uniform generator whose whole state is one value, so that callers can save it,
// seed it for a piece of work that must repeat exactly, and restore it afterwards.
// Not thread-safe: each owner (a window, a transition control) keeps its own.
class Random {
public:
    explicit Random(std::uint64_t seed = 0x2545F4914F6CDD1DULL) : m_state(seed) {}

    std::uint64_t state() const { return m_state; }
    void setState(std::uint64_t state) { m_state = state; }
    void seed(std::uint64_t seed) { m_state = seed; }

    // Next raw 32-bit value (splitmix64 step, upper half).
    std::uint32_t next32() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
    }

    // Uniform integer in [0, n); 0 when n <= 0.
    int below(int n) {
        if (n <= 0)
            return 0;
        return static_cast<int>(
            (static_cast<std::uint64_t>(next32()) * static_cast<std::uint32_t>(n)) >> 32);
    }

private:
    std::uint64_t m_state;
};

// Saves a generator's state on construction and restores it on destruction.
class RandomStateGuard {
public:
    RandomStateGuard(Random &random, std::uint64_t seed)
        : m_random(random), m_saved(random.state()) {
        m_random.seed(seed);
    }
    ~RandomStateGuard() { m_random.setState(m_saved); }
    RandomStateGuard(const RandomStateGuard &) = delete;
    RandomStateGuard &operator=(const RandomStateGuard &) = delete;

private:
    Random &m_random;
    std::uint64_t m_saved;
};

} // namespace kalmo::core
