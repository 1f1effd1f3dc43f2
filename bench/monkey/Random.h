#pragma once
// The monkey's only source of chance: the same seed gives the same choices (the program's timing
// may still differ from run to run).

#include <cstdint>
#include <initializer_list>
#include <vector>

class Random {
  public:
    explicit Random(std::uint64_t seed) : State(seed) {}
    // splitmix64: small, fast, and every seed gives a good sequence.
    std::uint64_t Next() {
        std::uint64_t z = (State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // From low to high, both included.
    int Between(int low, int high) {
        return low + static_cast<int>(Next() % static_cast<std::uint64_t>(high - low + 1));
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
    }
    // An index into the weights, each chosen in proportion to its weight.
    std::size_t Weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights)
            total += w;
        int at = Between(1, total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if ((at -= weights[i]) <= 0)
                return i;
        }
        return weights.size() - 1;
    }

  private:
    std::uint64_t State;
};
