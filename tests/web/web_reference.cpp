// The board as the Linux build's scene paints it, for the web page's pixel test:
//   web_reference PT RATIO
// prints the empty board at that size and device-pixel ratio as JSON: the picture's size and
// its rows run-length coded as [colour, count, ...], with -1 for the pixels inside a label's
// frame where text is drawn (the fonts' glyphs are the toolkits').
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MemoryForm.h"
#include "app/Layout.h"

using namespace sudoku;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: web_reference PT RATIO\n", stderr);
        return 2;
    }
    const int pt = std::atoi(argv[1]);
    const double ratio = std::atof(argv[2]);
    if (layout::LadderIndex(pt) < 0 || ratio < 1) return 2;
    memory::MemoryForm form;
    form::Load(form.game);
    form.scene.SetScale(scene::Scale::FromFactor(ratio));
    while (form.game.st.FontSizePt < pt) form.Choose("mnuSizeU");
    while (form.game.st.FontSizePt > pt) form.Choose("mnuSizeD");
    scene::DeviceRect shown;
    for (const memory::MemoryLabel* l : form.labels)
        if (l->Visible()) shown = shown.United(l->Bounds());
    const int w = shown.right, h = shown.bottom;
    const memory::Picture picture = memory::PaintWhole(form.scene, w, h);
    std::vector<long> px(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[static_cast<std::size_t>(y) * w + x] = picture.At(x, y);
    const int frame = form.scene.GetScale().FrameWidth();
    for (const memory::MemoryLabel* l : form.labels) {
        if (!l->Visible() || l->Caption().empty()) continue;
        const scene::DeviceRect b = l->Bounds();
        for (int y = b.top + frame; y < b.bottom - frame && y < h; ++y)
            for (int x = b.left + frame; x < b.right - frame && x < w; ++x) px[static_cast<std::size_t>(y) * w + x] = -1;
    }
    std::printf("{\"width\":%d,\"height\":%d,\"rows\":[", w, h);
    for (int y = 0; y < h; ++y) {
        std::printf(y ? ",[" : "[");
        for (int x = 0; x < w;) {
            const long c = px[static_cast<std::size_t>(y) * w + x];
            int n = 1;
            while (x + n < w && px[static_cast<std::size_t>(y) * w + x + n] == c) ++n;
            std::printf(x ? ",%ld,%d" : "%ld,%d", c, n);
            x += n;
        }
        std::printf("]");
    }
    std::printf("]}\n");
    return 0;
}
