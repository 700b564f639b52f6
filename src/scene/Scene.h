#pragma once
// The labels of the main window and what they do, once for every front end: their values,
// which of them lies on top, which a click reaches, the mouse rules, and which areas need
// painting again after a change, in device pixels at any scale. A front end only paints
// the scene with its canvas and forwards the pointer.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Controls.h"
#include "app/FormDefinition.h"
#include "scene/Canvas.h"
#include "scene/DeviceGeometry.h"

namespace sudoku::scene {

class Scene;

// A label of the board, the picker or the status line, made from its design. It keeps what
// the game set (game pixels and points); a change repaints what it touches, and a write that
// changes nothing repaints nothing.
class SceneLabel : public Label {
public:
    SceneLabel(Scene& scene, const form::LabelDesign& design, std::function<void()> onClick,
               std::function<void()> onDoubleClick);
    SceneLabel(const SceneLabel&) = delete;
    SceneLabel& operator=(const SceneLabel&) = delete;

    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& text) override;
    Rgb BackColor() const override { return back_; }
    void SetBackColor(Rgb color) override;
    int Left() const override { return left_; }
    void SetLeft(int v) override { Move(v, top_, width_, height_); }
    int Top() const override { return top_; }
    void SetTop(int v) override { Move(left_, v, width_, height_); }
    int Width() const override { return width_; }
    void SetWidth(int v) override { Move(left_, top_, v, height_); }
    int Height() const override { return height_; }
    void SetHeight(int v) override { Move(left_, top_, width_, v); }
    float FontSize() const override { return fontPt_; }
    void SetFontSize(float pt) override;
    bool Visible() const override { return visible_; }
    void SetVisible(bool v) override;

    // Where it is shown, in device pixels.
    DeviceRect Bounds() const;
    // Its array index, as designed; whether a click reaches it (the status line lets clicks through).
    std::int16_t Index() const { return index_; }
    bool Clickable() const { return static_cast<bool>(onClick_); }

protected:
    std::string caption_;
    Rgb back_;
    int left_, top_, width_, height_;
    float fontPt_;
    bool visible_ = true;

private:
    friend class Scene;
    void Move(int left, int top, int width, int height);
    void Repaint() const;
    void Paint(Canvas& canvas) const;

    Scene& scene_;
    bool transparent_, centred_, border_;
    std::int16_t index_;
    std::function<void()> onClick_, onDoubleClick_;
};

class Scene {
public:
    Scene(Surface& surface, Rgb windowColour) : surface_(surface), windowColour_(windowColour) {}
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Labels in the order the form makes them. The label made first lies on top: the picker
    // over the status line over the cells, and of two cells the one with the higher number
    // (so the line two neighbours share belongs to the right or lower one).
    template <class L = SceneLabel, class... Extra>
    L& Add(const form::LabelDesign& design, std::function<void()> onClick, std::function<void()> onDoubleClick,
           Extra&&... extra) {
        auto label = std::make_unique<L>(*this, design, std::move(onClick), std::move(onDoubleClick),
                                         std::forward<Extra>(extra)...);
        L& made = *label;
        labels_.push_back(std::move(label));
        made.Repaint();
        return made;
    }
    const std::vector<std::unique_ptr<SceneLabel>>& Labels() const { return labels_; }

    void SetWindowColour(Rgb colour);
    Scale GetScale() const { return scale_; }
    // A new scale (the window moved to another screen): everything is painted again.
    void SetScale(Scale s);

    // Paints one area of the window: the window colour, then the labels that reach into it,
    // the bottom one first.
    void Paint(Canvas& canvas, const DeviceRect& area) const;
    // The top-most shown label with a click handler at a device pixel, or null.
    SceneLabel* LabelAt(int x, int y) const;
    // The device pixels a label shows of its own: its bounds less each edge strip that a
    // label on top of it covers whole (a cell's right and lower lines belong to the neighbours
    // drawn over them), so that no two labels' own pixels meet. What readers are given.
    DeviceRect OwnBounds(const SceneLabel& label) const;

    // The pointer, in device pixels. A click is a press and a release inside the same label;
    // the second press of a double click on the label just clicked is its double click, and
    // its release no further click; a press that slides off clicks nothing. Press says whether
    // it reached a label (the front end then keeps the pointer until the release).
    bool Press(int x, int y, bool doubleClick);
    void Release(int x, int y);
    // The pointer was taken away (by the system or another window): no click follows.
    void Cancel() { pressed_ = nullptr; }

private:
    friend class SceneLabel;
    void Invalidate(const DeviceRect& r) const {
        if (!r.Empty()) surface_.Invalidate(r);
    }
    DeviceRect ShownBounds() const;

    Surface& surface_;
    Rgb windowColour_;
    Scale scale_;
    std::vector<std::unique_ptr<SceneLabel>> labels_;  // top-most first
    SceneLabel* pressed_ = nullptr;
    bool pressIsDouble_ = false;
    const SceneLabel* lastClicked_ = nullptr;
};

}  // namespace sudoku::scene
