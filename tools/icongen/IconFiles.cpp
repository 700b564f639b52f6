#include "tools/icongen/IconFiles.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

#include "app/IconDesign.h"

namespace sudoku::iconfiles {

namespace {

void PutLe16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void PutLe32(std::string& out, std::uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

std::string PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(100);  // maximum: zlib level 9
    if (!writer.write(image)) std::fprintf(stderr, "icongen: %s\n", qPrintable(writer.errorString()));
    return bytes.toStdString();
}

QImage Picture(int size, QImage::Format format) {
    const auto px = icon::Pixels(size);
    QImage image(size, size, format);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) image.setPixel(x, y, 0xFF000000u | px[static_cast<size_t>(y) * size + x]);
    return image;
}

// A PNG of 8-bit RGBA pixels, the alpha fully opaque: the form Windows takes in an icon.
std::string PngRgba(int size) { return PngOf(Picture(size, QImage::Format_ARGB32)); }

}  // namespace

std::string Png(int size) {
    const QImage rgb = Picture(size, QImage::Format_RGB32);
    const auto px = icon::Pixels(size);
    std::vector<Rgb> palette(px.begin(), px.end());
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    if (palette.size() > 256) return PngOf(rgb);
    // Palette colours when the design has few.
    QList<QRgb> colours;
    for (Rgb c : palette) colours.push_back(0xFF000000u | c);
    return PngOf(rgb.convertToFormat(QImage::Format_Indexed8, colours, Qt::ThresholdDither | Qt::AvoidDither));
}

// The container is written here: Qt reads .ico files but writes them only with an optional
// plugin, and its bitmaps would not be the 32-bit ones with a mask that Windows takes.
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
