#pragma once
// Where the exerciser's decisions come from: a seeded generator, or the bytes of a fuzz input.
#include <cstddef>
#include <cstdint>

namespace sudoku::exercise {

class ChoiceSource {
public:
    virtual ~ChoiceSource() = default;
    // A value in [0, n); n >= 1.
    virtual std::uint32_t Below(std::uint32_t n) = 0;
    // True once the source has nothing more to say; the run then ends.
    virtual bool Exhausted() const { return false; }
};

// splitmix64: fast, and any seed is fine.
class SeededChoices final : public ChoiceSource {
public:
    explicit SeededChoices(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t Below(std::uint32_t n) override { return static_cast<std::uint32_t>((Next() >> 32) % n); }

private:
    std::uint64_t state_;
};

// Reads one byte per choice (two when n > 256); zeros once the input is used up.
class ByteChoices final : public ChoiceSource {
public:
    ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t Below(std::uint32_t n) override {
        std::uint32_t v = Byte();
        if (n > 256) v = v << 8 | Byte();
        if (n > 65536) v = v << 16 | Byte() << 8 | Byte();
        return v % n;
    }
    bool Exhausted() const override { return pos_ >= size_; }

private:
    std::uint32_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace sudoku::exercise
