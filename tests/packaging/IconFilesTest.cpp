// The icon files made at build time show the window icon's pixels, read back
// with decoders other than the ones that wrote them.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdint>
#include <iterator>

#include "platform/qt/QtIcon.h"

namespace {

const QString kIconDir = QStringLiteral(SUDOKU_ICON_DIR);
const QString kName = QStringLiteral(SUDOKU_APP_ID);

// Differing pixels between `image` and the window icon at `design` pixels, each of
// its pixels spread over scale x scale pixels of `image`.
int DifferingPixels(const QImage& image, int design, int scale = 1) {
    const QImage want = sudoku::qt::IconImage(design);
    const QImage got = image.convertToFormat(QImage::Format_RGB32);
    if (got.width() != design * scale || got.height() != design * scale) return -1;
    int differing = 0;
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            if ((got.pixel(x, y) & 0xFFFFFF) != (want.pixel(x / scale, y / scale) & 0xFFFFFF)) ++differing;
    return differing;
}

std::uint32_t Le(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
}

TEST(IconFiles, ThemePngsShowTheWindowIconAtEverySize) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral("%1/hicolor/%2x%2/apps/%3.png").arg(kIconDir).arg(size).arg(kName);
        QImage image;
        ASSERT_TRUE(image.load(path, "PNG")) << path.toStdString();
        EXPECT_EQ(DifferingPixels(image, size), 0) << size << " px";
    }
}

// Every size Windows asks for up to 256 px, each image 32-bit with alpha (opaque: the design
// has no transparent pixel); the large ones PNG-compressed, as Windows reads them.
TEST(IconFiles, WindowsIconHolds32BitImagesWithAlphaUpTo256Pixels) {
    const QString path = kIconDir + QLatin1Char('/') + kName + QStringLiteral(".ico");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 6);
    EXPECT_EQ(Le(bytes, 2, 2), 1u);  // an icon, not a cursor
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 128, 256};
    const int count = static_cast<int>(std::size(sizes));
    ASSERT_EQ(Le(bytes, 4, 2), static_cast<std::uint32_t>(count));
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        ASSERT_GE(bytes.size(), entry + 16);
        EXPECT_EQ(Le(bytes, entry, 1), static_cast<std::uint32_t>(sizes[i] % 256)) << "0 stands for 256";
        EXPECT_EQ(Le(bytes, entry + 6, 2), 32u) << "bits per pixel in the directory";
        const std::uint32_t length = Le(bytes, entry + 8, 4), offset = Le(bytes, entry + 12, 4);
        ASSERT_LE(offset + length, static_cast<std::uint32_t>(bytes.size()));
        const QByteArray image = bytes.mid(offset, length);
        if (sizes[i] <= 64) {
            EXPECT_EQ(Le(image, 14, 2), 32u) << sizes[i] << " px: bits per pixel in the bitmap";
            continue;
        }
        ASSERT_TRUE(image.startsWith("\x89PNG")) << sizes[i] << " px is not a PNG";
        EXPECT_LT(image.size(), sizes[i] * sizes[i]) << sizes[i] << " px: not compressed";
        QImage png;
        ASSERT_TRUE(png.loadFromData(image, "PNG"));
        EXPECT_TRUE(png.hasAlphaChannel()) << sizes[i] << " px";
        EXPECT_EQ(DifferingPixels(png, sizes[i]), 0) << sizes[i] << " px";
    }

    QImageReader reader(path, "ico");
    ASSERT_EQ(reader.imageCount(), count) << reader.errorString().toStdString();
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << sizes[i] << " px: " << reader.errorString().toStdString();
        ASSERT_TRUE(image.hasAlphaChannel()) << sizes[i] << " px";
        EXPECT_EQ(DifferingPixels(image, sizes[i]), 0) << sizes[i] << " px";
        int transparent = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) transparent += qAlpha(image.pixel(x, y)) != 255;
        EXPECT_EQ(transparent, 0) << sizes[i] << " px";
    }
}

TEST(IconFiles, ScalableIconRendersAsThe48PixelDesign) {
    const QString svg = QStringLiteral("%1/hicolor/scalable/apps/%2.svg").arg(kIconDir, kName);
    QTemporaryDir dir;
    for (int scale : {1, 2}) {
        const QString png = dir.filePath(QStringLiteral("render%1.png").arg(scale));
        const QString side = QString::number(48 * scale);
        QProcess render;
        render.start(QStringLiteral("rsvg-convert"), {QStringLiteral("-w"), side, QStringLiteral("-h"), side,
                                                      QStringLiteral("-o"), png, svg});
        ASSERT_TRUE(render.waitForFinished(30000)) << "rsvg-convert (package librsvg2-bin) did not run";
        ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
        QImage image;
        ASSERT_TRUE(image.load(png, "PNG"));
        EXPECT_EQ(DifferingPixels(image, 48, scale), 0) << "rendered at " << side.toStdString() << " px";
    }
}

}  // namespace
