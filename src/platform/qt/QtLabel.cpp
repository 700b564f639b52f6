#include "platform/qt/QtLabel.h"

#include <QMouseEvent>

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
    // Colours and font set once each: a start-up makes nearly a hundred labels.
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    back_ = d.background;
    if (!d.transparent) {
        setAutoFillBackground(true);
        pal.setColor(QPalette::Window, QColor::fromRgb(d.background));
    }
    setPalette(pal);
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
    back_ = color;
    if (!autoFillBackground()) return;  // a transparent label keeps its stored colour unseen
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(color));
    setPalette(pal);
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
