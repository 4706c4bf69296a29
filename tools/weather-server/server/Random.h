#pragma once

#include <cstdint>
#include <string_view>

namespace ws {

// FNV-1a: a stable hash of a text, the same on every platform and in every run.
inline std::uint64_t hashText(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

// splitmix64: small, fast, and fully determined by its seed (unlike std::*_distribution,
// whose output differs between standard libraries).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    double range(double low, double high) { return low + (high - low) * uniform(); }
    int integer(int low, int high)   // inclusive
    {
        return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1));
    }

private:
    std::uint64_t state_;
};

inline std::uint64_t mixSeed(std::uint64_t a, std::uint64_t b)
{
    return Rng(a ^ (b * 0xD6E8FEB86659FD93ULL)).next();
}

}  // namespace ws
