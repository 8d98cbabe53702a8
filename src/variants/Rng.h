#pragma once
// The random numbers of the fresh numbers: the same seed gives the same
// numbers on every machine and with every compiler (the standard library's
// distributions may differ between implementations; this does not).
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace variants {

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    // A stream of its own for each of several numbers (seed, question,
    // attempt): changing one question's draws leaves the others alone.
    Rng(std::initializer_list<uint64_t> parts)
    {
        for (uint64_t p : parts) {
            state_ ^= p;
            next();
        }
    }

    uint64_t next()
    {
        // splitmix64
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A whole number from lo to hi, both included.
    long long between(long long lo, long long hi)
    {
        if (hi <= lo)
            return lo;
        return lo + (long long)(next() % uint64_t(hi - lo + 1));
    }

    bool coin() { return next() & 1; }

    template <class T> const T &pick(const std::vector<T> &from)
    {
        return from[std::size_t(between(0, static_cast<long long>(from.size()) - 1))];
    }

private:
    uint64_t state_ = 0x5EED;
};

} // namespace variants
