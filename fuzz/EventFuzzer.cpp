// libFuzzer target: the input's bytes choose the events (and the events inside new
// games and builds) that the exerciser delivers, with the same checks after each;
// FuzzInput bounds what one input may cost.
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sudoku::fuzz::CheckInput(data, size);
    return 0;
}
