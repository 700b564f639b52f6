#pragma once
#include <QFont>
#include <QWidget>
#include <map>

#include "app/FormDefinition.h"
#include "scene/Scene.h"

namespace sudoku::qt {

// The client area: one widget that paints the label scene in device pixels and hands the
// left mouse button to it. It never takes the keyboard focus.
class QtBoard final : public QWidget, public scene::Surface {
public:
    QtBoard(QWidget* parent, const form::WindowDesign& design);

    scene::Scene& Scene() { return scene_; }
    const scene::Scene& Scene() const { return scene_; }
    // A point in the widget's coordinates on the scene's device pixels.
    QPoint DevicePoint(const QPointF& logical) const;
    // The game's font with an em height in device pixels.
    const QFont& Font(int pixels);
    void Invalidate(const scene::DeviceRect& area) override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QString family_;
    std::map<int, QFont> fonts_;  // by em height in device pixels
    scene::Scene scene_;
};

}  // namespace sudoku::qt
