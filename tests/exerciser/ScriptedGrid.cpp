#include "ScriptedGrid.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "Choices.h"

namespace sudoku::exercise {

namespace {

// A permutation of 0..n-1.
template <std::size_t N>
std::array<int, N> Shuffled(SeededChoices& rng) {
    std::array<int, N> p{};
    std::iota(p.begin(), p.end(), 0);
    for (std::size_t i = N - 1; i > 0; --i) std::swap(p[i], p[rng.Below(static_cast<std::uint32_t>(i + 1))]);
    return p;
}

// Row (or column) order: bands shuffled, and rows shuffled inside each band.
std::array<int, 9> LineOrder(SeededChoices& rng) {
    const auto bands = Shuffled<3>(rng);
    std::array<int, 9> order{};
    for (int b = 0; b < 3; ++b) {
        const auto inner = Shuffled<3>(rng);
        for (int i = 0; i < 3; ++i) order[b * 3 + i] = bands[b] * 3 + inner[i];
    }
    return order;
}

}  // namespace

Grid9 GridFromSeed(std::uint32_t seed) {
    SeededChoices rng(seed);
    const auto digits = Shuffled<9>(rng);
    const auto rows = LineOrder(rng);
    const auto cols = LineOrder(rng);
    const bool transpose = rng.Below(2) == 1;
    Grid9 g;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            const int rr = transpose ? cols[c] : rows[r];
            const int cc = transpose ? rows[r] : cols[c];
            const int base = (rr * 3 + rr / 3 + cc) % 9;  // the classic shifted-rows pattern
            g(r + 1, c + 1) = static_cast<std::int16_t>(digits[base] + 1);
        }
    }
    return g;
}

std::vector<float> BuildDraws(const Grid9& grid) {
    std::vector<float> draws;
    draws.reserve(162);
    auto offset = [](int o) { return (static_cast<float>(o) + 0.5f) / 3.0f; };  // floor(3 * v) == o
    for (int d = 1; d <= 9; ++d)
        for (int br = 1; br <= 7; br += 3)
            for (int bc = 1; bc <= 7; bc += 3)
                for (int i = 0; i < 9; ++i)
                    if (grid(br + i / 3, bc + i % 3) == d) {
                        draws.push_back(offset(i % 3));
                        draws.push_back(offset(i / 3));
                    }
    return draws;
}

bool CompleteAndValid(const Grid9& g) {
    for (int u = 0; u < 27; ++u) {
        bool seen[10] = {};
        for (int i = 0; i < 9; ++i) {
            int r, c;
            if (u < 9) r = 1 + 3 * (u / 3) + i / 3, c = 1 + 3 * (u % 3) + i % 3;
            else if (u < 18) r = u - 8, c = i + 1;
            else r = i + 1, c = u - 17;
            const int d = g(r, c);
            if (d < 1 || d > 9 || seen[d]) return false;
            seen[d] = true;
        }
    }
    return true;
}

}  // namespace sudoku::exercise
