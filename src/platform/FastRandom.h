#pragma once
#include <cstdint>

#include "platform/Controls.h"

namespace sudoku {

// A small, fast generator (xoshiro128+). Values are the top 24 bits of a
// 32-bit draw scaled by 2^-24, so they are exact floats in [0, 1) and can
// never round up to 1.0.
class FastRandom final : public RandomSource {
public:
    FastRandom() { Seed(0.0f); }
    void Seed(float seed) override;
    float Next() override { return ToUnit(NextBits()); }

    std::uint32_t NextBits();
    static float ToUnit(std::uint32_t bits) {
        return static_cast<float>(bits >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::uint32_t s_[4]{};
};

}  // namespace sudoku
