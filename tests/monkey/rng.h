#pragma once
// The random source of the monkey: SplitMix64, written out here so that a seed
// gives the same events on every machine and with every standard library.
#include <cstdint>
#include <vector>

namespace tuvrel::monkey {

inline std::uint64_t mix64(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        state_ += 0x9e3779b97f4a7c15ULL;
        return mix64(state_);
    }
    // A whole number in [0, n); n > 0.
    int below(int n) { return int((next() >> 33) % std::uint64_t(n)); }
    // A whole number in [lo, hi].
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return double(next() >> 11) * 0x1.0p-53 < p; }
    // An index chosen with the given weights; -1 when they are all zero.
    int weighted(const std::vector<double>& weights)
    {
        double total = 0;
        for (double w : weights)
            total += w;
        if (total <= 0)
            return -1;
        double r = double(next() >> 11) * 0x1.0p-53 * total;
        for (size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return int(i);
            r -= weights[i];
        }
        for (size_t i = weights.size(); i-- > 0;)
            if (weights[i] > 0)
                return int(i);
        return -1;
    }
    template <class T>
    const T& pick(const std::vector<T>& items)
    {
        return items[size_t(below(int(items.size())))];
    }

private:
    std::uint64_t state_;
};

// The n-th sequence's own seed within a run.
inline std::uint64_t sequenceSeed(std::uint64_t runSeed, std::uint64_t n)
{
    return mix64(runSeed + 0x9e3779b97f4a7c15ULL * (n + 1));
}

}  // namespace tuvrel::monkey
