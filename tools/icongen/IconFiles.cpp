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

// Deflate bits, least significant first.
class BitWriter {
public:
    void Bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
    }
    void Code(std::uint32_t code, int length) {  // a Huffman code, most significant bit first
        for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
    }
    std::string Finish() {
        if (used_ > 0) out_ += static_cast<char>(acc_);
        return out_;
    }

private:
    void Bit(unsigned bit) {
        acc_ |= bit << used_;
        if (++used_ == 8) {
            out_ += static_cast<char>(acc_);
            acc_ = 0;
            used_ = 0;
        }
    }
    std::string out_;
    unsigned acc_ = 0;
    int used_ = 0;
};

void PutLiteral(BitWriter& w, unsigned symbol) {  // the fixed Huffman code of a literal/length symbol
    if (symbol < 144) w.Code(0x30 + symbol, 8);
    else if (symbol < 256) w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280) w.Code(symbol - 256, 7);
    else w.Code(0xC0 + symbol - 280, 8);
}

void PutMatch(BitWriter& w, int length, int distance) {
    static constexpr int kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr int kDistBase[] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    int l = 28;
    while (kLengthBase[l] > length) --l;
    PutLiteral(w, 257 + l);
    w.Bits(length - kLengthBase[l], kLengthExtra[l]);
    int d = 29;
    while (kDistBase[d] > distance) --d;
    w.Code(d, 5);
    w.Bits(distance - kDistBase[d], d < 4 ? 0 : d / 2 - 1);
}

// A zlib stream: one deflate block with the fixed codes, repeats found at the distances
// that image rows repeat at (the pixel before, the row above).
std::string Zlib(const std::string& raw, const std::vector<int>& distances) {
    BitWriter w;
    w.Bits(1, 1);  // the final block
    w.Bits(1, 2);  // fixed Huffman codes
    for (size_t pos = 0; pos < raw.size();) {
        int best = 0, bestDistance = 0;
        for (int d : distances) {
            if (d <= 0 || static_cast<size_t>(d) > pos) continue;
            int n = 0;
            while (n < 258 && pos + n < raw.size() && raw[pos + n] == raw[pos + n - d]) ++n;
            if (n > best) best = n, bestDistance = d;
        }
        if (best >= 3) {
            PutMatch(w, best, bestDistance);
            pos += static_cast<size_t>(best);
        } else {
            PutLiteral(w, static_cast<unsigned char>(raw[pos++]));
        }
    }
    PutLiteral(w, 256);  // end of block
    std::string out = "\x78\x01";
    out += w.Finish();
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(out, (b << 16) | a);
    return out;
}

// A PNG of 8-bit RGBA pixels, the alpha fully opaque: the form Windows takes in an icon.
std::string PngRgba(int size) {
    const auto px = icon::Pixels(size);
    std::string raw;
    for (int y = 0; y < size; ++y) {
        raw += '\0';  // filter type: none
        for (int x = 0; x < size; ++x) {
            const Rgb c = px[static_cast<size_t>(y) * size + x];
            raw += static_cast<char>(c >> 16);
            raw += static_cast<char>((c >> 8) & 0xFF);
            raw += static_cast<char>(c & 0xFF);
            raw += static_cast<char>(0xFF);
        }
    }
    std::string header;
    PutBe32(header, static_cast<std::uint32_t>(size));
    PutBe32(header, static_cast<std::uint32_t>(size));
    header += static_cast<char>(8);
    header += static_cast<char>(6);  // colour type: RGB with alpha
    header += std::string(3, '\0');
    std::string out = "\x89PNG\r\n\x1a\n";
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", Zlib(raw, {4, 1 + 4 * size}));
    PutChunk(out, "IEND", "");
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
    const int rowBytes = 1 + (indexed ? (size * depth + 7) / 8 : 3 * size);
    PutChunk(out, "IDAT", Zlib(raw, {1, indexed ? 1 : 3, rowBytes}));
    PutChunk(out, "IEND", "");
    return out;
}

std::string Ico(const std::vector<int>& sizes) {
    std::vector<std::string> images;
    for (int size : sizes) {
        if (size > kLargestBitmap) {
            images.push_back(PngRgba(size));
            continue;
        }
        const auto px = icon::Pixels(size);
        const int andStride = (size + 31) / 32 * 4;
        std::string dib;
        PutLe32(dib, 40);  // BITMAPINFOHEADER
        PutLe32(dib, static_cast<std::uint32_t>(size));
        PutLe32(dib, static_cast<std::uint32_t>(2 * size));  // colour rows plus mask rows
        PutLe16(dib, 1);
        PutLe16(dib, 32);
        PutLe32(dib, 0);
        PutLe32(dib, static_cast<std::uint32_t>((4 * size + andStride) * size));
        dib += std::string(16, '\0');
        for (int y = size - 1; y >= 0; --y) {  // bottom row first
            for (int x = 0; x < size; ++x) {
                const Rgb c = px[static_cast<size_t>(y) * size + x];
                dib += static_cast<char>(c & 0xFF);
                dib += static_cast<char>((c >> 8) & 0xFF);
                dib += static_cast<char>(c >> 16);
                dib += static_cast<char>(0xFF);  // alpha: opaque
            }
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
        PutLe16(out, 32);             // bits per pixel
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
