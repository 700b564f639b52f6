#include "platform/qt/QtBoard.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace sudoku::qt {

namespace {

QRect ToQRect(const scene::DeviceRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

// Paints with a painter set to device pixels: one unit is one pixel of the screen.
class QtCanvas final : public scene::Canvas {
public:
    QtCanvas(QtBoard& board, QPainter& painter) : board_(board), painter_(painter) {}
    void Clip(const scene::DeviceRect& area) override {
        clip_ = ToQRect(area);
        painter_.setClipRect(clip_);
    }
    void Fill(const scene::DeviceRect& r, Rgb colour) override {
        painter_.fillRect(ToQRect(r), QColor::fromRgb(colour));
    }
    void Text(const scene::DeviceRect& r, const std::string& utf8, int pixelHeight, bool centred) override {
        const QRect box = ToQRect(r);
        painter_.setClipRect(clip_.intersected(box));
        painter_.setFont(board_.Font(pixelHeight));
        painter_.drawText(box, centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop), QString::fromStdString(utf8));
        painter_.setClipRect(clip_);
    }

private:
    QtBoard& board_;
    QPainter& painter_;
    QRect clip_;
};

QtBoard::QtBoard(QWidget* parent, const form::WindowDesign& design)
    : QWidget(parent), family_(QString::fromStdString(design.fontFamily)), scene_(*this, design.background) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the scene paints every pixel
}

const QFont& QtBoard::Font(int pixels) {
    auto it = fonts_.find(pixels);
    if (it == fonts_.end()) {
        QFont font(family_);
        font.setPixelSize(pixels);
        it = fonts_.emplace(pixels, font).first;
    }
    return it->second;
}

void QtBoard::Invalidate(const scene::DeviceRect& r) {
    const qreal dpr = devicePixelRatioF();
    const int left = static_cast<int>(std::floor(r.left / dpr)), top = static_cast<int>(std::floor(r.top / dpr));
    update(left, top, static_cast<int>(std::ceil(r.right / dpr)) - left, static_cast<int>(std::ceil(r.bottom / dpr)) - top);
}

QPoint QtBoard::DevicePoint(const QPointF& p) const {
    const qreal dpr = devicePixelRatioF();
    return {static_cast<int>(std::floor(p.x() * dpr)), static_cast<int>(std::floor(p.y() * dpr))};
}

void QtBoard::paintEvent(QPaintEvent* e) {
    const qreal dpr = devicePixelRatioF();
    const scene::Scale scale = scene::Scale::FromFactor(dpr);
    const bool rescaled = !(scale == scene_.GetScale());
    if (rescaled) scene_.SetScale(scale);  // on another screen: painted whole below
    QPainter painter(this);
    painter.setWorldTransform(QTransform::fromScale(1 / dpr, 1 / dpr));
    QtCanvas canvas(*this, painter);
    const QRegion region = rescaled ? QRegion(rect()) : e->region();
    for (const QRect& r : region) {
        scene_.Paint(canvas, {static_cast<int>(std::floor(r.left() * dpr)), static_cast<int>(std::floor(r.top() * dpr)),
                              static_cast<int>(std::ceil((r.right() + 1) * dpr)),
                              static_cast<int>(std::ceil((r.bottom() + 1) * dpr))});
    }
}

void QtBoard::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = DevicePoint(e->position());
    scene_.Press(p.x(), p.y(), false);
}

void QtBoard::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = DevicePoint(e->position());
    scene_.Press(p.x(), p.y(), true);
}

void QtBoard::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = DevicePoint(e->position());
    scene_.Release(p.x(), p.y());
}

}  // namespace sudoku::qt
