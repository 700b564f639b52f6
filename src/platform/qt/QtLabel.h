#pragma once
#include <QLabel>
#include <functional>
#include <string>

#include "app/FormDefinition.h"
#include "app/Controls.h"

namespace sudoku::qt {

// A label of the board, the picker or the status line. Reports a left click
// (on release) and a double click; a double click arrives as click, then
// double click, as on the desktop the game was designed for.
class QtLabel final : public QLabel, public Label {
public:
    QtLabel(QWidget* parent, const form::LabelDesign& design);

    std::function<void()> onClick;
    std::function<void()> onDoubleClick;

    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& text) override;
    Rgb BackColor() const override { return back_; }
    void SetBackColor(Rgb color) override;
    int Left() const override { return x(); }
    void SetLeft(int v) override { move(v, y()); }
    int Top() const override { return y(); }
    void SetTop(int v) override { move(x(), v); }
    int Width() const override { return width(); }
    void SetWidth(int v) override { resize(v, height()); }
    int Height() const override { return height(); }
    void SetHeight(int v) override { resize(width(), v); }
    float FontSize() const override { return fontPt_; }
    void SetFontSize(float pt) override;
    bool Visible() const override { return !isHidden(); }
    void SetVisible(bool v) override { setVisible(v); }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    std::string caption_;
    Rgb back_ = 0;
    bool transparent_ = false;
    float fontPt_ = 0;
    bool pressed_ = false;
    bool afterDoubleClick_ = false;
};

}  // namespace sudoku::qt
