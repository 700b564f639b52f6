#include "platform/qt/QtIcon.h"

#include <QPixmap>

#include "app/IconDesign.h"

namespace sudoku::qt {

QImage IconImage(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    const auto pixels = icon::Pixels(size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) image.setPixel(x, y, 0xFF000000u | pixels[static_cast<size_t>(y) * size + x]);
    return image;
}

QIcon MakeWindowIcon() {
    QIcon result;
    for (int size : icon::kWindowSizes) result.addPixmap(QPixmap::fromImage(IconImage(size)));
    return result;
}

}  // namespace sudoku::qt
