#include "platform/qt/QtLabel.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/Layout.h"

namespace sudoku::qt {

QtLabel::QtLabel(QWidget* parent, const form::LabelDesign& d) : QLabel(parent) {
    setTextFormat(Qt::PlainText);  // an ampersand is shown as it is
    setFocusPolicy(Qt::NoFocus);
    setAlignment(d.centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop));
    if (d.border) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
    // Text in the window's black; the background is painted from the stored colour, so a
    // start-up of nearly a hundred labels and every change of colour leave the palette alone.
    back_ = d.background;
    transparent_ = d.transparent;
    QFont f = font();
    f.setFamily(QStringLiteral("Calibri"));
    f.setPixelSize(layout::FontPixels(d.fontPt));
    setFont(f);
    fontPt_ = d.fontPt;
    SetCaption(d.caption);
    setGeometry(d.left, d.top, d.width, d.height);
}

void QtLabel::SetCaption(const std::string& text) {
    caption_ = text;
    setText(QString::fromStdString(text));
}

void QtLabel::SetBackColor(Rgb color) {
    if (color == back_) return;
    back_ = color;
    if (!transparent_) update();  // a transparent label keeps its stored colour unseen
}

void QtLabel::paintEvent(QPaintEvent* e) {
    if (!transparent_) QPainter(this).fillRect(rect(), QColor::fromRgb(back_));
    QLabel::paintEvent(e);
}

void QtLabel::SetFontSize(float pt) {
    if (pt == fontPt_) return;
    fontPt_ = pt;
    QFont f = font();
    f.setPixelSize(layout::FontPixels(pt));
    setFont(f);
}

void QtLabel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) pressed_ = true;
    e->accept();
}

void QtLabel::mouseReleaseEvent(QMouseEvent* e) {
    const bool wasPressed = pressed_ && e->button() == Qt::LeftButton;
    const bool secondOfDouble = afterDoubleClick_;
    if (e->button() == Qt::LeftButton) {
        pressed_ = false;
        afterDoubleClick_ = false;
    }
    e->accept();
    if (wasPressed && !secondOfDouble && rect().contains(e->position().toPoint()) && onClick) onClick();
}

void QtLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() != Qt::LeftButton) return;
    pressed_ = true;
    afterDoubleClick_ = true;
    if (onDoubleClick) onDoubleClick();
}

}  // namespace sudoku::qt
