#pragma once
#include <bit>
#include <cstdint>

#include "app/Controls.h"

namespace sudoku {

// A small, fast generator (xoshiro128+). Values are the top 24 bits of a
// 32-bit draw scaled by 2^-24, so they are exact floats in [0, 1) and can
// never round up to 1.0.
class FastRandom final : public RandomSource {
public:
    FastRandom() { Seed(0.0f); }
    void Seed(float seed) override;
    float Next() override { return ToUnit(NextBits()); }
    void NextBatch(float* out, int n) override {
        for (int i = 0; i < n; ++i) out[i] = ToUnit(NextBits());
    }

    std::uint32_t NextBits() {
        const std::uint32_t result = s_[0] + s_[3];
        const std::uint32_t t = s_[1] << 9;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = std::rotl(s_[3], 11);
        return result;
    }
    static float ToUnit(std::uint32_t bits) {
        return static_cast<float>(bits >> 8) * (1.0f / 16777216.0f);
    }

private:
    std::uint32_t s_[4]{};
};

}  // namespace sudoku
