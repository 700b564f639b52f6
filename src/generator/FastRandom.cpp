#include "generator/FastRandom.h"

#include <cstring>

namespace sudoku {

namespace {
std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
}  // namespace

void FastRandom::Seed(float seed) {
    // The seed's bits (std::bit_cast where every standard library has it).
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    std::uint64_t x = bits;
    for (auto& word : s_) word = static_cast<std::uint32_t>(SplitMix(x) >> 32);
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 1;  // never the all-zero state
}

}  // namespace sudoku
