#include "app/IconDesign.h"

#include <algorithm>

namespace sudoku::icon {

namespace {
constexpr Rgb kWhite = 0xFFFFFF, kGrey = 0x7F7F7F, kLine = 0xC3C3C3, kFrame = 0x000000;
}

std::vector<Rgb> Pixels(int size) {
    std::vector<Rgb> px(static_cast<size_t>(size) * size, kLine);
    const int frame = size >= 24 ? std::max(1, size / 48) : 0;
    const int inner = size - 2 * frame;
    const int line = std::max(1, size / 24);
    const int square = (inner - 2 * line) / 3;
    const int margin = (inner - 3 * square - 2 * line) / 2;  // left-over pixels, as light-grey border
    const int origin = frame + margin;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgb& p = px[static_cast<size_t>(y) * size + x];
            if (x < frame || y < frame || x >= size - frame || y >= size - frame) {
                p = kFrame;
                continue;
            }
            const int ox = x - origin, oy = y - origin;
            if (ox < 0 || oy < 0) continue;
            const int i = ox / (square + line), j = oy / (square + line);
            if (i > 2 || j > 2 || ox % (square + line) >= square || oy % (square + line) >= square) continue;
            p = (i + j) % 2 == 0 ? kWhite : kGrey;
        }
    }
    return px;
}

}  // namespace sudoku::icon
