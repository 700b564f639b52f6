// Writes the game's icon files for installing and for the Windows resource:
//   icongen OUT NAME --png SIZE... --ico SIZE...
// gives OUT/hicolor/SxS/apps/NAME.png for each PNG size,
// OUT/hicolor/scalable/apps/NAME.svg and OUT/NAME.ico.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/IconDesign.h"
#include "tools/icongen/IconFiles.h"

namespace fs = std::filesystem;

namespace {

bool Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) std::fprintf(stderr, "icongen: cannot write %s\n", path.string().c_str());
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: icongen OUT NAME --png SIZE... --ico SIZE...\n");
        return 2;
    }
    const fs::path out = argv[1];
    const std::string name = argv[2];
    std::vector<int> png, ico;
    std::vector<int>* list = nullptr;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--png") {
            list = &png;
        } else if (arg == "--ico") {
            list = &ico;
        } else if (int size = 0; list && std::from_chars(arg.data(), arg.data() + arg.size(), size).ptr ==
                                                 arg.data() + arg.size() && size > 0 && size <= 256) {
            list->push_back(size);
        } else {
            std::fprintf(stderr, "icongen: unexpected argument %s\n", arg.c_str());
            return 2;
        }
    }

    bool ok = true;
    for (int size : png) {
        const std::string dir = std::to_string(size) + "x" + std::to_string(size);
        ok &= Write(out / "hicolor" / dir / "apps" / (name + ".png"), sudoku::iconfiles::Png(size));
    }
    // The scalable icon traces the largest window icon, the design with a one-pixel frame.
    const int grid = *std::max_element(std::begin(sudoku::icon::kWindowSizes), std::end(sudoku::icon::kWindowSizes));
    ok &= Write(out / "hicolor" / "scalable" / "apps" / (name + ".svg"), sudoku::iconfiles::Svg(grid));
    if (!ico.empty()) ok &= Write(out / (name + ".ico"), sudoku::iconfiles::Ico(ico));
    return ok ? 0 : 1;
}
