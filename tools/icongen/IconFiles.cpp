#include "tools/icongen/IconFiles.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <map>

#include "app/IconDesign.h"

namespace sudoku::iconfiles {

namespace {

void PutBe32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}
void PutLe16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void PutLe32(std::string& out, std::uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

std::uint32_t Crc32(const std::string& bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBe32(out, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    PutBe32(out, Crc32(body));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string Zlib(const std::string& raw) {
    std::string out = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    size_t pos = 0;
    do {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        out += static_cast<char>(pos + n == raw.size() ? 1 : 0);
        PutLe16(out, static_cast<std::uint32_t>(n));
        PutLe16(out, static_cast<std::uint32_t>(~n & 0xFFFF));
        out.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    PutBe32(out, (b << 16) | a);
    return out;
}

}  // namespace

std::string Png(int size) {
    const auto px = icon::Pixels(size);
    std::vector<Rgb> palette(px.begin(), px.end());
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    const bool indexed = palette.size() <= 256;
    const int depth = !indexed ? 8 : palette.size() <= 2 ? 1 : palette.size() <= 4 ? 2 : palette.size() <= 16 ? 4 : 8;
    std::map<Rgb, int> index;
    for (size_t i = 0; i < palette.size(); ++i) index[palette[i]] = static_cast<int>(i);

    std::string raw;
    for (int y = 0; y < size; ++y) {
        raw += '\0';  // filter type: none
        if (!indexed) {
            for (int x = 0; x < size; ++x) {
                const Rgb c = px[static_cast<size_t>(y) * size + x];
                raw += static_cast<char>(c >> 16);
                raw += static_cast<char>((c >> 8) & 0xFF);
                raw += static_cast<char>(c & 0xFF);
            }
            continue;
        }
        unsigned acc = 0;
        int bits = 0;
        for (int x = 0; x < size; ++x) {
            acc = (acc << depth) | static_cast<unsigned>(index[px[static_cast<size_t>(y) * size + x]]);
            bits += depth;
            if (bits == 8) {
                raw += static_cast<char>(acc);
                acc = 0;
                bits = 0;
            }
        }
        if (bits > 0) raw += static_cast<char>(acc << (8 - bits));
    }

    std::string header;
    PutBe32(header, static_cast<std::uint32_t>(size));
    PutBe32(header, static_cast<std::uint32_t>(size));
    header += static_cast<char>(depth);
    header += static_cast<char>(indexed ? 3 : 2);  // colour type: palette or RGB
    header += std::string(3, '\0');                 // deflate, adaptive filters, no interlace

    std::string out = "\x89PNG\r\n\x1a\n";
    PutChunk(out, "IHDR", header);
    if (indexed) {
        std::string plte;
        for (Rgb c : palette) {
            plte += static_cast<char>(c >> 16);
            plte += static_cast<char>((c >> 8) & 0xFF);
            plte += static_cast<char>(c & 0xFF);
        }
        PutChunk(out, "PLTE", plte);
    }
    PutChunk(out, "IDAT", Zlib(raw));
    PutChunk(out, "IEND", "");
    return out;
}

std::string Ico(const std::vector<int>& sizes) {
    std::vector<std::string> images;
    for (int size : sizes) {
        const auto px = icon::Pixels(size);
        const int xorStride = (size * 3 + 3) / 4 * 4;
        const int andStride = (size + 31) / 32 * 4;
        std::string dib;
        PutLe32(dib, 40);  // BITMAPINFOHEADER
        PutLe32(dib, static_cast<std::uint32_t>(size));
        PutLe32(dib, static_cast<std::uint32_t>(2 * size));  // colour rows plus mask rows
        PutLe16(dib, 1);
        PutLe16(dib, 24);
        PutLe32(dib, 0);
        PutLe32(dib, static_cast<std::uint32_t>((xorStride + andStride) * size));
        dib += std::string(16, '\0');
        for (int y = size - 1; y >= 0; --y) {  // bottom row first
            std::string row;
            for (int x = 0; x < size; ++x) {
                const Rgb c = px[static_cast<size_t>(y) * size + x];
                row += static_cast<char>(c & 0xFF);
                row += static_cast<char>((c >> 8) & 0xFF);
                row += static_cast<char>(c >> 16);
            }
            row.resize(static_cast<size_t>(xorStride), '\0');
            dib += row;
        }
        dib += std::string(static_cast<size_t>(andStride) * size, '\0');  // mask: every pixel opaque
        images.push_back(dib);
    }

    std::string out;
    PutLe16(out, 0);
    PutLe16(out, 1);  // type: icon
    PutLe16(out, static_cast<std::uint32_t>(sizes.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        out += static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);
        out += static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);
        out += std::string(2, '\0');  // no palette, reserved
        PutLe16(out, 1);              // planes
        PutLe16(out, 24);             // bits per pixel
        PutLe32(out, static_cast<std::uint32_t>(images[i].size()));
        PutLe32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images) out += image;
    return out;
}

std::string Svg(int grid) {
    const auto px = icon::Pixels(grid);
    auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * grid + x]; };
    // The commonest colour fills the square; every other colour is laid on top
    // as rectangles, each grown right and then down over pixels of its colour.
    std::map<Rgb, int> count;
    for (Rgb c : px) ++count[c];
    const Rgb ground = std::max_element(count.begin(), count.end(),
                                        [](const auto& a, const auto& b) { return a.second < b.second; })
                           ->first;
    auto colour = [](Rgb c) {
        char text[8];
        std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(c));
        return std::string(text);
    };
    const std::string n = std::to_string(grid);
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + n + "\" height=\"" + n +
                      "\" viewBox=\"0 0 " + n + " " + n + "\" shape-rendering=\"crispEdges\">\n";
    out += "  <rect width=\"" + n + "\" height=\"" + n + "\" fill=\"" + colour(ground) + "\"/>\n";
    std::vector<bool> done(px.size(), false);
    for (int y = 0; y < grid; ++y) {
        for (int x = 0; x < grid; ++x) {
            const Rgb c = at(x, y);
            if (c == ground || done[static_cast<size_t>(y) * grid + x]) continue;
            int w = 1, h = 1;
            while (x + w < grid && at(x + w, y) == c && !done[static_cast<size_t>(y) * grid + x + w]) ++w;
            auto rowMatches = [&](int row) {
                for (int i = x; i < x + w; ++i)
                    if (at(i, row) != c || done[static_cast<size_t>(row) * grid + i]) return false;
                return true;
            };
            while (y + h < grid && rowMatches(y + h)) ++h;
            for (int j = y; j < y + h; ++j)
                for (int i = x; i < x + w; ++i) done[static_cast<size_t>(j) * grid + i] = true;
            out += "  <rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
                   std::to_string(w) + "\" height=\"" + std::to_string(h) + "\" fill=\"" + colour(c) + "\"/>\n";
        }
    }
    out += "</svg>\n";
    return out;
}

}  // namespace sudoku::iconfiles
